// The file dialogs of CommonDialog against the system's real dialogs: the
// test thread runs the dialog as the program does, a helper thread types into
// it and presses its buttons.
#include <gtest/gtest.h>
#include <windows.h>
#include <cderr.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/UniqueHandle.h"
#include "runtime/WholeFile.h"
#include "shell/CommonDialog.h"
#include "tests/shell/DialogDriver.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowSearch.h"

namespace {

using namespace std::string_literals;
using qova::test::DialogDriver;

constexpr const char* kVideoPatterns =
    "*.mp4;*.mov;*.mkv;*.avi;*.wmv;*.flv;*.rmvb;*.mp3;*.wav;*.wma;*.flac;*.ape";
const std::string kVideoFilterDisplay = "视频文件（"s + kVideoPatterns + "）";
const std::string kVideoFilter = kVideoFilterDisplay + "|" + kVideoPatterns;
constexpr const char* kAddVideoTitle = "添加视频文件:";

// What the helper thread saw of one dialog and its answer to a box it opened.
struct Seen {
  bool dialog = false;
  std::string title;
  std::vector<std::string> fileTypes;
  std::string fileName;
  HWND owner = nullptr;
  bool ownerEnabled = true;
  bool previewLibraryLoaded = false;
  bool typed = false;
  std::string boxText;  // empty when no box came up
};

// What the helper does: type `name` and press OK, or cancel when there is no
// name; a box that comes up after OK is answered with `boxAnswer`.
struct Action {
  std::optional<std::string> name;
  int boxAnswer = IDOK;
};

std::function<void(DialogDriver&)> answerWith(Seen& seen, Action action) {
  return [&seen, action](DialogDriver& driver) {
    HWND dialog = driver.waitForDialog(qova::test::kFileNameBox);
    if (!dialog) return;
    seen.dialog = true;
    seen.title = qova::test::titleOf(dialog);
    seen.fileTypes = qova::test::comboItems(::GetDlgItem(dialog, qova::test::kFileTypeBox));
    seen.fileName = qova::test::controlText(dialog, qova::test::kFileNameBox);
    seen.owner = ::GetWindow(dialog, GW_OWNER);
    seen.ownerEnabled = seen.owner && ::IsWindowEnabled(seen.owner);
    seen.previewLibraryLoaded = ::GetModuleHandleA("msvfw32.dll") != nullptr;
    if (!action.name) {
      qova::test::pressButton(dialog, IDCANCEL);
      return;
    }
    seen.typed = qova::test::typeFileName(dialog, *action.name);
    qova::test::pressButton(dialog, IDOK);
    if (HWND box = driver.boxOrClose(dialog)) {
      seen.boxText = qova::test::messageBoxText(box);
      if (seen.boxText.empty()) seen.boxText = qova::test::titleOf(box);
      qova::test::pressButton(box, action.boxAnswer);
    }
  };
}

std::string currentDirectory() {
  char path[MAX_PATH + 1] = {};
  ::GetCurrentDirectoryA(MAX_PATH, path);
  return path;
}

class FileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.mp4", "x.mp4", "y.mp4", "片段.mp4"})
      ASSERT_TRUE(qova::writeWholeFile(folder.file(name), "not really a video"));
  }

  // The program's own call, from the add-video flow.
  std::string addVideoDialog(Seen& seen, Action action, bool preview = false) {
    return qova::test::whileDriving<std::string>(answerWith(seen, std::move(action)), [&] {
      return dialogs.openFile(preview, kAddVideoTitle, "", kVideoFilter, folder.path() + "\\", "",
                              false, true, true, true);
    });
  }

  std::string openWith(Seen& seen, Action action, const std::string& initialName,
                       bool createPrompt, bool fileMustExist, bool keepDirectory) {
    return qova::test::whileDriving<std::string>(answerWith(seen, std::move(action)), [&] {
      return dialogs.openFile(false, "", initialName, kVideoFilter, folder.path(), "",
                              createPrompt, fileMustExist, true, keepDirectory);
    });
  }

  std::string saveWith(Seen& seen, Action action, const std::string& filter,
                       const std::string& defaultExtension, bool overwritePrompt,
                       bool preview = false) {
    return qova::test::whileDriving<std::string>(answerWith(seen, std::move(action)), [&] {
      return dialogs.saveFile(preview, "保存", "", filter, folder.path(),
                              defaultExtension, overwritePrompt, true, true);
    });
  }

  std::string openSeveral(Seen& seen, Action action) {
    return qova::test::whileDriving<std::string>(answerWith(seen, std::move(action)), [&] {
      return dialogs.openFiles(false, "选择视频", kVideoFilter, folder.path());
    });
  }

  qova::CommonDialog dialogs;
  qova::test::TempFolder folder{"视频"};
};

