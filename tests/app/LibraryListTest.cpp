// The library window's list as the program's start-up fills it, with real
// mouse input: one item per entry showing its thumbnail, a click plays that
// entry, and "删除该项" from an item's right-click removes exactly that entry
// from the list and the file without ever playing it. Files dropped on the
// window are appended; an entry whose file is gone shows as missing until
// "删除失效的视频" removes it.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engines/ExuiBinding.h"
#include "library/LibraryFile.h"
#include "library/LibraryRecord.h"
#include "runtime/AnsiText.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/UniqueHandle.h"
#include "runtime/WholeFile.h"
#include "shell/Layouts.h"
#include "tests/app/ProgramInProcess.h"
#include "tests/outside/exui/ExuiHelpers.h"
#include "tests/outside/exui/Input.h"
#include "tests/outside/exui/TestPictures.h"
#include "tests/shell/DialogDriver.h"
#include "tests/support/MenuCloser.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowPhotograph.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

bool sameColour(uint32_t a, uint32_t b) {
  for (int shift : {0, 8, 16}) {
    const int x = static_cast<int>((a >> shift) & 0xFF);
    const int y = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(x - y) > 12) return false;
  }
  return true;
}

class LibraryList : public ProgramInProcess {
 protected:
  HWND list() const { return libraryList(); }
  POINT itemMiddle(int index) const { return libraryItemMiddle(index); }

  // Which thumbnail colour covers each item's cell (-1: none, or more than one).
  std::vector<int> thumbnailsShown(int items) {
    ::SetCursorPos(5, 5);  // no hover look
    const Pixels shot = settledCapture(list(), [&] { return captureClient(list()); });
    std::vector<int> shown;
    for (int i = 0; i < items; ++i) {
      const RECT cell = itemRect(controlOf(list()), i);
      int counts[3] = {};
      for (LONG y = std::max(0L, cell.top); y < std::min<LONG>(shot.height, cell.bottom); ++y)
        for (LONG x = std::max(0L, cell.left); x < std::min<LONG>(shot.width, cell.right); ++x)
          for (int c = 0; c < 3; ++c) counts[c] += sameColour(shot.at(x, y), kThumbnailColours[c]) ? 1 : 0;
      const int area = (cell.right - cell.left) * (cell.bottom - cell.top);
      int colour = -1;
      for (int c = 0; c < 3; ++c) {
        if (counts[c] * 4 >= area) colour = colour == -1 ? c : -2;
      }
      shown.push_back(colour < 0 ? -1 : colour);
    }
    return shown;
  }
};

TEST_F(LibraryList, ThreeEntriesShowThreeItemsWithTheirThumbnails) {
  start();
  EXPECT_EQ(listItemCount(list()), 3);
  showLibraryWindow();
  EXPECT_EQ(thumbnailsShown(3), (std::vector<int>{0, 1, 2}));
}

TEST_F(LibraryList, ClickingTheFirstItemOpensEntryOne) {
  start();
  showLibraryWindow();
  endPlayingFile();  // the first video ended: entry 2 plays
  ASSERT_EQ(program->library.currentIndex, 2);
  mark();
  const POINT first = itemMiddle(0);
  realClick(first.x, first.y);
  ASSERT_TRUE(settleUntil([&] { return program->library.currentIndex == 1; })) << callsSinceMark();
  EXPECT_EQ(callsSinceMark(), engineCall("APlayer_OpenA", videos[0]));
}

