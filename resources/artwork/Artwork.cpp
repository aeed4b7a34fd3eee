#include "resources/artwork/Artwork.h"

#include <cmath>
#include <numbers>

#include "outside/exui/ExuiFormat.h"
#include "resources/artwork/Canvas.h"
#include "resources/artwork/PngWriter.h"

namespace qova::artwork {
namespace {

// The palette of the component library's built-in look, so that our pictures
// sit well beside the controls it draws itself.
constexpr uint32_t kInk = 0xFF606266;          // symbols at rest
constexpr uint32_t kAccent = 0xFF3A8EE6;       // blue
constexpr uint32_t kAccentDark = 0xFF2B73C2;   // blue, pressed
constexpr uint32_t kAccentLight = 0xFFECF5FF;  // pale blue behind a hovered symbol
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kCloseInk = 0xFF8A8F99;     // the close cross at rest
constexpr uint32_t kCloseHot = 0xFFE81123;     // red under the pointer
constexpr uint32_t kClosePressed = 0xFFA80D1B; // dark red while pressed
constexpr uint32_t kFrameBand = 0xFFE8F2FD;    // light-blue band of the library window
constexpr uint32_t kFrameRule = 0xFFD2E4F8;
constexpr uint32_t kFrameBorder = 0xFF5B9BDF;
constexpr uint32_t kDanger = 0xFFF56C6C;
constexpr uint32_t kExit = 0xFFF0674F;

using Bytes = std::vector<uint8_t>;

enum class Symbol { Previous, Next, Play, Pause };

// A symbol of the playback buttons, designed on a 32-pixel grid and scaled to `size`.
Mask symbolMask(Symbol symbol, int size) {
  const double k = size / 32.0;
  Mask mask(size, size);
  auto bar = [&](double left, double right) {
    mask.rounded({left * k, 10 * k, right * k, 22 * k}, 1.2 * k);
  };
  switch (symbol) {
    case Symbol::Previous:
      bar(9, 12);
      mask.triangle(23 * k, 10 * k, 23 * k, 22 * k, 12.5 * k, 16 * k);
      break;
    case Symbol::Next:
      bar(20, 23);
      mask.triangle(9 * k, 10 * k, 9 * k, 22 * k, 19.5 * k, 16 * k);
      break;
    case Symbol::Play:
      mask.triangle(12.5 * k, 9.5 * k, 12.5 * k, 22.5 * k, 23.5 * k, 16 * k);
      break;
    case Symbol::Pause:
      bar(11, 14.5);
      bar(17.5, 21);
      break;
  }
  return mask;
}

Mask discMask(int size) {
  Mask disc(size, size);
  disc.circle(size / 2.0, size / 2.0, size / 2.0 - 1);
  return disc;
}

// `ink` over an optional disc of `face` (alpha 0: no disc).
Picture onFace(const Mask& symbol, int size, uint32_t ink, uint32_t face) {
  Picture picture(size, size);
  if (face >> 24) paint(picture, discMask(size), face);
  paint(picture, symbol, ink);
  return picture;
}

// Skip buttons, 32 pixels at 96 DPI (`scale` 2: 64 for 192 DPI): grey at rest,
// blue on pale blue under the pointer, white on blue pressed.
std::vector<Picture> skipButtonStates(Symbol symbol, int scale = 1) {
  const int size = 32 * scale;
  const Mask mask = symbolMask(symbol, size);
  return {onFace(mask, size, kInk, 0), onFace(mask, size, kAccent, kAccentLight),
          onFace(mask, size, kWhite, kAccentDark)};
}

// The play/pause button, the panel's main control: white on a blue disc.
std::vector<Picture> playButtonStates(Symbol symbol, int scale = 1) {
  const int size = 32 * scale;
  const Mask mask = symbolMask(symbol, size);
  return {onFace(mask, size, kWhite, kAccent), onFace(mask, size, kWhite, kAccentDark)};
}

// A loudspeaker with two sound waves, on a 24-pixel grid (times `scale`): grey, then blue while pressed.
std::vector<Picture> speakerStates(int scale = 1) {
  const double k = scale;
  const int size = 24 * scale;
  Mask speaker(size, size);
  speaker.rounded({3.5 * k, 9 * k, 8.5 * k, 15 * k}, 1 * k);
  speaker.triangle(4 * k, 12 * k, 12.5 * k, 4.5 * k, 12.5 * k, 19.5 * k);
  Mask waves(size, size);
  waves.ring(12 * k, 12 * k, 5.2 * k, 1.6 * k).ring(12 * k, 12 * k, 8.8 * k, 1.6 * k);
  Mask wedge(size, size);
  wedge.triangle(12 * k, 12 * k, 25 * k, 0.5 * k, 25 * k, 23.5 * k);
  waves.intersect(wedge);
  Picture normal(size, size);
  paint(normal, speaker, kInk);
  paint(normal, waves, kInk);
  Picture pressed(size, size);
  paint(pressed, speaker, kAccent);
  paint(pressed, waves, kAccent);
  return {normal, pressed};
}

// 188 x 164: white face, light-blue band 30 high with a rule under it, thin blue border.
Picture popupBackground() {
  Picture face = filled(188, 164, kWhite);
  Mask band(188, 164);
  band.rounded({0, 0, 188, 30}, 0);
  paint(face, band, kFrameBand);
  Mask rule(188, 164);
  rule.rounded({0, 30, 188, 31}, 0);
  paint(face, rule, kFrameRule);
  Mask border(188, 164);
  border.rounded({0, 0, 188, 164}, 0);
  border.subtract(Mask(188, 164).rounded({1, 1, 187, 163}, 0));
  paint(face, border, kFrameBorder);
  return face;
}

// 30 x 30 (times `scale`): grey cross; white cross on red; white cross on dark red.
std::vector<Picture> closeButtonStates(int scale = 1) {
  const double k = scale;
  const int size = 30 * scale;
  Mask cross(size, size);
  cross.line(10.5 * k, 10.5 * k, 19.5 * k, 19.5 * k, 1.6 * k).line(19.5 * k, 10.5 * k, 10.5 * k, 19.5 * k, 1.6 * k);
  auto state = [&](uint32_t ink, uint32_t face) {
    Picture picture = filled(size, size, face);
    paint(picture, cross, ink);
    return picture;
  };
  return {state(kCloseInk, 0), state(kWhite, kCloseHot), state(kWhite, kClosePressed)};
}

// A rounded card with a one-pixel outline.
Picture card(int width, int height, double radius, uint32_t fill, uint32_t outline) {
  Picture picture(width, height);
  const exui::Area whole{0, 0, static_cast<double>(width), static_cast<double>(height)};
  paint(picture, Mask(width, height).rounded(whole, radius), fill);
  Mask ring(width, height);
  ring.rounded(whole, radius);
  ring.subtract(Mask(width, height).rounded({1, 1, width - 1.0, height - 1.0}, radius - 1));
  paint(picture, ring, outline);
  return picture;
}

Picture scrollThumb(uint32_t colour) {
  Picture picture(10, 34);
  paint(picture, Mask(10, 34).rounded({2, 1, 8, 33}, 3), colour);
  return picture;
}

Picture arrow(bool up, uint32_t colour) {
  Picture picture(10, 9);
  Mask mask(10, 9);
  if (up)
    mask.triangle(1.5, 6.5, 8.5, 6.5, 5, 2.5);
  else
    mask.triangle(1.5, 2.5, 8.5, 2.5, 5, 6.5);
  paint(picture, mask, colour);
  return picture;
}

// The library's picture for a video whose file is gone: a grey tile of a
// thumbnail's shape with a broken-off frame of film crossed out.
Picture missingVideo() {
  constexpr int kWidth = 256, kHeight = 144;
  Picture picture = filled(kWidth, kHeight, 0xFF3A3F47);
  Mask frame(kWidth, kHeight);
  frame.rounded({88, 42, 168, 102}, 6);
  frame.subtract(Mask(kWidth, kHeight).rounded({93, 47, 163, 97}, 3));
  paint(picture, frame, 0xFF8A919C);
  Mask cross(kWidth, kHeight);
  cross.line(104, 56, 152, 88, 6).line(152, 56, 104, 88, 6);
  paint(picture, cross, 0xFFE06C6C);
  return picture;
}

Picture blueSquare() {
  Picture picture(22, 22);
  paint(picture, Mask(22, 22).rounded({1, 1, 21, 21}, 4), kAccent);
  return picture;
}

// Menu icons, 32 x 32.
Picture settingsIcon() {
  Mask gear(32, 32);
  gear.circle(16, 16, 9.5);
  for (int tooth = 0; tooth < 8; ++tooth) {
    const double angle = tooth * std::numbers::pi / 4;
    gear.line(16, 16, 16 + 12.5 * std::cos(angle), 16 + 12.5 * std::sin(angle), 5);
  }
  gear.subtract(Mask(32, 32).circle(16, 16, 4.2));
  Picture picture(32, 32);
  paint(picture, gear, kInk);
  return picture;
}

Picture addIcon() {
  Picture picture(32, 32);
  paint(picture, Mask(32, 32).circle(16, 16, 14), kAccent);
  paint(picture, Mask(32, 32).line(16, 9.5, 16, 22.5, 3).line(9.5, 16, 22.5, 16, 3), kWhite);
  return picture;
}

Picture deleteIcon() {
  Mask bin(32, 32);
  bin.line(6.5, 8, 25.5, 8, 3);            // lid
  bin.line(13, 4.5, 19, 4.5, 3);           // handle
  bin.rounded({8.5, 11, 23.5, 28.5}, 2.5);  // body
  bin.subtract(Mask(32, 32).line(13.5, 15, 13.5, 24.5, 2).line(18.5, 15, 18.5, 24.5, 2));
  Picture picture(32, 32);
  paint(picture, bin, kDanger);
  return picture;
}

Picture exitIcon() {
  constexpr double kCentreX = 16;
  constexpr double kCentreY = 17;
  constexpr double kRadius = 10.5;
  constexpr double kThickness = 3;
  Mask power(32, 32);
  power.ring(kCentreX, kCentreY, kRadius, kThickness);
  power.subtract(Mask(32, 32).triangle(kCentreX, kCentreY, 7, -3, 25, -3));
  // Round ends where the gap cuts the ring.
  const double gap = std::atan2(25 - kCentreX, kCentreY + 3);
  const double middle = kRadius - kThickness / 2;
  for (double side : {-1.0, 1.0})
    power.circle(kCentreX + side * middle * std::sin(gap), kCentreY - middle * std::cos(gap), kThickness / 2);
  power.line(kCentreX, 4.5, kCentreX, 15, kThickness);
  Picture picture(32, 32);
  paint(picture, power, kExit);
  return picture;
}

std::vector<Bytes> pngs(const std::vector<Picture>& pictures) {
  std::vector<Bytes> out;
  for (const Picture& picture : pictures) out.push_back(encodePng(picture));
  return out;
}

// "layout/<name>_<state>.png", or "..._2x.png" for the pictures drawn for 192 DPI.
void addStates(std::vector<ArtworkFile>& files, const std::string& name, const std::vector<Picture>& states,
               const std::vector<std::string>& stateNames, bool doubleSize = false) {
  for (size_t i = 0; i < states.size() && i < stateNames.size(); ++i)
    files.push_back({"layout/" + name + "_" + stateNames[i] + (doubleSize ? "_2x" : "") + ".png",
                     encodePng(states[i])});
}

}  // namespace

std::vector<ArtworkFile> programArtwork() {
  const std::vector<std::string> threeStates = {"normal", "hover", "pressed"};
  const std::vector<std::string> twoStates = {"normal", "pressed"};
  std::vector<ArtworkFile> files;
  addStates(files, "previous", skipButtonStates(Symbol::Previous), threeStates);
  addStates(files, "pause", playButtonStates(Symbol::Pause), twoStates);
  addStates(files, "next", skipButtonStates(Symbol::Next), threeStates);
  addStates(files, "speaker", speakerStates(), twoStates);
  files.push_back({"layout/popup_background.png", encodePng(popupBackground())});
  addStates(files, "close", closeButtonStates(), threeStates);
  // The picture buttons and the close button drawn again at twice the size, for 192 DPI.
  addStates(files, "previous", skipButtonStates(Symbol::Previous, 2), threeStates, true);
  addStates(files, "pause", playButtonStates(Symbol::Pause, 2), twoStates, true);
  addStates(files, "next", skipButtonStates(Symbol::Next, 2), threeStates, true);
  addStates(files, "speaker", speakerStates(2), twoStates, true);
  addStates(files, "close", closeButtonStates(2), threeStates, true);
  files.push_back({"layout/list_item.png", encodePng(card(45, 25, 5, 0xFFF7F9FC, 0xFFEBEEF3))});
  files.push_back({"layout/list_item_hot.png", encodePng(card(45, 25, 5, kAccentLight, 0xFFB3D8FF))});
  files.push_back({"layout/list_thumb.png", encodePng(scrollThumb(0xFFC1C6CE))});
  files.push_back({"layout/list_thumb_pressed.png", encodePng(scrollThumb(0xFF909399))});
  const uint32_t arrowInk[] = {0xFFA8AEB8, kInk, kAccent};
  for (bool up : {true, false})
    for (size_t state = 0; state < 3; ++state)
      files.push_back({std::string("layout/list_") + (up ? "up" : "down") + "_" + threeStates[state] + ".png",
                       encodePng(arrow(up, arrowInk[state]))});
  files.push_back({"layout/list_mark.png", encodePng(blueSquare())});
  files.push_back({"layout/missing_video.png", encodePng(missingVideo())});

  files.push_back({"skin_bf.ex", exui::encodeImageSet(pngs(playButtonStates(Symbol::Play)))});
  files.push_back({"skin_zt.ex", exui::encodeImageSet(pngs(playButtonStates(Symbol::Pause)))});

  files.push_back({"ico/设置.png", encodePng(settingsIcon())});
  files.push_back({"ico/删除.png", encodePng(deleteIcon())});
  files.push_back({"ico/添加.png", encodePng(addIcon())});
  files.push_back({"ico/退出.png", encodePng(exitIcon())});
  return files;
}

}  // namespace qova::artwork