TEST(FileDialogRequest, TheAddVideoRequestAsTheDialogGetsIt) {
  qova::FileDialogRequest request(kAddVideoTitle, "", kVideoFilter, "C:\\users\\", "",
                                  qova::openFileFlags(false, true, true, true),
                                  qova::kSingleFileBufferSize);
  const OPENFILENAMEA& fields = request.fields();
  EXPECT_EQ(fields.Flags, 0x81808u);
  EXPECT_EQ(fields.lStructSize, OPENFILENAME_SIZE_VERSION_400A);
  EXPECT_EQ(fields.lStructSize, sizeof(void*) == 8 ? 136u : 76u);
  EXPECT_EQ(fields.hwndOwner, ::GetActiveWindow());
  EXPECT_EQ(std::string(fields.lpstrFilter, kVideoFilter.size() + 2),
            kVideoFilterDisplay + "\0"s + kVideoPatterns + "\0\0"s);
  EXPECT_EQ(fields.nMaxFile, 255u);
  EXPECT_EQ(request.buffer(), std::string(255, '\0'));
  EXPECT_STREQ(fields.lpstrTitle, kAddVideoTitle);
  EXPECT_STREQ(fields.lpstrInitialDir, "C:\\users\\");
  EXPECT_EQ(fields.lpstrDefExt, nullptr);
  EXPECT_EQ(fields.lpstrFileTitle, nullptr);
  EXPECT_EQ(fields.lpfnHook, nullptr);
  EXPECT_EQ(fields.FlagsEx, 0u);
}

TEST(FileDialogRequest, OneFlagBitPerTrueArgumentOverExplorer) {
  EXPECT_EQ(qova::openFileFlags(false, false, false, false), 0x80000u);
  EXPECT_EQ(qova::openFileFlags(true, false, false, false), 0x82000u);
  EXPECT_EQ(qova::openFileFlags(false, true, false, false), 0x81000u);
  EXPECT_EQ(qova::openFileFlags(false, false, true, false), 0x80800u);
  EXPECT_EQ(qova::openFileFlags(false, false, false, true), 0x80008u);
  EXPECT_EQ(qova::saveFileFlags(true, false, false), 0x80002u);
  EXPECT_EQ(qova::saveFileFlags(false, true, false), 0x80800u);
  EXPECT_EQ(qova::saveFileFlags(false, false, true), 0x80008u);
  EXPECT_EQ(qova::kOpenFilesFlags, 0x80208u);
}

TEST(FileDialogRequest, DefaultExtensionAndInitialNameReachTheStructure) {
  qova::FileDialogRequest request("", "clip.mp4", "", "", "mp4", OFN_EXPLORER,
                                  qova::kMultipleFileBufferSize);
  EXPECT_STREQ(request.fields().lpstrDefExt, "mp4");
  EXPECT_EQ(request.fields().nMaxFile, 4096u);
  EXPECT_STREQ(request.fields().lpstrFile, "clip.mp4");
  EXPECT_EQ(request.buffer().size(), 4096u);
  EXPECT_EQ(std::string(request.fields().lpstrFilter, 2), "\0\0"s);
}

