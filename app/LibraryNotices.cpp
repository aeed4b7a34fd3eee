#include "app/LibraryNotices.h"

#include <windows.h>

#include <algorithm>

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

bool askToDeleteMissingVideos(HWND owner, int count) {
  const std::wstring caption = ansiToWide(kCaption);
  if (count == 0) {
    ::MessageBoxW(owner, ansiToWide("视频库里没有失效的视频。").c_str(), caption.c_str(),
                  MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    return false;
  }
  const std::wstring question = ansiToWide("视频库里有 ") + std::to_wstring(count) +
                                ansiToWide(" 个视频的文件已不存在。要把它们从视频库中删除吗？\r\n\r\n"
                                           "其他视频和您的文件都不受影响。");
  return ::MessageBoxW(owner, question.c_str(), caption.c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES;
}

std::wstring addSummaryText(int added, const std::vector<std::pair<PassedOver, std::wstring>>& passedOver) {
  // Each reason with the files it holds; a long list shows its first few.
  constexpr size_t kNamesShown = 5;
  const std::pair<PassedOver, const char*> reasons[] = {
      {PassedOver::AlreadyThere, "已在视频库中"},
      {PassedOver::NotAVideo, "不是视频文件"},
      {PassedOver::NameNotStorable, "文件名无法保存（请改成只含中文、英文和数字的名称，或移到路径较短的文件夹）"},
      {PassedOver::CannotRead, "无法读取"},
  };
  std::wstring text = ansiToWide("已添加 ") + std::to_wstring(added) + ansiToWide(" 个视频。");
  if (!passedOver.empty())
    text += ansiToWide("\r\n\r\n没有添加 ") + std::to_wstring(passedOver.size()) + ansiToWide(" 个文件：");
  for (const auto& [reason, caption] : reasons) {
    const auto count = static_cast<size_t>(std::count_if(passedOver.begin(), passedOver.end(),
                                                         [&](const auto& each) { return each.first == reason; }));
    if (count == 0) continue;
    text += L"\r\n\r\n" + ansiToWide(caption) + ansiToWide("：") + std::to_wstring(count);
    size_t shown = 0;
    for (const auto& [eachReason, path] : passedOver) {
      if (eachReason != reason) continue;
      if (shown++ == kNamesShown) {
        text += L"\r\n  ……";
        break;
      }
      text += L"\r\n  " + path;
    }
  }
  return text;
}

void tellAddSummary(HWND owner, int added, const std::vector<std::pair<PassedOver, std::wstring>>& passedOver) {
  ::MessageBoxW(owner, addSummaryText(added, passedOver).c_str(), ansiToWide(kCaption).c_str(),
                MB_OK | MB_SETFOREGROUND | (passedOver.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
}

}  // namespace qova
