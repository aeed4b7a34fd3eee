// The installer as a user or an administrator's script runs it, silently
// (/S): it installs per user into %LOCALAPPDATA%\Programs\QOVA Wallpaper with
// a Start menu shortcut and an uninstall registration under HKCU; the
// installed program starts beside the desktop-shell stand-in, plays its
// library with the real engine and ends on its exit hotkey; the uninstaller
// removes the program and keeps the user's data unless told to remove it.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <optional>
#include <set>
#include <string>

#include "library/LibraryRecord.h"
#include "runtime/UniqueHandle.h"
#include "runtime/WholeFile.h"
#include "tests/support/ShellStandin.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QOVA Wallpaper";
constexpr WPARAM kExitHotkey = 1;
// The program's start with Windows.
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "QOVA Wallpaper";

// What the installer puts into the program folder, and nothing else.
const std::set<std::string> kInstalledFiles = {
    "APlayerCaller.dll", "APlayerDecoder.exe", "ExuiKrnln.dll", "qova.exe",      "screenshot.dll", "skin_bf.ex",
    "skin_zt.ex",        "ico\\设置.png",        "ico\\删除.png",  "ico\\添加.png", "ico\\退出.png",  "uninstall.exe"};

std::string shellFolder(int csidl) {
  char path[MAX_PATH] = {};
  return SUCCEEDED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

std::string installFolder() { return shellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\QOVA Wallpaper"; }
std::string shortcutPath() { return shellFolder(CSIDL_PROGRAMS) + "\\QOVA Wallpaper.lnk"; }

// The installer the build made, in package/ beside bin/ (this test runs in bin/package/).
std::string installerPath() {
  return testProgramDirectory() + "\\..\\..\\package\\" QOVA_INSTALLER_NAME;
}

bool exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file below `folder`, named relative to it.
void collectFiles(const std::string& folder, const std::string& prefix, std::set<std::string>& files) {
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      collectFiles(folder + "\\" + name, prefix + name + "\\", files);
    else
      files.insert(prefix + name);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

std::set<std::string> filesIn(const std::string& folder) {
  std::set<std::string> files;
  collectFiles(folder, "", files);
  return files;
}

// A value of the uninstall registration; nullopt when it (or the key) is missing.
std::optional<std::string> registration(const char* name) {
  char value[1024] = {};
  DWORD size = sizeof value;
  if (::RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(value);
}

// The start with Windows value; nullopt when there is none.
std::optional<std::string> runValue() {
  char value[1024] = {};
  DWORD size = sizeof value;
  if (::RegGetValueA(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(value);
}

// As the program's settings view writes it.
void writeRunValue(const std::string& command) {
  ::RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue, REG_SZ, command.c_str(),
                    static_cast<DWORD>(command.size() + 1));
}

bool registered() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

// Where a shortcut points; empty when it cannot be read.
std::string shortcutTarget(const std::string& path) {
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.putVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid())))
    return {};
  const std::wstring widePath(path.begin(), path.end());  // the paths here are ASCII
  char target[MAX_PATH] = {};
  if (FAILED(file->Load(widePath.c_str(), STGM_READ)) || FAILED(link->GetPath(target, MAX_PATH, nullptr, 0)))
    return {};
  return target;
}

class Installer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_TRUE(exists(installerPath())) << installerPath();
    removeEverything();
    ASSERT_FALSE(exists(installFolder())) << "left from an earlier run";
    TestProcess setup(installerPath(), "/S");
    ASSERT_TRUE(setup.started());
    const auto exitCode = setup.waitForExit(180s);
    ASSERT_TRUE(exitCode.has_value()) << "the installer did not finish";
    ASSERT_EQ(*exitCode, 0u);
  }

  void TearDown() override {
    removeEverything();
    // The next start of the Wine prefix would run whatever is left here.
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue);
    ::CoUninitialize();
  }

  // Runs the registered uninstaller silently with `options` and waits until
  // it has finished: it runs from a copy of itself in the temporary folder,
  // and removes the registration as its last step.
  ::testing::AssertionResult uninstall(const std::string& options) {
    const std::optional<std::string> command = registration("QuietUninstallString");
    if (!command) return ::testing::AssertionFailure() << "no QuietUninstallString";
    const std::string uninstaller = command->substr(1, command->find('"', 1) - 1);
    TestProcess process(uninstaller, "/S " + options);
    if (!process.started()) return ::testing::AssertionFailure() << "cannot start " << uninstaller;
    process.waitForExit(60s);
    if (!waitUntil([] { return !registered(); }, 120s))
      return ::testing::AssertionFailure() << "the registration is still there";
    return ::testing::AssertionSuccess();
  }

  // The installed program playing one clip inside the shell stand-in's layer.
  struct Playing {
    ShellStandin shell;
    TempFolder videos{"qova_videos"};
    TestProcess program;
    HWND mainWindow = nullptr;
  };

  // Writes a library of one real clip (copied into `videos`), starts the
  // installed program and waits until its panel exists and its player window
  // (the real engine's) is in the shell's layer.
  void startPlaying(Playing& playing) {
    ASSERT_TRUE(playing.shell.ready()) << playing.shell.logText();
    const std::string clip = playing.videos.file("clip.mp4");
    ASSERT_TRUE(copyFileTo(testProgramDirectory() + "\\..\\media\\clip_testsrc.mp4", clip));
    writeWholeFile(installFolder() + "\\spconfiguration_file.ini", libraryRecord(clip, "", "clip"));
    TestProcess& program = playing.program;
    program = TestProcess(installFolder() + "\\qova.exe", "");
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(waitUntil(
        [&] { return (playing.mainWindow = findProcessWindow(program.id(), "QovaMainWindow")) != nullptr; }, 30s))
        << "the installed program shows no window";
    const DWORD id = program.id();
    ASSERT_TRUE(waitUntil(
        [&] {
          for (HWND child : childWindows(playing.shell.worker())) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(child, &owner);
            if (owner == id) return true;
          }
          return false;
        },
        30s))
        << "no player in the desktop layer";
  }

  // The program ends within `timeout` with exit code 0, its player gone from the layer.
  static void expectEndedCleanly(Playing& playing, std::chrono::seconds timeout, const char* stillRunning) {
    const auto exitCode = playing.program.waitForExit(timeout);
    ASSERT_TRUE(exitCode.has_value()) << stillRunning;
    EXPECT_EQ(*exitCode, 0u) << "ended the orderly way, as its exit hotkey ends it";
    EXPECT_TRUE(childWindows(playing.shell.worker()).empty()) << "the player was left behind";
  }

  void writeUserData() const {
    writeWholeFile(installFolder() + "\\To_configure.ini", "[程序设置]\r\n播放音量=40\r\n");
    writeWholeFile(installFolder() + "\\spconfiguration_file.ini",
                   libraryRecord("C:\\videos\\a.mp4", installFolder() + "\\thumbs\\a_1.jpg", "a"));
    ::CreateDirectoryA((installFolder() + "\\thumbs").c_str(), nullptr);
    writeWholeFile(installFolder() + "\\thumbs\\a_1.jpg", "a thumbnail");
  }

 private:
  // Uninstalls what an earlier test left, with the user's data, and removes the folder.
  void removeEverything() {
    if (registered()) {
      EXPECT_TRUE(uninstall("/REMOVEUSERDATA"));
    }
    if (!exists(installFolder())) return;
    std::string from = installFolder();
    from.push_back('\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationA(&op);
  }
};

