#pragma once
// Paths that reach the program from outside to be added: the command line
// ("Open with", "Send to", a shortcut's arguments), a second start handing
// its command line over to the program that runs, and files dropped from
// Explorer.
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

namespace qova {

// The paths qova.exe was started with, each made full against the current
// folder; empty without any.
std::vector<std::wstring> commandLinePaths();

// Hands `paths` to the library window of the program that runs (WM_COPYDATA);
// false when it did not take them.
bool handPathsTo(HWND runningLibraryWindow, const std::vector<std::wstring>& paths);

// The paths a WM_COPYDATA of handPathsTo carries; nullopt for any other.
std::optional<std::vector<std::wstring>> handedPaths(LPARAM copyData);

// The paths of a WM_DROPFILES, which is then finished with.
std::vector<std::wstring> droppedPaths(HDROP drop);

}  // namespace qova
