#pragma once
// The process-wide state, created at program entry and released by the exit
// routine on every way out of the process.
#include <windows.h>

#include "engines/Player.h"
#include "library/VideoLibrary.h"
#include "shell/TrayIcon.h"

namespace qova {

struct AppState {
  Player player;             // the one player; its window lives in the desktop layer
  VideoLibrary library;      // the lists, videoCount and currentIndex
  int isPlaying = 0;         // 1 from the wallpaper's start; flipped by the play/pause toggle
  int savedLeft = 0;         // MainWindow's docked position, kept from start-up
  int savedTop = 0;
  HWND mainWindow = nullptr;
  TrayIcon tray;              // the notification-area icon, owned by PopupWindow
  HWND popupWindow = nullptr;  // the library window, created hidden at start-up
  int volumeSliderPosition = 0;  // the volume slider's position, set at start-up
};

// The process-wide state; created on first use.
AppState& app();

// The exit routine: releases the process-wide objects, then ends the process.
[[noreturn]] void endProcess(int exitCode);

}  // namespace qova