TEST_F(LibraryList, DeletingTheSecondItemRemovesExactlyItsRecordAndNeverPlaysIt) {
  start();
  showLibraryWindow();
  ASSERT_EQ(program->library.currentIndex, 1);
  const std::string records[3] = {libraryRecord(videos[0], thumbnails[0], "海边"),
                                  libraryRecord(videos[1], thumbnails[1], "城市"),
                                  libraryRecord(videos[2], thumbnails[2], "雪山")};
  ASSERT_EQ(readWholeFile(libraryFilePath()), records[0] + records[1] + records[2]);
  mark();
  {
    // "删除该项" is the item menu's first item.
    MenuCloser menus(::GetCurrentProcessId(), {VK_DOWN, VK_RETURN});
    const POINT second = itemMiddle(1);
    realPress(second.x, second.y, Button::Right);
    ASSERT_TRUE(settleUntil([&] { return listItemCount(list()) == 2; })) << "menus shown: " << menus.menusShown();
    realRelease(Button::Right);
    pumpMessagesFor(300ms);
    EXPECT_EQ(menus.menusShown(), 1) << "the item's menu only, never the application menu as well";
  }
  EXPECT_EQ(readWholeFile(libraryFilePath()), records[0] + records[2]);
  EXPECT_EQ(thumbnailsShown(2), (std::vector<int>{0, 2})) << "the others keep their order";
  EXPECT_EQ(callsSinceMark(), engineCall("APlayer_OpenA", videos[2]));
  EXPECT_EQ(program->library.videoCount, 2);
  EXPECT_EQ(program->library.videoPathAt(program->library.currentIndex), videos[2]) << "the position names what plays";

  // Playing on from there reaches entry 1 and the deleted video stays gone.
  mark();
  endPlayingFile();
  endPlayingFile();
  EXPECT_EQ(callsSinceMark(), engineCall("APlayer_OpenA", videos[0]) + engineCall("APlayer_OpenA", videos[2]));

  // The next right-click, on empty space, shows the application menu.
  MenuCloser menus;
  RECT client{};
  ::GetClientRect(list(), &client);
  POINT empty{40, client.bottom - 20};
  ::ClientToScreen(list(), &empty);
  realClick(empty.x, empty.y, Button::Right);
  EXPECT_TRUE(settleUntil([&] { return menus.menusShown() == 1; }, 5s));

  // The menu key opens it from the keyboard, at the list's corner rather than at the pointer.
  ::SetCursorPos(0, 0);
  realKey(VK_APPS);
  ASSERT_TRUE(settleUntil([&] { return menus.menusShown() == 2; }, 5s));
  RECT shown = menus.lastMenuRect();
  ::InflateRect(&shown, 1, 1);
  RECT listArea{};
  ::GetWindowRect(list(), &listArea);
  const POINT corner{listArea.left + 8, listArea.top + 8};  // 8 pixels in, at 96 DPI
  EXPECT_TRUE(::PtInRect(&shown, corner)) << "the menu shows at " << shown.left << "," << shown.top;
  EXPECT_FALSE(::PtInRect(&shown, POINT{0, 0}));
  realChord({VK_SHIFT}, VK_F10);
  EXPECT_TRUE(settleUntil([&] { return menus.menusShown() == 3; }, 5s)) << "Shift+F10 opens it as well";
}

