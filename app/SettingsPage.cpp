#include "app/SettingsPage.h"

#include <algorithm>
#include <string>

#include "app/Settings.h"
#include "app/SettingsChoices.h"
#include "engines/ExuiBinding.h"
#include "runtime/AnsiText.h"

namespace qova {
namespace {

// The band of the window's skin above the page.
constexpr int kPageTop = 30;
// The focus mark: the marked group's title and the marked button's caption in this colour.
constexpr int32_t kFocusColour = static_cast<int32_t>(0xFFD04A02);
constexpr int kSliderPageStep = 10;

const std::vector<SettingChoices>& settings() { return settingsPageChoices(); }

int storedValue(const SettingChoices& setting) {
  if (!setting.isNumber()) return choiceOf(setting, readSetting(setting.key, ""));
  return std::clamp(settingToInteger(readSetting(setting.key, "0")), 0, kMostMinutesPerVideo);
}

// The title of a setting's group, with the minutes where the setting holds a number.
std::string groupCaption(const SettingChoices& setting, int value) {
  if (!setting.isNumber()) return setting.key;
  return std::string(setting.key) + " " + std::to_string(value) + " 分钟" + (value == 0 ? " (每个视频播放一次)" : "");
}

}  // namespace

SettingsPage::SettingsPage(const HWND& window, std::function<void(const char* key)> changed)
    : window_(window), changed_(std::move(changed)) {}

std::vector<SettingGroupLayout> SettingsPage::groups() {
  std::vector<SettingGroupLayout> groups;
  for (std::size_t i = 0; i < settings().size(); ++i) {
    const SettingChoices& setting = settings()[i];
    groups.push_back({groupCaption(setting, 0), setting.labels, kMostMinutesPerVideo, [this, i](int32_t value) {
                        // A click leaves the focus on the control it hit; the page keeps it.
                        focused_ = i;
                        ::SetFocus(window_);
                        choose(i, value);
                      }});
  }
  return groups;
}

void SettingsPage::show() {
  ::ShowWindow(controlByName(window_, kLibraryListName), SW_HIDE);
  fit();
  showStored();
  focused_ = 0;
  markFocus();
  ::ShowWindow(controlByName(window_, kSettingsPageName), SW_SHOW);
  ::SetFocus(window_);
}

void SettingsPage::hide() {
  ::ShowWindow(controlByName(window_, kSettingsPageName), SW_HIDE);
  ::ShowWindow(controlByName(window_, kLibraryListName), SW_SHOW);
}

bool SettingsPage::shown() const { return ::IsWindowVisible(controlByName(window_, kSettingsPageName)) != FALSE; }

void SettingsPage::fit() const {
  RECT client{};
  if (!::GetClientRect(window_, &client)) return;
  ::SetWindowPos(controlByName(window_, kSettingsPageName), nullptr, 0, 0, client.right,
                 std::max(0L, client.bottom - scaledFor(window_, kPageTop)), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SettingsPage::handleKey(WPARAM key) {
  if (!shown()) return false;
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  switch (key) {
    case VK_TAB: moveFocus(shift ? -1 : 1); return true;
    case VK_LEFT:
    case VK_UP: stepChoice(-1, -1); return true;
    case VK_RIGHT:
    case VK_DOWN: stepChoice(1, 1); return true;
    case VK_PRIOR: stepChoice(-1, -kSliderPageStep); return true;
    case VK_NEXT: stepChoice(1, kSliderPageStep); return true;
    case VK_HOME: stepChoice(0, -kMostMinutesPerVideo); return true;
    case VK_END: stepChoice(0, kMostMinutesPerVideo); return true;
    case VK_SPACE:
    case VK_RETURN:
      if (focused_ == settings().size()) hide();
      else if (!settings()[focused_].isNumber()) stepChoice(1, 0);
      return true;
    case VK_ESCAPE: hide(); return true;
    default: return false;
  }
}

void SettingsPage::moveFocus(int step) {
  const int count = static_cast<int>(settings().size()) + 1;
  focused_ = static_cast<std::size_t>(((static_cast<int>(focused_) + step) % count + count) % count);
  markFocus();
}

void SettingsPage::stepChoice(int step, int sliderStep) {
  if (focused_ >= settings().size()) return;
  const SettingChoices& setting = settings()[focused_];
  const int now = storedValue(setting);
  const int next = setting.isNumber() ? std::clamp(now + sliderStep, 0, kMostMinutesPerVideo)
                                      : choiceAfter(setting, now, step);
  if (next != now) choose(focused_, next);
}

void SettingsPage::choose(std::size_t index, int value) {
  const SettingChoices& setting = settings()[index];
  const std::size_t choice = static_cast<std::size_t>(value);
  if (setting.isNumber()) writeSetting(setting.key, std::to_string(std::max(0, value)));
  else if (choice < setting.values.size()) writeSetting(setting.key, setting.values[choice]);
  else return;
  showChoice(index, value);
  if (changed_) changed_(setting.key);
}

void SettingsPage::showStored() const {
  for (std::size_t i = 0; i < settings().size(); ++i) showChoice(i, storedValue(settings()[i]));
}

void SettingsPage::showChoice(std::size_t index, int value) const {
  const SettingChoices& setting = settings()[index];
  if (setting.isNumber()) {
    setSliderPosition(controlByName(window_, settingSliderName(index)), value);
    const std::wstring caption = ansiToWide(groupCaption(setting, value));
    const std::u16string text(caption.begin(), caption.end());
    setComponentProperty(controlByName(window_, settingGroupName(index)), kExuiPropCaption, exui::utf16Bytes(text));
    return;
  }
  for (std::size_t j = 0; j < setting.labels.size(); ++j)
    setComponentProperty(controlByName(window_, settingChoiceName(index, j)), kExuiPropChecked,
                         j == static_cast<std::size_t>(value) ? 1 : 0);
}

void SettingsPage::markFocus() const {
  for (std::size_t i = 0; i < settings().size(); ++i)
    setComponentProperty(controlByName(window_, settingGroupName(i)), kExuiPropTextColour,
                         i == focused_ ? kFocusColour : 0);
  setComponentProperty(controlByName(window_, kSettingsBackButtonName), kExuiPropTextColour,
                       focused_ == settings().size() ? kFocusColour : 0);
}

}  // namespace qova