TEST_F(Installer, InstallsPerUserRunsTheProgramAndUninstallsLeavingNothing) {
  // The program folder, the shortcut and the registration.
  EXPECT_EQ(filesIn(installFolder()), kInstalledFiles);
  EXPECT_EQ(shortcutTarget(shortcutPath()), installFolder() + "\\qova.exe");
  EXPECT_EQ(registration("DisplayName"), "QOVA Wallpaper");
  EXPECT_EQ(registration("DisplayVersion"), QOVA_VERSION);
  EXPECT_EQ(registration("InstallLocation"), installFolder());
  EXPECT_EQ(registration("UninstallString"), "\"" + installFolder() + "\\uninstall.exe\"");
  EXPECT_EQ(registration("DisplayIcon"), installFolder() + "\\qova.exe,0");

  // The installed program plays a library with the real engine inside the shell's layer.
  Playing playing;
  ASSERT_NO_FATAL_FAILURE(startPlaying(playing));
  EXPECT_EQ(findProcessWindow(playing.program.id(), "#32770"), nullptr) << "a message box came up";
  ::PostMessageA(playing.mainWindow, WM_HOTKEY, kExitHotkey, 0);
  expectEndedCleanly(playing, 30s, "it did not end on its exit hotkey");

  // Removing it with the user's data leaves nothing behind, its start with Windows included.
  writeRunValue("\"" + installFolder() + "\\qova.exe\"");
  ASSERT_TRUE(uninstall("/REMOVEUSERDATA"));
  EXPECT_EQ(runValue(), std::nullopt);
  EXPECT_TRUE(waitUntil([] { return !exists(installFolder()); }, 20s))
      << "left: " << ::testing::PrintToString(filesIn(installFolder()));
  EXPECT_FALSE(exists(shortcutPath()));
}

