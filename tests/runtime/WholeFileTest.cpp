#include "runtime/WholeFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "runtime/FileLock.h"
#include "runtime/ProgramDirectory.h"
#include "tests/support/TempFolder.h"

namespace {

using qova::test::TempFolder;

TEST(WholeFile, MissingFileReadsEmpty) {
  TempFolder folder;
  EXPECT_EQ(qova::readWholeFile(folder.file("absent.bin")), "");
}

TEST(WholeFile, WriteTruncatesAndRoundTripsBinaryBytes) {
  TempFolder folder;
  const std::string path = folder.file("data.bin");
  ASSERT_TRUE(qova::writeWholeFile(path, std::string(5000, 'x')));
  const std::string bytes("\x00\xff\r\n\xca\xd3 end", 9);
  ASSERT_TRUE(qova::writeWholeFile(path, bytes));
  EXPECT_EQ(qova::readWholeFile(path), bytes);
}

TEST(WholeFile, WriteIsExclusiveWhileAnotherHolderHasTheFileOpen) {
  TempFolder folder;
  const std::string path = folder.file("held.txt");
  ASSERT_TRUE(qova::writeWholeFile(path, "old"));
  HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(qova::writeWholeFile(path, "new"));
  ::CloseHandle(held);
  EXPECT_EQ(qova::readWholeFile(path), "old");
}

TEST(WholeFile, ReplaceKeepsTheOldFileWhenTheTargetCannotBeReplaced) {
  TempFolder folder;
  const std::string path = folder.file("lib.ini");
  ASSERT_TRUE(qova::writeWholeFile(path, "original"));
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(qova::replaceWholeFile(path, "replacement"));
  EXPECT_EQ(qova::readWholeFile(path), "original");
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(qova::replaceWholeFile(path, "replacement"));
  EXPECT_EQ(qova::readWholeFile(path), "replacement");
  EXPECT_EQ(::GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WholeFile, AReplaceMadeFromAnOldReadLeavesAFileChangedSinceAsItIs) {
  // An editor saved the file between our read and our replace.
  TempFolder folder;
  const std::string path = folder.file("lib.ini");
  ASSERT_TRUE(qova::writeWholeFile(path, "saved by the editor"));
  EXPECT_EQ(qova::replaceWholeFileIfUnchanged(path, "as we read it", "ours"), qova::Replaced::ChangedMeanwhile);
  EXPECT_EQ(qova::readWholeFile(path), "saved by the editor");
  EXPECT_EQ(::GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(qova::replaceWholeFileIfUnchanged(path, "saved by the editor", "ours"), qova::Replaced::Yes);
  EXPECT_EQ(qova::readWholeFile(path), "ours");
  // A file created since it was read missing is a change too.
  const std::string created = folder.file("created.ini");
  ASSERT_TRUE(qova::writeWholeFile(created, "new"));
  EXPECT_EQ(qova::replaceWholeFileIfUnchanged(created, "", "ours"), qova::Replaced::ChangedMeanwhile);
  EXPECT_EQ(qova::readWholeFile(created), "new");
}

TEST(FileLock, IsExclusiveAcrossHandlesAndFreeAgainOnceLetGo) {
  TempFolder folder;
  const std::string path = folder.file("x.lock");
  {
    const qova::FileLock first(path, std::chrono::milliseconds(0));
    ASSERT_TRUE(first.held());
    const qova::FileLock second(path, std::chrono::milliseconds(200));
    EXPECT_EQ(second.state(), qova::FileLock::State::Busy);
  }
  EXPECT_TRUE(qova::FileLock(path, std::chrono::milliseconds(0)).held());
  EXPECT_EQ(qova::FileLock(folder.file("no such folder\\x.lock"), std::chrono::milliseconds(0)).state(),
            qova::FileLock::State::NoFile);
}

TEST(ProgramDirectory, HasNoTrailingBackslashAndBuildsFilePaths) {
  const std::string dir = qova::programDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
  EXPECT_EQ(qova::programFile("To_configure.ini"), dir + "\\To_configure.ini");
}

}  // namespace