TEST_F(LibraryList, DeletingWhileAnotherProgramHoldsTheFileChangesNothingAndSaysSo) {
  start();
  const std::string before = readWholeFile(libraryFilePath());
  std::string message;
  mark();
  {
    UniqueFile held(::CreateFileA(libraryFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    whileDriving<int>(
        [&](DialogDriver& driver) {
          if (HWND box = driver.waitForDialog(kMessageBoxTextId)) {
            message = messageBoxText(box);
            pressButton(box, IDOK);
          }
        },
        [&] {
          program->deleteLibraryEntry(1);
          return 0;
        });
  }
  EXPECT_NE(message.find("视频没有删除"), std::string::npos) << message;
  EXPECT_EQ(readWholeFile(libraryFilePath()), before);
  EXPECT_EQ(program->library.videoCount, 3);
  EXPECT_EQ(listItemCount(list()), 3);
  EXPECT_EQ(callsSinceMark(), "") << "what plays goes on";
}

// Files as Explorer drops them: a DROPFILES block with the UTF-16 paths, each
// ended by a NUL and the list by another.
HDROP dropOf(const std::vector<std::string>& paths) {
  std::wstring list;
  for (const std::string& path : paths) list += ansiToWide(path) + L'\0';
  list += L'\0';
  HGLOBAL block = ::GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
  ::GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

TEST_F(LibraryList, FilesAndAFolderDroppedOnTheWindowAreAppendedInOrderWithOneSummary) {
  start();
  // The scripted frame-capture library beside this test program names every video "片段".
  ASSERT_TRUE(writeWholeFile(programFile("screenshot_answer.txt"), "#<片段>#<" + thumbnails[0] + ">"));
  const std::string folder = programFile("dropped");
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string loose = programFile("loose.mp4"), b = folder + "\\b.mkv", a = folder + "\\a.mp4",
                    notes = folder + "\\notes.txt";
  for (const std::string& file : {loose, b, a, notes}) ASSERT_TRUE(writeWholeFile(file, "stands for a video"));
  const std::string before = readWholeFile(libraryFilePath());

  std::string summary;
  whileDriving<int>(
      [&](DialogDriver& driver) {
        if (HWND box = driver.waitForDialog(kMessageBoxTextId, 60s)) {
          summary = messageBoxText(box);
          pressButton(box, IDOK);
        }
      },
      [&] {
        ::PostMessageW(libraryWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf({loose, folder, videos[1]})), 0);
        settleUntil([&] { return !summary.empty() && !program->adding.running(); }, 60s);
        return 0;
      });
  EXPECT_EQ(summary, "已添加 3 个视频。\r\n\r\n没有添加 2 个文件：\r\n\r\n已在视频库中：1\r\n  " + videos[1] +
                         "\r\n\r\n不是视频文件：1\r\n  " + notes);
  EXPECT_EQ(readWholeFile(libraryFilePath()), before + libraryRecord(loose, thumbnails[0], "片段") +
                                                  libraryRecord(a, thumbnails[0], "片段") +
                                                  libraryRecord(b, thumbnails[0], "片段"));
  EXPECT_EQ(program->library.videoCount, 6);
  EXPECT_EQ(listItemCount(list()), 6);
  EXPECT_TRUE(::IsWindowVisible(libraryWindow)) << "a drop shows what it added";
  for (const std::string& file : {loose, b, a, notes, programFile("screenshot_answer.txt")}) ::DeleteFileA(file.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

TEST_F(LibraryList, AVideoDeletedShowsAsMissingAndDeletingMissingVideosRemovesItAndItsThumbnailOnly) {
  // The second entry's thumbnail where the frame-capture library puts them.
  const std::string thumbs = programFile("thumbs");
  ::CreateDirectoryA(thumbs.c_str(), nullptr);
  const std::string gonePicture = thumbs + "\\城市_0123456789abcdef.png";
  ASSERT_TRUE(::CopyFileA(thumbnails[1].c_str(), gonePicture.c_str(), FALSE));
  const std::string kept[2] = {libraryRecord(videos[0], thumbnails[0], "海边"), libraryRecord(videos[2], thumbnails[2], "雪山")};
  ASSERT_TRUE(writeWholeFile(libraryFilePath(), kept[0] + libraryRecord(videos[1], gonePicture, "城市") + kept[1]));
  start();
  ASSERT_TRUE(::DeleteFileA(videos[1].c_str()));

  showLibraryWindow();
  EXPECT_EQ(program->library.videoCount, 2) << "the missing video is no entry to play";
  ASSERT_EQ(listItemCount(list()), 3) << "but it shows";
  EXPECT_EQ(thumbnailsShown(3), (std::vector<int>{0, 2, -1})) << "last, with the placeholder";

  std::string question;
  whileDriving<int>(
      [&](DialogDriver& driver) {
        if (HWND box = driver.waitForDialog(kMessageBoxTextId)) {
          question = messageBoxText(box);
          pressButton(box, IDYES);
        }
      },
      [&] {
        program->deleteMissingVideos();
        return 0;
      });
  EXPECT_NE(question.find("1 个视频的文件已不存在"), std::string::npos) << question;
  EXPECT_EQ(readWholeFile(libraryFilePath()), kept[0] + kept[1]);
  EXPECT_EQ(::GetFileAttributesA(gonePicture.c_str()), INVALID_FILE_ATTRIBUTES) << "its thumbnail went too";
  for (int i : {0, 2}) EXPECT_NE(::GetFileAttributesA(thumbnails[i].c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(listItemCount(list()), 2);
  EXPECT_EQ(thumbnailsShown(2), (std::vector<int>{0, 2}));
  ::RemoveDirectoryA(thumbs.c_str());
}

}  // namespace
}  // namespace qova::test