TEST_F(Installer, SilentUninstallRemovesTheProgramAndKeepsTheUsersData) {
  writeUserData();
  const std::string library = readWholeFile(installFolder() + "\\spconfiguration_file.ini");
  const std::string portableCopy = "\"C:\\portable\\QOVA\\qova.exe\"";
  writeRunValue(portableCopy);
  ASSERT_TRUE(uninstall(""));
  EXPECT_EQ(runValue(), portableCopy) << "another copy's start with Windows stays";
  EXPECT_EQ(filesIn(installFolder()),
            (std::set<std::string>{"To_configure.ini", "spconfiguration_file.ini", "thumbs\\a_1.jpg"}));
  EXPECT_EQ(readWholeFile(installFolder() + "\\spconfiguration_file.ini"), library);
  EXPECT_FALSE(exists(shortcutPath()));

  // Installing again finds the library where it was.
  TestProcess setup(installerPath(), "/S");
  ASSERT_TRUE(setup.waitForExit(180s).has_value());
  EXPECT_EQ(readWholeFile(installFolder() + "\\spconfiguration_file.ini"), library);
  EXPECT_TRUE(exists(installFolder() + "\\qova.exe"));
}

TEST_F(Installer, UninstallingEndsARunningProgramTheOrderlyWayFirst) {
  Playing playing;
  ASSERT_NO_FATAL_FAILURE(startPlaying(playing));
  ASSERT_TRUE(uninstall(""));
  expectEndedCleanly(playing, 10s, "the program still runs");
  EXPECT_EQ(filesIn(installFolder()), std::set<std::string>{"spconfiguration_file.ini"});
}

TEST_F(Installer, UninstallingWithTwoCopiesRunningEndsOnlyItsOwnAndItsStartWithWindowsByAnyName) {
  // Another program holds Ctrl+Alt+End: neither copy gets it, and the
  // installed one must still end when the uninstaller asks.
  ASSERT_TRUE(::RegisterHotKey(nullptr, 0x51, MOD_CONTROL | MOD_ALT, VK_END));
  const struct HotkeyRelease {
    ~HotkeyRelease() { ::UnregisterHotKey(nullptr, 0x51); }
  } release;
  Playing playing;
  ASSERT_NO_FATAL_FAILURE(startPlaying(playing));
  // A portable copy in a folder of its own, started after the installed one:
  // its panel comes first among the windows.
  TempFolder portable{"qova_portable"};
  for (const std::string& name : kInstalledFiles) {
    if (name.find('\\') != std::string::npos || name == "uninstall.exe") continue;
    ASSERT_TRUE(copyFileTo(installFolder() + "\\" + name, portable.file(name))) << name;
  }
  ASSERT_TRUE(copyFileTo(testProgramDirectory() + "\\..\\media\\clip_testsrc.mp4", portable.file("clip.mp4")));
  writeWholeFile(portable.file("spconfiguration_file.ini"), libraryRecord(portable.file("clip.mp4"), "", "clip"));
  TestProcess other(portable.file("qova.exe"), "");
  ASSERT_TRUE(other.started());
  ASSERT_TRUE(waitUntil([&] { return findProcessWindow(other.id(), "QovaMainWindow") != nullptr; }, 30s));
  // The settings view writes the path as the program was started: here by its 8.3 name.
  char shortPath[MAX_PATH] = {};
  ASSERT_NE(::GetShortPathNameA((installFolder() + "\\qova.exe").c_str(), shortPath, MAX_PATH), 0u);
  ASSERT_NE(std::string(shortPath), installFolder() + "\\qova.exe");
  writeRunValue("\"" + std::string(shortPath) + "\"");

  ASSERT_TRUE(uninstall(""));
  EXPECT_EQ(playing.program.waitForExit(10s), std::optional<DWORD>(0)) << "the installed program still runs";
  EXPECT_TRUE(other.running()) << "the portable copy was ended";
  EXPECT_EQ(runValue(), std::nullopt);
  // TestProcess ends the portable copy.
}

}  // namespace
}  // namespace qova::test
