#pragma once
// The running program: the one owner of everything it holds, from the library
// to the windows, created in WinMain and released in reverse order when it
// goes. Every exit path stops the wallpaper and destroys MainWindow, which
// ends the message loop; nothing ends the process from inside a handler.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/AutoPause.h"
#include "app/Hotkeys.h"
#include "app/LibraryMenus.h"
#include "app/MainWindowMessages.h"
#include "app/MainWindowPlacement.h"
#include "app/OwnedWindow.h"
#include "app/Playback.h"
#include "app/SettingsPage.h"
#include "app/VideoAdding.h"
#include "app/SystemNotices.h"
#include "app/WallpaperScreens.h"
#include "desktop/DesktopCoverWatch.h"
#include "desktop/DesktopLayerWatch.h"
#include "desktop/DisplayGeometry.h"
#include "library/VideoLibrary.h"
#include "shell/Layouts.h"
#include "shell/TrayIcon.h"

namespace qova {

class Program {
 public:
  Program();
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Builds MainWindow, whose creation runs the start-up sequence, and runs the
  // message loop until an exit path ends it; the exit code.
  int run();
  // Builds MainWindow hidden and runs the start-up sequence; false when
  // MainWindow could not be built or the program ended during start-up.
  bool start();

  // Creates the player in the desktop layer, sets the stored volume, loads the
  // library (asking for a first video when it is empty) and opens entry 1.
  // False, with the desktop as it was, when the library holds nothing to play.
  bool startWallpaper();
  // Every exit path: the wallpaper stopped, then MainWindow destroyed, which ends the message loop.
  void exitApplication();

  // The engine's event callback (handler 2). Safe on any thread: calls from a
  // thread other than MainWindow's are posted to MainWindow.
  static int32_t WINAPI onPlayerEvent(int32_t code, int32_t parameter);
  // After an unhandled exception, on the thread that raised it: the players'
  // windows are hidden and the desktop layer refreshed, so that no frozen
  // frame stays on the desktop once the process is gone.
  static void clearDesktopAfterCrash();
  // One player event on the window thread: the end of a file opens the next
  // entry, and one that cannot be played is passed over (app/Playback.h).
  void handlePlayerEvent(int32_t code, int32_t parameter);

  // The play button and Ctrl+Alt+F10: the user's pause begins or ends, the
  // play button shows the matching picture, then the players are told (they
  // stay paused while a cause holds, and play when it ends). After every
  // entry failed to play, they try again from the current entry, and play.
  void togglePlayPause();
  // 1 unless the user paused the wallpaper.
  int isPlaying() const { return screens.policy().userPaused() ? 0 : 1; }
  // A cause for pausing by itself starts or ends (the desktop hidden, the
  // session locked, the displays off, battery saver): the wallpaper pauses
  // while any holds and plays on when the last ends, never undoing a pause
  // of the user's.
  void setPauseCause(PauseCause cause, bool holds);
  // Previous, next (in the chosen order) and a click on list item `item`
  // (0-based) begin a new round of playback there, whatever failed before,
  // and end a pause of the user's. Nothing for an item the library does not have.
  void playNext();
  void playPrevious();
  void playListItem(int item);
  // Deletes the entry of 0-based list item `index` from the file and the list.
  // Playback moves on to the entry after the one playing, never to the deleted
  // one, and currentIndex names the entry that then plays; deleting the last
  // remaining entry stops the picture. An item after the entries, a missing
  // video's, loses its record alone and nothing else changes.
  void deleteLibraryEntry(int index);
  // Asks for a video and appends it; when every entry had failed to play, the
  // new one plays. Several chosen videos are added in the background.
  void addVideo();
  // The monitor `monitor` (1 and up, in the players' order) loops the video
  // of 0-based list item `item` from now on, and after every restart; 0 lets
  // every monitor that loops that video follow the primary again. Nothing
  // for an item or monitor that does not exist.
  void chooseMonitorVideo(int item, int monitor);
  // Asks for a folder and adds every video under it in the background.
  void addFolder();
  // Adds files and folders in the background and shows the library window
  // (a drop, "Open with", a second start with paths).
  void addPaths(std::vector<std::wstring> paths);
  // The paths qova.exe was started with, added once the program runs (or to
  // begin with, when the library holds nothing yet).
  void addAtStart(std::vector<std::wstring> paths) { startPaths_ = std::move(paths); }
  // After one confirmation, removes every entry whose video file is gone.
  void deleteMissingVideos();

