#include "app/SingleInstance.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

#include "runtime/AnsiText.h"
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

std::wstring hexDigits(uint64_t value, int digits) {
  std::wstring text;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) text += L"0123456789ABCDEF"[(value >> shift) & 0xF];
  return text;
}

// A mutex name may hold no backslash after its namespace, so the folder's
// path goes into it as a hash (64-bit FNV-1a of its UTF-16 code units).
std::wstring pathClaimName(const std::wstring& folder) {
  uint64_t hash = 14695981039346656037ull;
  for (wchar_t unit : foldedCase(folder)) {
    hash ^= static_cast<uint16_t>(unit);
    hash *= 1099511628211ull;
  }
  return L"Local\\QOVA Wallpaper " + hexDigits(hash, 16);
}

// "Local\QOVA Wallpaper <volume serial, 8 hex digits> <file index, 16>":
// what the folder is, however it is spelled. The folder's path stands in
// where the file system cannot say (then only its spelling counts).
std::wstring claimName(const std::wstring& folder) {
  UniqueFile handle(::CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION identity{};
  if (!handle || !::GetFileInformationByHandle(handle.get(), &identity)) return pathClaimName(folder);
  const uint64_t index = (static_cast<uint64_t>(identity.nFileIndexHigh) << 32) | identity.nFileIndexLow;
  return L"Local\\QOVA Wallpaper " + hexDigits(identity.dwVolumeSerialNumber, 8) + L" " + hexDigits(index, 16);
}

// The executable of process `processId`; empty when it cannot be asked.
std::wstring executableOf(DWORD processId) {
  UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return {};
  path.resize(length);
  return path;
}

struct Search {
  std::wstring claim;  // the claim name of our folder
  HWND found = nullptr;
};

// Whether process `processId` still has its panel.
bool hasMainWindow(DWORD processId) {
  for (HWND window = ::FindWindowExA(nullptr, nullptr, kMainWindowClassName, nullptr); window;
       window = ::FindWindowExA(nullptr, window, kMainWindowClassName, nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == processId) return true;
  }
  return false;
}

BOOL CALLBACK checkWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  char className[64] = {};
  ::GetClassNameA(window, className, sizeof className);
  if (std::string_view(className) != kLibraryWindowClassName) return TRUE;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  if (processId == ::GetCurrentProcessId()) return TRUE;
  if (claimName(folderOf(executableOf(processId))) != search->claim) return TRUE;
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

// Set on the library window once the program has begun to exit.
constexpr const wchar_t* kExitingProperty = L"QovaExiting";

// Whether the program of `libraryWindow` goes on running: one in the middle
// of its exit has said so, and lets the claim go when it ends; one that does
// not answer may be on its way there.
bool staysRunning(HWND libraryWindow) {
  DWORD_PTR ignored = 0;
  if (!::SendMessageTimeoutW(libraryWindow, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored)) return false;
  DWORD processId = 0;
  return !::GetPropW(libraryWindow, kExitingProperty) &&
         ::GetWindowThreadProcessId(libraryWindow, &processId) != 0 && hasMainWindow(processId);
}

// A question the program asks comes first; otherwise the library window
// shows, as a left click on the icon shows it.
void bringForward(HWND window) {
  if (HWND dialog = visibleDialogOf(window)) {
    ::SetForegroundWindow(dialog);
    return;
  }
  ::ShowWindow(window, ::IsIconic(window) ? SW_RESTORE : SW_SHOW);
  ::SetForegroundWindow(window);
}

constexpr const char* kCaption = "QOVA_壁纸";
constexpr const char* kClaimHeldText =
    "QOVA_壁纸没有启动：同一文件夹里的程序仍在运行，但10秒内没有出现它的窗口"
    "（也可能是另一个程序占用了它的启动标记）。\r\n\r\n"
    "请稍后再启动一次；如果仍然如此，请注销后重新登录Windows。";

}  // namespace

void announceExit(HWND libraryWindow) {
  if (libraryWindow) ::SetPropW(libraryWindow, kExitingProperty, reinterpret_cast<HANDLE>(1));
}

HWND runningLibraryWindow() {
  Search search{claimName(folderOf(programExecutablePath()))};
  ::EnumWindows(checkWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

ProgramFolderClaim::ProgramFolderClaim() : name_(claimName(folderOf(programExecutablePath()))) { retry(); }

bool ProgramFolderClaim::retry() {
  // Our own handle would keep the name alive for the holder's whole exit.
  mutex_.reset();
  // Nothing may run between the two calls: the answer is in the last error.
  mutex_.reset(::CreateMutexW(nullptr, FALSE, name_.c_str()));
  held_ = !mutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS;
  return held_;
}

ClaimWait waitForClaimOrRunningProgram(ProgramFolderClaim& claim) {
  using namespace std::chrono_literals;
  // The library window exists from the second stage of start-up on; a
  // program that is exiting has none, and lets the claim go when it ends.
  const auto giveUp = std::chrono::steady_clock::now() + 10s;
  while (std::chrono::steady_clock::now() < giveUp) {
    if (HWND window = runningLibraryWindow(); window && staysRunning(window)) {
      bringForward(window);
      return ClaimWait::BroughtForward;
    }
    if (claim.retry()) return ClaimWait::Claimed;
    std::this_thread::sleep_for(50ms);
  }
  ::MessageBoxW(nullptr, ansiToWide(kClaimHeldText).c_str(), ansiToWide(kCaption).c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
  return ClaimWait::GaveUp;
}

}  // namespace qova
