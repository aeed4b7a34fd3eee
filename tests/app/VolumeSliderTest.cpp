// The stored volume at start-up: the player takes it and the settings
// view's slider shows it.
#include <gtest/gtest.h>
#include <windows.h>

#include "engines/ExuiBinding.h"
#include "shell/Layouts.h"
#include "shell/WindowBuilder.h"
#include "tests/app/ProgramInProcess.h"

namespace qova::test {
namespace {

using VolumeAtStart = ProgramInProcess;

TEST_F(VolumeAtStart, TheStoredVolumeReachesThePlayerAndTheSlider) {
  start("[程序设置]\r\n播放音量=40\r\n");
  EXPECT_NE(recordingLog().find(engineCall("APlayer_SetVolume", "40")), std::string::npos)
      << recordingLog();
  EXPECT_EQ(sliderPosition(controlByName(mainWindow, kVolumeSliderName)), 40);
}

TEST_F(VolumeAtStart, WithoutASettingBothStandAtFull) {
  start();
  EXPECT_NE(recordingLog().find(engineCall("APlayer_SetVolume", "100")), std::string::npos)
      << recordingLog();
  EXPECT_EQ(sliderPosition(controlByName(mainWindow, kVolumeSliderName)), 100);
}

}  // namespace
}  // namespace qova::test
