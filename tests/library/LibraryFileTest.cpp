// The library file beside the program: loading, appending and removing
// records, byte for byte, with GBK paths and names, bad input and failed writes.
#include "library/LibraryFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "engines/pattern/PatternMatcher.h"
#include "library/LibraryRecord.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "tests/support/TempFolder.h"

namespace {

using qova::libraryRecord;
using qova::test::TempFolder;

struct Loaded {
  std::vector<std::string> paths, thumbnails, names;
  int count = 0;
};

Loaded load() {
  Loaded l;
  l.count = qova::loadLibrary(l.paths, l.thumbnails, l.names);
  return l;
}

// Runs every case on both matchers: the system's and our own.
class LibraryFile : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    qova::PatternMatcher::preferOwnEngine(GetParam());
    ::SetFileAttributesA(qova::libraryFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(qova::libraryFilePath().c_str());
  }
  void TearDown() override {
    ::SetFileAttributesA(qova::libraryFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(qova::libraryFilePath().c_str());
    qova::PatternMatcher::preferOwnEngine(false);
  }
  std::string video(const std::string& name) const {
    const std::string path = folder.file(name);
    qova::writeWholeFile(path, "video");
    return path;
  }
  static void writeLibrary(const std::string& bytes) {
    ASSERT_TRUE(qova::writeWholeFile(qova::libraryFilePath(), bytes));
  }
  static std::string libraryBytes() { return qova::readWholeFile(qova::libraryFilePath()); }

  TempFolder folder{"qova_library"};
  qova::VideoLibrary library;
};

TEST_P(LibraryFile, AppendedRecordsLoadBackByteForByteWithGbkText) {
  const std::string first = video("视频 一.mp4");
  const std::string second = video("b.mp4");
  ASSERT_TRUE(qova::appendLibraryRecord(first, "C:\\缩略图\\一.jpg", "第一个"));
  ASSERT_TRUE(qova::appendLibraryRecord(second, "C:\\v\\b.jpg", "b"));
  EXPECT_EQ(libraryBytes(), libraryRecord(first, "C:\\缩略图\\一.jpg", "第一个") +
                                libraryRecord(second, "C:\\v\\b.jpg", "b"));
  Loaded l = load();
  ASSERT_EQ(l.count, 2);
  EXPECT_EQ(l.paths, (std::vector<std::string>{first, second}));
  EXPECT_EQ(l.thumbnails, (std::vector<std::string>{"C:\\缩略图\\一.jpg", "C:\\v\\b.jpg"}));
  EXPECT_EQ(l.names, (std::vector<std::string>{"第一个", "b"}));
}

TEST_P(LibraryFile, EmptyBlankAndMissingFilesLoadNothing) {
  EXPECT_EQ(load().count, 0);
  writeLibrary("");
  EXPECT_EQ(load().count, 0);
  writeLibrary("\r\n\r\n   \r\n");
  EXPECT_EQ(load().count, 0);
}

TEST_P(LibraryFile, RecordsAreFoundWhereverTheyStandAndBrokenOnesAreSkipped) {
  const std::string a = video("a.mp4"), b = video("b.mp4"), c = video("c.mp4");
  std::string recordA = libraryRecord(a, "ta", "a");
  recordA.resize(recordA.size() - 2);  // two records on one line
  const std::string broken = "视频文件<" + b + ">视频图片<t\nb>视频名称<b>\r\n";
  writeLibrary("garbage\r\n" + recordA + libraryRecord(c, "tc", "名>字") + broken +
               libraryRecord(b, "tb", "b"));
  Loaded l = load();
  ASSERT_EQ(l.count, 3);
  EXPECT_EQ(l.paths, (std::vector<std::string>{a, c, b}));
  EXPECT_EQ(l.names, (std::vector<std::string>{"a", "名", "b"})) << "a name is cut at \">\"";
}

TEST_P(LibraryFile, MissingVideosAreSkippedAndNotCountedButDuplicatesStay) {
  const std::string a = video("a.mp4");
  writeLibrary(libraryRecord(a, "t", "a") + libraryRecord(folder.file("gone.mp4"), "t", "gone") +
               libraryRecord(a, "t", "a"));
  Loaded l = load();
  EXPECT_EQ(l.count, 2);
  EXPECT_EQ(l.names, (std::vector<std::string>{"a", "a"}));
}

TEST_P(LibraryFile, TextAfterANulIsIgnored) {
  const std::string a = video("a.mp4");
  writeLibrary(libraryRecord(a, "t", "a") + std::string(1, '\0') + libraryRecord(a, "t", "b"));
  EXPECT_EQ(load().names, std::vector<std::string>{"a"});
}

TEST_P(LibraryFile, DeletingAnEntryRemovesExactlyItsRecordAndKeepsRecordsOfMissingVideos) {
  const std::string a = video("a.mp4"), b = video("b.mp4"), c = video("c.mp4");
  const std::string missing = libraryRecord("E:\\usb\\gone.mp4", "t", "gone");
  writeLibrary("# kept\r\n" + libraryRecord(a, "ta", "a") + missing + libraryRecord(b, "tb", "b") +
               libraryRecord(c, "tc", "c"));
  qova::reloadLibrary(library);
  ASSERT_EQ(library.videoCount, 3);
  EXPECT_TRUE(qova::rewriteLibraryWithout(library, 1));
  EXPECT_EQ(libraryBytes(), "# kept\r\n" + libraryRecord(a, "ta", "a") + missing +
                                libraryRecord(c, "tc", "c"));
  qova::reloadLibrary(library);
  EXPECT_EQ(library.videoNames, (std::vector<std::string>{"a", "c"}));
}

TEST_P(LibraryFile, DeletingTheSecondOfTwinEntriesRemovesTheSecondRecord) {
  const std::string a = video("a.mp4"), b = video("b.mp4");
  writeLibrary(libraryRecord(a, "t", "a") + libraryRecord(b, "t", "b") + libraryRecord(a, "t", "a"));
  qova::reloadLibrary(library);
  EXPECT_TRUE(qova::rewriteLibraryWithout(library, 2));
  EXPECT_EQ(libraryBytes(), libraryRecord(a, "t", "a") + libraryRecord(b, "t", "b"));
  EXPECT_FALSE(qova::rewriteLibraryWithout(library, 5));
  EXPECT_FALSE(qova::rewriteLibraryWithout(library, -1));
}

TEST_P(LibraryFile, AFailedWriteLeavesTheOldFileIntact) {
  const std::string a = video("a.mp4");
  const std::string old = libraryRecord(a, "t", "a") + "tail bytes";
  writeLibrary(old);
  qova::reloadLibrary(library);
  ASSERT_TRUE(::SetFileAttributesA(qova::libraryFilePath().c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(qova::appendLibraryRecord(a, "t", "again"));
  EXPECT_FALSE(qova::rewriteLibraryWithout(library, 0));
  EXPECT_EQ(libraryBytes(), old);
  // A file that is open elsewhere without sharing cannot be replaced either.
  ::SetFileAttributesA(qova::libraryFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE held = ::CreateFileA(qova::libraryFilePath().c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(qova::appendLibraryRecord(a, "t", "again"));
  ::CloseHandle(held);
  EXPECT_EQ(libraryBytes(), old);
}

TEST_P(LibraryFile, AnInterruptedWriteBeforeTheReplaceLeavesTheOldFile) {
  const std::string a = video("a.mp4");
  const std::string old = libraryRecord(a, "t", "a");
  writeLibrary(old);
  // A crash after the new content was written but before it replaced the old
  // file leaves a stray temporary file; the library itself is whole.
  ASSERT_TRUE(qova::writeWholeFile(qova::libraryFilePath() + ".new", "half a rec"));
  EXPECT_EQ(load().count, 1);
  EXPECT_EQ(libraryBytes(), old);
  ASSERT_TRUE(qova::appendLibraryRecord(a, "t", "b"));
  EXPECT_EQ(load().count, 2);
  ::DeleteFileA((qova::libraryFilePath() + ".new").c_str());
}

TEST_P(LibraryFile, BinaryGarbageAndInvalidGbkNeverCrashAndKeepTheRecords) {
  const std::string a = video("a.mp4");
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
  garbage.erase(std::remove(garbage.begin(), garbage.end(), '\0'), garbage.end());
  // A stray lead byte swallows the byte after it, so garbage ends with a line break.
  writeLibrary(garbage + "\x81\xFF\xFE\r\n" + libraryRecord(a, "t", "a") + garbage);
  EXPECT_EQ(load().count, 1);
}

TEST_P(LibraryFile, ASingleTenMegabyteLineLoads) {
  const std::string a = video("a.mp4");
  std::string line(10 * 1024 * 1024, 'x');
  writeLibrary(line + libraryRecord(a, "t", "a") + line);
  EXPECT_EQ(load().count, 1);
}

INSTANTIATE_TEST_SUITE_P(Matchers, LibraryFile, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "Own" : "System"; });

}  // namespace
