#include "app/SingleInstance.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

#include "runtime/ProgramDirectory.h"
#include "shell/Layouts.h"

namespace qova {
namespace {

// The path in upper case, so that two spellings of one folder name one program.
std::wstring foldedCase(std::wstring path) {
  if (!path.empty()) ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
  return path;
}

std::wstring folderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

// A mutex name may hold no backslash after its namespace, so the folder's
// path goes into it as a hash (64-bit FNV-1a of its UTF-16 code units).
std::wstring claimName(const std::wstring& folder) {
  uint64_t hash = 14695981039346656037ull;
  for (wchar_t unit : foldedCase(folder)) {
    hash ^= static_cast<uint16_t>(unit);
    hash *= 1099511628211ull;
  }
  std::wstring name = L"Local\\QOVA Wallpaper ";
  for (int shift = 60; shift >= 0; shift -= 4) name += L"0123456789ABCDEF"[(hash >> shift) & 0xF];
  return name;
}

// The executable of process `processId` in its long form; empty when it cannot be asked.
std::wstring executableOf(DWORD processId) {
  UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return {};
  path.resize(length);
  std::wstring longPath(32768, L'\0');
  const DWORD longLength = ::GetLongPathNameW(path.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
  if (longLength == 0 || longLength >= longPath.size()) return path;
  longPath.resize(longLength);
  return longPath;
}

struct Search {
  std::wstring folder;  // folded case
  HWND found = nullptr;
};

BOOL CALLBACK checkWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  char className[64] = {};
  ::GetClassNameA(window, className, sizeof className);
  if (std::string_view(className) != kLibraryWindowClassName) return TRUE;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  if (processId == ::GetCurrentProcessId()) return TRUE;
  if (foldedCase(folderOf(executableOf(processId))) != search->folder) return TRUE;
  search->found = window;
  return FALSE;
}

// A dialog that process shows (it asks for a video); null when none shows.
HWND visibleDialogOf(HWND window) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  for (HWND dialog = ::FindWindowExA(nullptr, nullptr, "#32770", nullptr); dialog;
       dialog = ::FindWindowExA(nullptr, dialog, "#32770", nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(dialog, &owner);
    if (owner == processId && ::IsWindowVisible(dialog)) return dialog;
  }
  return nullptr;
}

}  // namespace

HWND runningLibraryWindow() {
  Search search{foldedCase(folderOf(programExecutablePath()))};
  ::EnumWindows(checkWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

ProgramFolderClaim::ProgramFolderClaim() {
  const std::wstring name = claimName(folderOf(programExecutablePath()));
  // Nothing may run between the two calls: the answer is in the last error.
  mutex_.reset(::CreateMutexW(nullptr, FALSE, name.c_str()));
  held_ = !mutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

bool bringRunningProgramForward() {
  using namespace std::chrono_literals;
  // The library window exists from the second stage of start-up on.
  const auto giveUp = std::chrono::steady_clock::now() + 10s;
  HWND window = runningLibraryWindow();
  while (!window && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(50ms);
    window = runningLibraryWindow();
  }
  if (!window) return false;
  // A question the program asks comes first; otherwise the library window
  // shows, as a left click on the icon shows it.
  if (HWND dialog = visibleDialogOf(window)) {
    ::SetForegroundWindow(dialog);
    return true;
  }
  ::ShowWindow(window, ::IsIconic(window) ? SW_RESTORE : SW_SHOW);
  ::SetForegroundWindow(window);
  return true;
}

}  // namespace qova
