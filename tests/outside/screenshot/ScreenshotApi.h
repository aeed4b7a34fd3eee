#pragma once
// The real screenshot.dll beside the test program, bound by its GBK export
// name the way the program binds it, and what its answers point at.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "outside/screenshot/ScreenshotContract.h"

namespace qova::test {

// The export, bound with the program's own outside-function binding.
ScreenshotFunction screenshotExport();

// The answer's two fields, as the program's pattern "#<(.*?)>#<(.*?)>" finds them.
struct ScreenshotAnswer {
  std::string text;   // the whole answer
  std::string name;   // group 1
  std::string image;  // group 2
  bool matched = false;
  std::chrono::milliseconds took{0};
};

// Calls the export on a thread of its own; nullopt for a null answer. A call
// that does not come back within `limit` ends the test program with a message
// (the DLL's lock is then held for good).
std::optional<ScreenshotAnswer> makeThumbnail(const char* videoPath,
                                              std::chrono::milliseconds limit = std::chrono::seconds(90));

// A decoded picture file: BGRA pixels, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bgra;

  // Mean of (R + G + B) / 3 over the picture, 0..255.
  double meanBrightness() const;
  // Mean of one channel (0 blue, 1 green, 2 red).
  double meanChannel(int channel) const;
  // Mean absolute difference per channel from a picture of the same size; 255 for another size.
  double differenceFrom(const Picture& other) const;
};

// The picture file decoded with the program's own picture decoding (WIC);
// nullopt when it is missing or not a picture.
std::optional<Picture> decodePictureFile(const std::string& path);

// True when the file starts with a JPEG's start-of-image marker.
bool isJpegFile(const std::string& path);

// programDirectory() + "\media\" + name: the generated sample media.
std::string mediaFile(const std::string& name);

// programDirectory() + "\thumbs": where the DLL writes its pictures.
std::string thumbnailFolder();

}  // namespace qova::test
