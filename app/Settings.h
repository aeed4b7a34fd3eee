#pragma once
// The user's settings, kept in "To_configure.ini" beside the executable,
// section "程序设置". Read when needed and written at once; nothing is cached.
#include <string>

namespace qova {

constexpr const char* kSettingWindowDisplay = "窗体显示";  // "0" shows MainWindow at start-up
constexpr const char* kSettingVolume = "播放音量";         // decimal volume text
// "0" keeps the wallpaper playing while other windows or a full-screen
// program hide the desktop; anything else (the default "1") pauses it then.
constexpr const char* kSettingPauseWhenHidden = "遮挡时暂停";
// Likewise "0" keeps it playing while the session is locked or disconnected,
// while the displays are off, and while battery saver is on.
constexpr const char* kSettingPauseWhenLocked = "锁屏时暂停";
constexpr const char* kSettingPauseWhenDisplayOff = "熄屏时暂停";
constexpr const char* kSettingPauseOnBatterySaver = "省电模式暂停";
// "0" plays the wallpaper on the primary monitor only; anything else (the
// default "1") on every monitor.
constexpr const char* kSettingEveryMonitor = "多显示器";
// How the video covers the screen: "填充" (fill, the default: the whole
// screen, aspect kept, the excess cut), "适应" (fit: the whole video, black
// bands) or "拉伸" (stretch); anything else is fill.
constexpr const char* kSettingPictureScaling = "画面填充";
// The order the library plays in: "顺序" (the library's, the default) or
// "随机" (shuffled, library/PlayOrder.h); anything else is the library's.
constexpr const char* kSettingPlayOrder = "播放顺序";
constexpr const char* kPlayOrderInOrder = "顺序";
constexpr const char* kPlayOrderShuffled = "随机";
// Whole minutes each video plays for, looping, before the next comes; "0"
// (the default) or anything not a positive number plays each video once.
constexpr const char* kSettingMinutesPerVideo = "每个视频时长";
// How frames reach the screen: "自动" (the default, also for anything else:
// the graphics card, else GDI), "显卡" (the graphics card, GDI only when it
// cannot start) or "GDI".
constexpr const char* kSettingPresentation = "画面绘制";

// Program directory + "\To_configure.ini", rebuilt at each call.
std::string settingsFilePath();

// The key's text (at most 10,239 characters); `fallback` when the file, section or key is missing.
std::string readSetting(const char* key, const char* fallback);

// Writes the key, creating the file, section or key as needed; a failure is ignored.
void writeSetting(const char* key, const std::string& value);

// Removes the key; a failure is ignored.
void removeSetting(const char* key);

// Whether MainWindow shows at start-up: only the exact text "0" (the default) shows it.
bool mainWindowShownAtStartup();

// The player engine's scaling value (kAPlayerScaling*) that kSettingPictureScaling chooses.
const char* pictureScalingSetting();

// What kSettingPlayOrder and kSettingMinutesPerVideo choose.
bool shuffledPlayOrder();
int minutesPerVideo();
// The player engine's presentation value (kAPlayerPresentation*) that kSettingPresentation chooses.
const char* presentationSetting();


// The C library's decimal conversion: leading white space and a sign allowed,
// stops at the first non-digit, 0 when there are no digits. Values beyond the
// 32-bit range are clamped.
int settingToInteger(const std::string& text);

}  // namespace qova
