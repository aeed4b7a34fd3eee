#include "app/LibraryNotices.h"

#include <windows.h>

#include "runtime/AnsiText.h"

namespace qova {
namespace {

constexpr const char* kCaption = "QOVA_壁纸";

constexpr const char* kNameNotStorable =
    "无法添加这个视频：文件名或它所在文件夹的名称里有系统无法保存的字符（例如韩文或表情符号）。\r\n\r\n"
    "请把文件或文件夹改成只含中文、英文和数字的名称，再添加一次。";
constexpr const char* kPathTooLong =
    "无法添加这个视频：它的路径太长，程序无法保存。\r\n\r\n"
    "请把视频移到路径较短的文件夹里，或把文件夹和文件的名称改短，再添加一次。";
constexpr const char* kLibraryUnreadable =
    "视频库文件“spconfiguration_file.ini”现在无法读取（可能正被其他程序占用），"
    "为了不丢失您的视频库，它保持原样。\r\n\r\n"
    "请关闭占用它的程序后再试一次。";
constexpr const char* kLibraryNotWritten =
    "视频库文件“spconfiguration_file.ini”无法写入（可能是只读文件，或程序所在的文件夹不能写入），"
    "它保持原样。\r\n\r\n"
    "请检查文件和文件夹的权限后再试一次。";

void showWarning(const std::wstring& text) {
  ::MessageBoxW(::GetActiveWindow(), text.c_str(), ansiToWide(kCaption).c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

std::wstring refusedChange(LibraryChange change) {
  return ansiToWide(change == LibraryChange::Add ? "视频没有添加。" : "视频没有删除。");
}

}  // namespace

void tellPathNotStorable(const std::wstring& widePath, AnsiPathProblem problem) {
  std::wstring text = ansiToWide(problem == AnsiPathProblem::Characters ? kNameNotStorable : kPathTooLong);
  if (!widePath.empty()) text += L"\r\n\r\n" + widePath;
  showWarning(text);
}

bool tellIfRefused(LibraryWrite written, LibraryChange change) {
  if (written != LibraryWrite::Unreadable && written != LibraryWrite::NotWritten) return false;
  showWarning(refusedChange(change) +
              ansiToWide(written == LibraryWrite::Unreadable ? kLibraryUnreadable : kLibraryNotWritten));
  return true;
}

}  // namespace qova
