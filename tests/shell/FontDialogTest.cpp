// The font dialog of CommonDialog against the system's real dialog, and the
// font record on both sides of it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "shell/CommonDialog.h"
#include "tests/shell/DialogDriver.h"

namespace {

using qova::test::DialogDriver;

// A face the system has (from the WenQuanYi fonts); "宋体", the default, is
// only a substitute name under Wine and is not offered in the dialog's list.
constexpr const char* kInstalledFace = "文泉驿微米黑";

int screenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

bool faceInstalled(const char* face) {
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
  HDC screen = ::GetDC(nullptr);
  bool found = false;
  ::EnumFontFamiliesExA(
      screen, &wanted,
      [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM flag) -> int {
        *reinterpret_cast<bool*>(flag) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, screen);
  return found;
}

TEST(FontRecord, NinePointsAre12PixelsHighOnA96DpiScreen) {
  const LOGFONTA font = qova::makeLogFont("宋体", 9, false, false, false, false);
  EXPECT_EQ(font.lfHeight, -::MulDiv(9, screenDpi(), 72));
  if (screenDpi() == 96) {
    EXPECT_EQ(font.lfHeight, -12);
  }
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
  EXPECT_STREQ(font.lfFaceName, "宋体");
  EXPECT_EQ(font.lfWidth, 0);
  EXPECT_EQ(font.lfEscapement, 0);
  EXPECT_EQ(font.lfItalic + font.lfUnderline + font.lfStrikeOut, 0);
  EXPECT_EQ(font.lfOutPrecision + font.lfClipPrecision + font.lfQuality + font.lfPitchAndFamily, 0);
}

TEST(FontRecord, StylesBecomeWeightAndOneByteFlags) {
  const LOGFONTA font = qova::makeLogFont("Arial", 72, true, true, true, true);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfItalic, 1);
  EXPECT_EQ(font.lfUnderline, 1);
  EXPECT_EQ(font.lfStrikeOut, 1);
  EXPECT_EQ(font.lfHeight, -::MulDiv(72, screenDpi(), 72));
  EXPECT_EQ(qova::makeLogFont("Arial", 0, false, false, false, false).lfHeight, 0);
}

TEST(FontRecord, TheFaceIsCutTo31Bytes) {
  const std::string longFace(40, 'f');
  const LOGFONTA font = qova::makeLogFont(longFace, 9, false, false, false, false);
  EXPECT_EQ(std::string(font.lfFaceName), std::string(31, 'f'));
  EXPECT_STREQ(qova::makeLogFont("", 9, false, false, false, false).lfFaceName, "");
}

TEST(FontRecord, TheAnswerReadsBoldOnlyAtWeight700AndStylesOnlyAt1) {
  LOGFONTA font{};
  lstrcpyA(font.lfFaceName, "宋体");
  font.lfEscapement = 900;
  font.lfWeight = 700;
  font.lfItalic = 1;
  font.lfStrikeOut = 1;
  font.lfUnderline = 1;
  qova::FontChoice choice = qova::fontChoiceFrom(font, 95);
  EXPECT_EQ(choice.angle, 900);
  EXPECT_TRUE(choice.bold);
  EXPECT_TRUE(choice.italic);
  EXPECT_TRUE(choice.strikeout);
  EXPECT_TRUE(choice.underline);
  EXPECT_EQ(choice.size, 9);
  EXPECT_EQ(choice.faceName, "宋体");

  font.lfWeight = 800;
  font.lfItalic = 255;
  EXPECT_FALSE(qova::fontChoiceFrom(font, 90).bold);
  EXPECT_FALSE(qova::fontChoiceFrom(font, 90).italic);
  font.lfWeight = 600;
  EXPECT_FALSE(qova::fontChoiceFrom(font, 90).bold);
}

TEST(FontRecord, AFaceWithoutNulEndsAtTheRecordsEnd) {
  LOGFONTA font{};
  std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), 'g');
  EXPECT_EQ(qova::fontChoiceFrom(font, 0).faceName, std::string(LF_FACESIZE, 'g'));
}

// What the helper thread saw of the font dialog.
struct SeenFont {
  bool dialog = false;
  std::string face, size, style;
  std::vector<std::string> sizes, styles;
  bool strikeout = false, underline = false;
  bool restyled = true;
};

