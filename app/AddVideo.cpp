#include "app/AddVideo.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "app/LibraryNotices.h"
#include "app/LibraryWindow.h"
#include "engines/pattern/PatternMatcher.h"
#include "library/LibraryFile.h"
#include "library/ThumbnailAnswer.h"
#include "library/UnusedThumbnail.h"
#include "outside/screenshot/ScreenshotContract.h"
#include "runtime/AnsiPath.h"
#include "runtime/OutsideFunction.h"
#include "runtime/AnsiText.h"
#include "shell/CommonDialog.h"
#include "shell/FolderDialog.h"

namespace qova {
namespace {

const OutsideFunction<ScreenshotFunction> makeThumbnail{kScreenshotLibrary, kScreenshotExport};

constexpr const char* kAddVideoTitle = "添加视频文件:";
constexpr const char* kAddFolderTitle = "添加文件夹:";

}  // namespace

const char* const kVideoFilter =
    "视频文件（*.mp4;*.mov;*.mkv;*.avi;*.wmv;*.flv;*.rmvb;*.mp3;*.wav;*.wma;*.flac;*.ape）"
    "|*.mp4;*.mov;*.mkv;*.avi;*.wmv;*.flv;*.rmvb;*.mp3;*.wav;*.wma;*.flac;*.ape";

namespace {

// The user's desktop folder with a trailing backslash; empty when it is not found.
std::string desktopFolder() {
  char folder[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_DESKTOPDIRECTORY, FALSE)) return {};
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path.push_back('\\');
  return path;
}

}  // namespace

std::vector<std::wstring> addVideo(VideoLibrary& library, HWND libraryWindow) {
  // The Unicode dialog gives the file's true name, which the ANSI one would
  // hand back with '?' for every character the code page lacks.
  ChosenFiles chosen = CommonDialog().openFilesUnicode(kAddVideoTitle, kVideoFilter, desktopFolder());
  if (chosen.paths.size() > 1) return std::move(chosen.paths);
  // A path the single-file dialog could not hand over stays refused.
  if (chosen.tooLong || (!chosen.paths.empty() && chosen.paths.front().size() >= kSingleFileBufferSize)) {
    tellPathNotStorable({}, AnsiPathProblem::Length);
    return {};
  }
  if (chosen.paths.empty()) return {};
  addChosenVideo(library, libraryWindow, chosen.paths.front());
  return {};
}

std::wstring chooseVideoFolder() { return chooseFolder(kAddFolderTitle, ansiToWide(desktopFolder())); }

void addChosenVideo(VideoLibrary& library, HWND libraryWindow, const std::wstring& chosenPath) {
  PatternMatcher matcher;
  const AnsiPath video = ansiPathOf(chosenPath);
  if (video.problem != AnsiPathProblem::None) {
    tellPathNotStorable(chosenPath, video.problem);
    return;
  }
  const std::string& videoPath = video.path;

  const char* answer = makeThumbnail(videoPath.c_str());
  const auto thumbnail = readThumbnailAnswer(matcher, answer ? answer : "");
  if (!thumbnail) return;

  if (tellIfRefused(appendLibraryRecord(videoPath, thumbnail->thumbnailPath, thumbnail->name),
                    LibraryChange::Add)) {
    // No record names the picture just made for it: it goes too.
    deleteThumbnailIfUnused(thumbnail->thumbnailPath, library.thumbnailPaths);
    return;
  }
  reloadLibrary(library);
  refillLibraryList(libraryWindow, library);
}

}  // namespace qova
