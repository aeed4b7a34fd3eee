#include "library/AddVideo.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "engines/pattern/PatternMatcher.h"
#include "library/LibraryFile.h"
#include "library/LibraryList.h"
#include "outside/screenshot/ScreenshotContract.h"
#include "runtime/OutsideFunction.h"
#include "shell/CommonDialog.h"

namespace qova {
namespace {

const OutsideFunction<ScreenshotFunction> makeThumbnail{kScreenshotLibrary, kScreenshotExport};

constexpr const char* kAddVideoTitle = "添加视频文件:";
constexpr const char* kVideoFilter =
    "视频文件（*.mp4;*.mov;*.mkv;*.avi;*.wmv;*.flv;*.rmvb;*.mp3;*.wav;*.wma;*.flac;*.ape）"
    "|*.mp4;*.mov;*.mkv;*.avi;*.wmv;*.flv;*.rmvb;*.mp3;*.wav;*.wma;*.flac;*.ape";
// The frame-capture library answers "#<" name ">#<" image path ">".
constexpr const char* kThumbnailAnswerPattern = "#<(.*?)>#<(.*?)>";

// The user's desktop folder with a trailing backslash; empty when it is not found.
std::string desktopFolder() {
  char folder[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_DESKTOPDIRECTORY, FALSE)) return {};
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path.push_back('\\');
  return path;
}

}  // namespace

void addVideo() {
  PatternMatcher matcher;
  const std::string videoPath =
      CommonDialog().openFile(false, kAddVideoTitle, "", kVideoFilter, desktopFolder(), "", false,
                              true, true, true);
  if (videoPath.empty()) return;

  const char* answer = makeThumbnail(videoPath.c_str());
  const std::string text = answer ? answer : "";
  matcher.run(kThumbnailAnswerPattern, text);
  if (matcher.matchCount() == 0) return;
  const std::string thumbnailPath = matcher.groupText(1, 2);
  const std::string name = matcher.groupText(1, 1);

  appendLibraryRecord(videoPath, thumbnailPath, name);
  reloadLibrary();
  refillLibraryList();
}

}  // namespace qova