  // What the two windows' layouts bind.
  MainWindowHandlers mainWindowHandlers();
  LibraryWindowHandlers libraryWindowHandlers();

  // Released in reverse order: the hotkeys, the menus, the notification-area
  // icon (while the window that owns it still exists), the windows, playback,
  // the players, the library.
  VideoLibrary library;
  WallpaperScreens screens;  // one player per monitor, in the desktop layer
  Playback playback;         // opens entries on MainWindow's thread, passing over what cannot play
  OwnedWindow mainWindow;    // the docked panel; its creation runs the start-up sequence
  OwnedWindow libraryWindow; // built hidden at start-up
  SettingsPage settingsPage{libraryWindow.handle, [this](const char* key) { onSettingChanged(key); }};
  TrayIcon tray;             // owned by the library window
  LibraryMenus libraryMenus;
  Hotkeys hotkeys;
  VideoAdding adding{library, libraryWindow, [this](int countBefore) { onVideoAdded(countBefore); }};
  int volumeSliderPosition = 0;    // the volume slider's position, set at start-up
  DockedPosition docked;           // MainWindow's place, from start-up and each docking since

 private:
  void onMainWindowCreated();
  void onLibraryWindowCreated();
  void onTrayEvent(int32_t code);
  void onMenuChoice(MenuChoice choice);
  // Expands MainWindow into its settings view, showing whether it starts with Windows.
  void openSettings();
  // "显示该窗口" and "隐藏该窗口": the panel shows or hides now and at every start from now on.
  void choosePanelShown(bool shown);
  // The taskbar was made again, or the work area or the display changed: the panel docks again.
  void redock();
  void tellNothingPlays();
  // A key the settings page wrote: the running program follows it at once.
  void onSettingChanged(const char* key);
  // The watch for windows hiding the desktop, unless "遮挡时暂停" turns it off.
  void watchCover();
  // The user's pause begins or ends: the play button's picture, then the players.
  void setUserPaused(bool paused);
  void playChosen(int position);
  // Tells the user once, in a balloon of the icon, that the last run ended
  // unexpectedly and where its report is.
  void tellOfLastCrash();
  // "打开日志文件夹": the log's folder in Explorer, made when missing.
  void openLogFolder();
  // A record was appended in the background: a new chance once nothing played.
  void onVideoAdded(int countBefore);
  // Shows entries whose file went missing since the list was filled; the
  // entry that plays keeps playing.
  void showMissingEntries();
  // Loads the library again into the list; the entry that plays keeps its place.
  void reloadKeepingPlaying();
  // The shell's layer may have changed: the players follow it, and the
  // panel's preview shows the new "Progman".
  void followDesktopLayer();
  void openLibraryWindow();
  void popUpMainWindowMenu();
  LRESULT mainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  WindowMessageHandler libraryWindowMessageHandler();
  StandardMenuHandlers standardMenuHandlers();

  static int32_t __cdecl onMenuCommand(int32_t menu, int32_t code, int32_t item, int32_t itemData,
                                       int32_t menuNumber, int32_t reserved);

  std::optional<DesktopCoverWatch> coverWatch_;  // while the wallpaper plays, unless turned off
  std::optional<SystemNotices> systemNotices_;   // to MainWindow, while it exists
  std::optional<DesktopLayerWatch> layerWatch_;  // while the wallpaper plays
  HTHUMBNAIL preview_ = nullptr;  // the panel's live preview; it lives as long as its two windows
  bool leftEdgePinned_ = false;  // from start-up stage 6 on
  bool ended_ = false;           // an exit path ran
  std::vector<std::wstring> startPaths_;
};

}  // namespace qova
