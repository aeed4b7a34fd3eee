#include "app/Settings.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "outside/aplayer/APlayerContract.h"
#include "runtime/ProgramDirectory.h"

namespace qova {
namespace {
constexpr const char* kSettingsSection = "程序设置";
constexpr DWORD kReadBufferSize = 10240;
}  // namespace

std::string settingsFilePath() { return programFile("To_configure.ini"); }

std::string readSetting(const char* key, const char* fallback) {
  std::vector<char> buffer(kReadBufferSize, '\0');
  DWORD length = ::GetPrivateProfileStringA(kSettingsSection, key, fallback, buffer.data(),
                                            kReadBufferSize, settingsFilePath().c_str());
  return std::string(buffer.data(), length);
}

void writeSetting(const char* key, const std::string& value) {
  ::WritePrivateProfileStringA(kSettingsSection, key, value.c_str(), settingsFilePath().c_str());
}

void removeSetting(const char* key) {
  ::WritePrivateProfileStringA(kSettingsSection, key, nullptr, settingsFilePath().c_str());
}

bool mainWindowShownAtStartup() { return readSetting(kSettingWindowDisplay, "0") == "0"; }

const char* pictureScalingSetting() {
  const std::string scaling = readSetting(kSettingPictureScaling, "");
  if (scaling == "适应") return kAPlayerScalingFit;
  if (scaling == "拉伸") return kAPlayerScalingStretch;
  return kAPlayerScalingFill;
}

bool shuffledPlayOrder() { return readSetting(kSettingPlayOrder, kPlayOrderInOrder) == kPlayOrderShuffled; }

int minutesPerVideo() { return std::max(0, settingToInteger(readSetting(kSettingMinutesPerVideo, "0"))); }
const char* presentationSetting() {
  const std::string presentation = readSetting(kSettingPresentation, "");
  if (presentation == "显卡") return kAPlayerPresentationGpu;
  if (presentation == "GDI") return kAPlayerPresentationGdi;
  return kAPlayerPresentationAuto;
}


int settingToInteger(const std::string& text) {
  errno = 0;
  long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace qova
