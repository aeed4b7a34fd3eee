#include "app/SettingsChoices.h"

#include <algorithm>

#include "app/Settings.h"

namespace qova {

const std::vector<SettingChoices>& settingsPageChoices() {
  // "1" before "0": a pause cause and 多显示器 are on unless the text is exactly "0".
  static const std::vector<std::string> onOff = {"1", "0"};
  static const std::vector<SettingChoices> choices = {
      {kSettingPictureScaling, {"填充", "适应", "拉伸"}, {"填充", "适应", "拉伸"}},
      {kSettingEveryMonitor, {"每个显示器", "仅主显示器"}, onOff},
      {kSettingPauseWhenHidden, {"暂停", "继续播放"}, onOff},
      {kSettingPauseWhenLocked, {"暂停", "继续播放"}, onOff},
      {kSettingPauseWhenDisplayOff, {"暂停", "继续播放"}, onOff},
      {kSettingPauseOnBatterySaver, {"暂停", "继续播放"}, onOff},
      {kSettingPlayOrder, {kPlayOrderInOrder, kPlayOrderShuffled}, {kPlayOrderInOrder, kPlayOrderShuffled}},
      {kSettingMinutesPerVideo, {}, {}},
      {kSettingPresentation, {"自动", "显卡", "GDI"}, {"自动", "显卡", "GDI"}},
  };
  return choices;
}

int choiceOf(const SettingChoices& setting, const std::string& stored) {
  const auto found = std::find(setting.values.begin(), setting.values.end(), stored);
  return found == setting.values.end() ? 0 : static_cast<int>(found - setting.values.begin());
}

int choiceAfter(const SettingChoices& setting, int choice, int step) {
  const int count = static_cast<int>(setting.values.size());
  if (count == 0) return 0;
  return ((choice + step) % count + count) % count;
}

}  // namespace qova