TEST(FileDialogRequest, The32BitSizeOf76IsRefusedByThe64BitDialog) {
  static_assert(sizeof(void*) == 8, "76 is the right size in a 32-bit program");
  qova::FileDialogRequest request("", "", "A|*.a", "", "", OFN_EXPLORER,
                                  qova::kSingleFileBufferSize);
  request.get()->lStructSize = 76;
  Seen seen;
  const BOOL result = qova::test::whileDriving<BOOL>(answerWith(seen, {}), [&] {
    return ::GetOpenFileNameA(request.get());
  });
  EXPECT_EQ(result, FALSE);
  EXPECT_EQ(::CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  EXPECT_FALSE(seen.dialog);
}

TEST_F(FileDialog, AddVideoReturnsTheFullPathOfTheChosenFile) {
  Seen seen;
  EXPECT_EQ(addVideoDialog(seen, {"a.mp4"}), folder.file("a.mp4"));
  ASSERT_TRUE(seen.dialog);
  EXPECT_TRUE(seen.typed);
  EXPECT_EQ(seen.title, kAddVideoTitle);
  EXPECT_EQ(seen.fileTypes, std::vector<std::string>{kVideoFilterDisplay});
  EXPECT_EQ(seen.fileName, "");
  EXPECT_EQ(seen.boxText, "");
}

TEST_F(FileDialog, AddVideoTakesAFullPathAndAChineseName) {
  Seen seen;
  EXPECT_EQ(addVideoDialog(seen, {folder.file("片段.mp4")}), folder.file("片段.mp4"));
  EXPECT_EQ(seen.boxText, "");
}

TEST_F(FileDialog, CancellingGivesEmptyText) {
  Seen seen;
  EXPECT_EQ(addVideoDialog(seen, {}), "");
  EXPECT_TRUE(seen.dialog);
}

TEST_F(FileDialog, AMissingFileIsRefusedWhenItMustExist) {
  Seen refused;
  EXPECT_EQ(addVideoDialog(refused, {"missing.mp4"}), "");
  EXPECT_NE(refused.boxText, "") << "the dialog should have said the file does not exist";

  Seen accepted;
  EXPECT_EQ(openWith(accepted, {"missing.mp4"}, "", false, false, true), folder.file("missing.mp4"));
  EXPECT_EQ(accepted.boxText, "");
}

TEST_F(FileDialog, CreatePromptAsksBeforeAcceptingAMissingFile) {
  Seen seen;
  EXPECT_EQ(openWith(seen, {"new.mp4", IDYES}, "", true, false, true), folder.file("new.mp4"));
  EXPECT_NE(seen.boxText, "") << "the dialog should have asked whether to create the file";
}

TEST_F(FileDialog, PreviewDialogComesFromTheSystemsVideoForWindows) {
  Seen seen;
  EXPECT_EQ(addVideoDialog(seen, {"x.mp4"}, true), folder.file("x.mp4"));
  EXPECT_TRUE(seen.previewLibraryLoaded);
  EXPECT_EQ(seen.title, kAddVideoTitle);
  EXPECT_EQ(::GetModuleHandleA("msvfw32.dll"), nullptr) << "released after the dialog";

  Seen plain;
  EXPECT_EQ(addVideoDialog(plain, {"x.mp4"}, false), folder.file("x.mp4"));
  EXPECT_FALSE(plain.previewLibraryLoaded);
}

TEST_F(FileDialog, TheInitialFileNameIsOfferedAndCutTo254Bytes) {
  Seen offered;
  EXPECT_EQ(openWith(offered, {"a.mp4"}, "a.mp4", false, true, true), folder.file("a.mp4"));
  EXPECT_EQ(offered.fileName, "a.mp4");

  Seen cut;
  EXPECT_EQ(openWith(cut, {}, std::string(300, 'n'), false, true, true), "");
  EXPECT_EQ(cut.fileName, std::string(254, 'n'));
}

TEST_F(FileDialog, KeepDirectoryLeavesTheCurrentFolderAlone) {
  const std::string before = currentDirectory();
  Seen seen;
  EXPECT_EQ(openWith(seen, {"a.mp4"}, "", false, true, true), folder.file("a.mp4"));
  EXPECT_EQ(currentDirectory(), before);

  Seen moving;
  EXPECT_EQ(openWith(moving, {"a.mp4"}, "", false, true, false), folder.file("a.mp4"));
  const std::string after = currentDirectory();
  ::SetCurrentDirectoryA(before.c_str());
  EXPECT_EQ(after, folder.path()) << "without keep-directory the dialog moves to the file's folder";
}

TEST_F(FileDialog, TheActiveWindowOwnsTheDialogAndIsDisabledMeanwhile) {
  qova::UniqueHwnd owner(::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                           0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(owner);
  ::SetActiveWindow(owner.get());
  ASSERT_EQ(::GetActiveWindow(), owner.get());
  Seen seen;
  EXPECT_EQ(addVideoDialog(seen, {}), "");
  EXPECT_EQ(seen.owner, owner.get());
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_TRUE(::IsWindowEnabled(owner.get()));
}

TEST_F(FileDialog, SaveReturnsTheTypedPathWithTheDefaultExtension) {
  Seen typed;
  EXPECT_EQ(saveWith(typed, {folder.file("new.mp4")}, "A|*.a|B|*.b", "", false),
            folder.file("new.mp4"));
  EXPECT_EQ(typed.title, "保存");
  EXPECT_EQ(typed.fileTypes, (std::vector<std::string>{"A", "B"}));

  Seen defaultExtension;
  EXPECT_EQ(saveWith(defaultExtension, {"clip"}, "全部|*.*", "mp4", false),
            folder.file("clip.mp4"));

  Seen cancelled;
  EXPECT_EQ(saveWith(cancelled, {}, "", "mp4", false), "");
}

TEST_F(FileDialog, SaveAsksBeforeOverwritingOnlyWhenTold) {
  Seen asked;
  EXPECT_EQ(saveWith(asked, {"a.mp4", IDYES}, kVideoFilter, "", true), folder.file("a.mp4"));
  EXPECT_NE(asked.boxText, "");

  Seen declined;
  EXPECT_EQ(saveWith(declined, {"a.mp4", IDNO}, kVideoFilter, "", true), "");
  EXPECT_NE(declined.boxText, "");

  Seen silent;
  EXPECT_EQ(saveWith(silent, {"a.mp4"}, kVideoFilter, "", false), folder.file("a.mp4"));
  EXPECT_EQ(silent.boxText, "");
}

TEST_F(FileDialog, SavePreviewDialogComesFromTheSystemsVideoForWindows) {
  Seen seen;
  EXPECT_EQ(saveWith(seen, {"b.mp4"}, kVideoFilter, "", false, true), folder.file("b.mp4"));
  EXPECT_TRUE(seen.previewLibraryLoaded);
}

TEST_F(FileDialog, OpenFilesReturnsOneFullPathPerLine) {
  Seen one;
  EXPECT_EQ(openSeveral(one, {"x.mp4"}), folder.file("x.mp4"));
  EXPECT_EQ(one.title, "选择视频");

  Seen two;
  EXPECT_EQ(openSeveral(two, {"\"x.mp4\" \"y.mp4\""}),
            folder.file("x.mp4") + "\r\n" + folder.file("y.mp4"));

  Seen chinese;
  EXPECT_EQ(openSeveral(chinese, {"\"片段.mp4\" \"a.mp4\""}),
            folder.file("片段.mp4") + "\r\n" + folder.file("a.mp4"));

  Seen cancelled;
  EXPECT_EQ(openSeveral(cancelled, {}), "");
}

}  // namespace
