// The stored volume and picture scaling at start-up: the player takes them
// and the settings view's slider shows the volume.
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
  start("[程序设置]\r\n播放音量=40\r\n画面填充=适应\r\n");
  EXPECT_NE(recordingLog().find(engineCall("APlayer_SetVolume", "40")), std::string::npos)
      << recordingLog();
  EXPECT_NE(recordingLog().find(engineCall("APlayer_SetConfigA", "3,0")), std::string::npos)
      << "fitted: " << recordingLog();
  EXPECT_EQ(sliderPosition(controlByName(mainWindow, kVolumeSliderName)), 40);
}

TEST_F(VolumeAtStart, WithoutASettingBothStandAtFull) {
  start();
  EXPECT_NE(recordingLog().find(engineCall("APlayer_SetVolume", "100")), std::string::npos)
      << recordingLog();
  EXPECT_NE(recordingLog().find(engineCall("APlayer_SetConfigA", "3,1")), std::string::npos)
      << "filled: " << recordingLog();
  EXPECT_EQ(sliderPosition(controlByName(mainWindow, kVolumeSliderName)), 100);
}

}  // namespace
}  // namespace qova::test
