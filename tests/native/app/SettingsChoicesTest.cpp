// The settings page's choices read a stored text the way the program's own
// readers do: the first choice for an absent key or a text they do not know.
#include "app/SettingsChoices.h"

#include <gtest/gtest.h>

#include <string>

#include "app/Settings.h"

namespace qova {
namespace {

const SettingChoices& setting(const char* key) {
  for (const SettingChoices& each : settingsPageChoices())
    if (std::string(each.key) == key) return each;
  ADD_FAILURE() << key << " is not on the page";
  return settingsPageChoices().front();
}

TEST(SettingsChoices, StoredTextsMeanWhatTheProgramReadsThemAs) {
  struct Case {
    const char* key;
    const char* stored;
    int choice;
  };
  const Case cases[] = {
      {kSettingPictureScaling, "", 0},         {kSettingPictureScaling, "适应", 1},
      {kSettingPictureScaling, "拉伸", 2},     {kSettingPictureScaling, "fit", 0},
      {kSettingEveryMonitor, "", 0},           {kSettingEveryMonitor, "0", 1},
      {kSettingEveryMonitor, "2", 0},          {kSettingPauseWhenHidden, "0", 1},
      {kSettingPauseWhenHidden, "yes", 0},     {kSettingPauseOnBatterySaver, "0", 1},
      {kSettingPlayOrder, "随机", 1},          {kSettingPlayOrder, "shuffle", 0},
      {kSettingPresentation, "GDI", 2},      {kSettingPresentation, "gdi", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(choiceOf(setting(c.key), c.stored), c.choice) << c.key << "=" << c.stored;
}

TEST(SettingsChoices, EverySettingOfTheFileIsOnThePageOnceAndChoicesWrap) {
  EXPECT_EQ(settingsPageChoices().size(), 9u);
  EXPECT_TRUE(setting(kSettingMinutesPerVideo).isNumber());
  for (const char* key : {kSettingPauseWhenLocked, kSettingPauseWhenDisplayOff}) {
    EXPECT_EQ(setting(key).values, (std::vector<std::string>{"1", "0"})) << key;
  }
  const SettingChoices& scaling = setting(kSettingPictureScaling);
  EXPECT_EQ(choiceAfter(scaling, 2, 1), 0);
  EXPECT_EQ(choiceAfter(scaling, 0, -1), 2);
  EXPECT_EQ(choiceAfter(scaling, 1, 1), 2);
}

}  // namespace
}  // namespace qova
