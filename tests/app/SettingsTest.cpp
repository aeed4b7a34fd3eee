// The settings file beside the program: defaults, conversions, and writes
// that keep everything else in the file.
#include "app/Settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "outside/aplayer/APlayerContract.h"
#include "runtime/WholeFile.h"

namespace {

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { ::DeleteFileA(qova::settingsFilePath().c_str()); }
  void TearDown() override { ::DeleteFileA(qova::settingsFilePath().c_str()); }
  void writeFile(const char* text) { ASSERT_TRUE(qova::writeWholeFile(qova::settingsFilePath(), text)); }
};

TEST_F(SettingsFile, NoFileShowsTheWindowAndPlaysAtFullVolume) {
  EXPECT_TRUE(qova::mainWindowShownAtStartup());
  EXPECT_EQ(qova::settingToInteger(qova::readSetting(qova::kSettingVolume, "100")), 100);
}

TEST_F(SettingsFile, OnlyTheExactTextZeroShowsTheWindow) {
  writeFile("[程序设置]\r\n窗体显示=00\r\n");
  EXPECT_FALSE(qova::mainWindowShownAtStartup());
  writeFile("[程序设置]\r\n窗体显示=1\r\n");
  EXPECT_FALSE(qova::mainWindowShownAtStartup());
  writeFile("[程序设置]\r\n窗体显示=  0  \r\n");
  EXPECT_TRUE(qova::mainWindowShownAtStartup()) << "the INI reader drops surrounding blanks";
}

TEST_F(SettingsFile, VolumeTextConvertsLikeTheCLibrary) {
  EXPECT_EQ(qova::settingToInteger("0"), 0);
  EXPECT_EQ(qova::settingToInteger("loud"), 0);
  EXPECT_EQ(qova::settingToInteger("35abc"), 35);
  EXPECT_EQ(qova::settingToInteger("  -7"), -7);
  EXPECT_EQ(qova::settingToInteger("+12"), 12);
  EXPECT_EQ(qova::settingToInteger(""), 0);
  EXPECT_EQ(qova::settingToInteger("99999999999999999999"), INT_MAX);
}

TEST_F(SettingsFile, PictureScalingIsFillUnlessFitOrStretchIsNamed) {
  EXPECT_STREQ(qova::pictureScalingSetting(), kAPlayerScalingFill) << "no file";
  writeFile("[程序设置]\r\n画面填充=适应\r\n");
  EXPECT_STREQ(qova::pictureScalingSetting(), kAPlayerScalingFit);
  writeFile("[程序设置]\r\n画面填充=拉伸\r\n");
  EXPECT_STREQ(qova::pictureScalingSetting(), kAPlayerScalingStretch);
  writeFile("[程序设置]\r\n画面填充=填充\r\n");
  EXPECT_STREQ(qova::pictureScalingSetting(), kAPlayerScalingFill);
  writeFile("[程序设置]\r\n画面填充=fit\r\n");
  EXPECT_STREQ(qova::pictureScalingSetting(), kAPlayerScalingFill) << "unknown text";
}

TEST_F(SettingsFile, PresentationIsAutomaticUnlessTheCardOrGdiIsNamed) {
  EXPECT_STREQ(qova::presentationSetting(), kAPlayerPresentationAuto) << "no file";
  writeFile("[程序设置]\r\n画面绘制=显卡\r\n");
  EXPECT_STREQ(qova::presentationSetting(), kAPlayerPresentationGpu);
  writeFile("[程序设置]\r\n画面绘制=GDI\r\n");
  EXPECT_STREQ(qova::presentationSetting(), kAPlayerPresentationGdi);
  writeFile("[程序设置]\r\n画面绘制=自动\r\n");
  EXPECT_STREQ(qova::presentationSetting(), kAPlayerPresentationAuto);
  writeFile("[程序设置]\r\n画面绘制=gdi\r\n");
  EXPECT_STREQ(qova::presentationSetting(), kAPlayerPresentationAuto) << "unknown text";
}

TEST_F(SettingsFile, ReadsTheStoredValueOfTheSection) {
  writeFile("[其他]\r\n播放音量=1\r\n[程序设置]\r\n播放音量=35abc\r\n");
  EXPECT_EQ(qova::readSetting(qova::kSettingVolume, "100"), "35abc");
}

TEST_F(SettingsFile, WritingOneKeyKeepsTheOtherKeysAndSections) {
  writeFile("[其他]\r\n键=值\r\n[程序设置]\r\n窗体显示=1\r\n播放音量=35\r\n");
  qova::writeSetting(qova::kSettingVolume, "40");
  EXPECT_EQ(qova::readSetting(qova::kSettingVolume, "100"), "40");
  EXPECT_EQ(qova::readSetting(qova::kSettingWindowDisplay, "0"), "1");
  char other[64] = {};
  ::GetPrivateProfileStringA("其他", "键", "", other, sizeof other, qova::settingsFilePath().c_str());
  EXPECT_STREQ(other, "值");
}

TEST_F(SettingsFile, TheFirstWriteCreatesTheFile) {
  qova::writeSetting(qova::kSettingWindowDisplay, "1");
  const std::string text = qova::readWholeFile(qova::settingsFilePath());
  EXPECT_NE(text.find("[程序设置]"), std::string::npos);
  EXPECT_NE(text.find("窗体显示=1"), std::string::npos);
}

}  // namespace
