#include "app/PathsFromOutside.h"

#include <shellapi.h>

#include <algorithm>
#include <string_view>

#include "app/VideoFileList.h"
#include "runtime/UniqueHandle.h"

namespace qova {
namespace {

// Marks our WM_COPYDATA among any other program's ("QOVA").
constexpr ULONG_PTR kHandedPathsMark = 0x51'4F'56'41;
// A program busy starting up takes a while to answer.
constexpr UINT kHandOverTimeoutMs = 15000;

inline void freeArguments(LPWSTR* arguments) { ::LocalFree(arguments); }
using UniqueArguments = UniqueResource<NullIsEmpty<LPWSTR*, freeArguments>>;

}  // namespace

std::vector<std::wstring> commandLinePaths() {
  int count = 0;
  const UniqueArguments arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
  if (!arguments) return {};
  std::vector<std::wstring> paths;
  for (int i = 1; i < count; ++i)
    if (arguments.get()[i][0] != L'\0') paths.push_back(fullPathOf(arguments.get()[i]));
  return paths;
}

bool handPathsTo(HWND runningLibraryWindow, const std::vector<std::wstring>& paths) {
  std::wstring joined;
  for (const std::wstring& path : paths) joined += path + L'\0';
  COPYDATASTRUCT data{};
  data.dwData = kHandedPathsMark;
  data.cbData = static_cast<DWORD>(joined.size() * sizeof(wchar_t));
  data.lpData = joined.data();
  DWORD_PTR answer = 0;
  return ::SendMessageTimeoutW(runningLibraryWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_NORMAL, kHandOverTimeoutMs, &answer) != 0 &&
         answer == TRUE;
}

std::optional<std::vector<std::wstring>> handedPaths(LPARAM copyData) {
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(copyData);
  if (!data || data->dwData != kHandedPathsMark || data->cbData % sizeof(wchar_t) != 0) return std::nullopt;
  const std::wstring_view joined(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
  std::vector<std::wstring> paths;
  for (size_t start = 0; start < joined.size();) {
    const size_t end = std::min(joined.find(L'\0', start), joined.size());
    if (end > start) paths.emplace_back(joined.substr(start, end - start));
    start = end + 1;
  }
  return paths;
}

std::vector<std::wstring> droppedPaths(HDROP drop) {
  std::vector<std::wstring> paths;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    const UINT length = ::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size()));
    path.resize(length);
    if (!path.empty()) paths.push_back(std::move(path));
  }
  ::DragFinish(drop);
  return paths;
}

}  // namespace qova
