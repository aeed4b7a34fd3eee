#pragma once
// The settings the library window's settings page sets, each a key of
// "To_configure.ini" with its choices, in the page's order. Platform-free.
#include <string>
#include <vector>

namespace qova {

struct SettingChoices {
  const char* key;
  // The choices as the page shows them and the text each writes; the first
  // is what an absent key or any text not among `values` means. No choices:
  // the key holds whole minutes, 0 to kMostMinutesPerVideo on the page.
  std::vector<std::string> labels;
  std::vector<std::string> values;

  bool isNumber() const { return labels.empty(); }
};

// The page's slider ends at two hours; a longer time stays stored until the slider moves.
constexpr int kMostMinutesPerVideo = 120;

const std::vector<SettingChoices>& settingsPageChoices();

// The 0-based choice the stored text stands for.
int choiceOf(const SettingChoices& setting, const std::string& stored);

// The choice `step` places on from `choice`, wrapping at both ends.
int choiceAfter(const SettingChoices& setting, int choice, int step);

}  // namespace qova
