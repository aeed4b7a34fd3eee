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
#include "shell/CommonDialog.h"

namespace qova {
namespace {

const OutsideFunction<ScreenshotFunction> makeThumbnail{kScreenshotLibrary, kScreenshotExport};

constexpr const char* kAddVideoTitle = "添加视频文件:";
constexpr const char* kVideoFilter =
    "视频文件（*.mp4;*.mov;*.mkv;*.avi;*.wmv;*.flv;*.rmvb;*.mp3;*.wav;*.wma;*.flac;*.ape）"
    "|*.mp4;*.mov;*.mkv;*.avi;*.wmv;*.flv;*.rmvb;*.mp3;*.wav;*.wma;*.flac;*.ape";

// The user's desktop folder with a trailing backslash; empty when it is not found.
std::string desktopFolder() {
  char folder[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_DESKTOPDIRECTORY, FALSE)) return {};
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path.push_back('\\');
  return path;
}

}  // namespace

void addVideo(VideoLibrary& library, HWND libraryWindow) {
  PatternMatcher matcher;
  // The Unicode dialog gives the file's true name, which the ANSI one would
  // hand back with '?' for every character the code page lacks.
  const ChosenFile chosen =
      CommonDialog().openFileUnicode(kAddVideoTitle, kVideoFilter, desktopFolder(), true, true, true);
  if (chosen.tooLong) {
    tellPathNotStorable({}, AnsiPathProblem::Length);
    return;
  }
  if (chosen.path.empty()) return;
  const AnsiPath video = ansiPathOf(chosen.path);
  if (video.problem != AnsiPathProblem::None) {
    tellPathNotStorable(chosen.path, video.problem);
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