// Reads the dialog, optionally picks style item `styleIndex`, then presses `button`.
std::function<void(DialogDriver&)> fontAnswer(SeenFont& seen, int button, int styleIndex = -1) {
  return [&seen, button, styleIndex](DialogDriver& driver) {
    HWND dialog = driver.waitForDialog(qova::test::kFontSizeBox);
    if (!dialog) return;
    seen.dialog = true;
    seen.face = qova::test::controlText(dialog, qova::test::kFontFaceBox);
    seen.size = qova::test::controlText(dialog, qova::test::kFontSizeBox);
    seen.style = qova::test::controlText(dialog, qova::test::kFontStyleBox);
    seen.sizes = qova::test::comboItems(::GetDlgItem(dialog, qova::test::kFontSizeBox));
    seen.styles = qova::test::comboItems(::GetDlgItem(dialog, qova::test::kFontStyleBox));
    seen.strikeout = qova::test::isChecked(dialog, qova::test::kStrikeoutCheck);
    seen.underline = qova::test::isChecked(dialog, qova::test::kUnderlineCheck);
    if (styleIndex >= 0)
      seen.restyled = qova::test::selectComboItem(dialog, qova::test::kFontStyleBox, styleIndex);
    qova::test::pressButton(dialog, button);
  };
}

class FontDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(faceInstalled(kInstalledFace)) << "the WenQuanYi fonts (fonts-wqy-microhei) are not installed: run scripts/setup";
  }

  qova::FontChoice choose(SeenFont& seen, int button, int styleIndex, bool bold, bool strikeout) {
    return qova::test::whileDriving<qova::FontChoice>(fontAnswer(seen, button, styleIndex), [&] {
      return dialogs.chooseFont(kInstalledFace, 9, RGB(255, 0, 0), bold, false, strikeout, false);
    });
  }

  qova::CommonDialog dialogs;
};

TEST_F(FontDialog, OkReturnsTheFontItWasOpenedWith) {
  SeenFont seen;
  const qova::FontChoice choice = choose(seen, IDOK, -1, true, true);
  ASSERT_TRUE(seen.dialog);
  EXPECT_EQ(seen.face, kInstalledFace);
  EXPECT_EQ(seen.size, "9");
  EXPECT_TRUE(seen.strikeout);
  EXPECT_FALSE(seen.underline);
  ASSERT_FALSE(seen.sizes.empty());
  EXPECT_EQ(seen.sizes.front(), "8");
  EXPECT_EQ(seen.sizes.back(), "72");

  EXPECT_EQ(choice.size, 9);
  EXPECT_EQ(choice.faceName, kInstalledFace);
  EXPECT_TRUE(choice.bold);
  EXPECT_FALSE(choice.italic);
  EXPECT_TRUE(choice.strikeout);
  EXPECT_FALSE(choice.underline);
  EXPECT_EQ(choice.angle, 0);
}

TEST_F(FontDialog, TheStyleChosenInTheDialogDecidesBoldAndItalic) {
  SeenFont regular;
  const qova::FontChoice plain = choose(regular, IDOK, 0, true, false);
  ASSERT_TRUE(regular.restyled);
  ASSERT_EQ(regular.styles.size(), 4u) << "regular, italic, bold, bold italic";
  EXPECT_FALSE(plain.bold);
  EXPECT_FALSE(plain.italic);
  EXPECT_EQ(plain.size, 9);

  SeenFont boldItalic;
  const qova::FontChoice both = choose(boldItalic, IDOK, 3, false, false);
  ASSERT_TRUE(boldItalic.restyled);
  EXPECT_TRUE(both.bold);
  EXPECT_TRUE(both.italic);
}

TEST_F(FontDialog, CancelGivesTheDefaultWhateverWasPassedIn) {
  SeenFont seen;
  const qova::FontChoice choice = choose(seen, IDCANCEL, -1, true, true);
  EXPECT_TRUE(seen.dialog);
  const qova::FontChoice byDefault;
  EXPECT_EQ(choice.size, 9);
  EXPECT_EQ(choice.faceName, "宋体");
  EXPECT_EQ(choice.faceName, byDefault.faceName);
  EXPECT_FALSE(choice.bold || choice.italic || choice.strikeout || choice.underline);
  EXPECT_EQ(choice.angle, 0);
}

}  // namespace
