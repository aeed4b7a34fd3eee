// The library file beside the program: loading, appending and removing
// records, byte for byte, with GBK paths and names, bad input and failed writes.
#include "library/LibraryFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <optional>

#include "engines/pattern/PatternMatcher.h"
#include "library/LibraryRecord.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/UniqueHandle.h"
#include "runtime/WholeFile.h"
#include "tests/support/FolderSpellings.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"

namespace {

using qova::libraryRecord;
using enum qova::LibraryWrite;
using qova::test::TempFolder;
using namespace std::chrono_literals;

// The files a write leaves beside the library: its replacement and its lock.
void deleteLibraryFiles() {
  for (const char* suffix : {"", ".new", ".lock"}) {
    const std::string path = qova::libraryFilePath() + suffix;
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
  }
}

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
    deleteLibraryFiles();
  }
  void TearDown() override {
    deleteLibraryFiles();
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
  ASSERT_EQ(qova::appendLibraryRecord(first, "C:\\缩略图\\一.jpg", "第一个"), Written);
  ASSERT_EQ(qova::appendLibraryRecord(second, "C:\\v\\b.jpg", "b"), Written);
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

TEST_P(LibraryFile, ARecordAddedToAFileWithANulGoesBeforeItAndLoads) {
  // Crash padding, or a file an editor saved as UTF-16: nothing after the NUL loads.
  const std::string a = video("a.mp4"), b = video("b.mp4");
  const std::string fromTheNul = std::string(3, '\0') + libraryRecord(a, "t", "hidden");
  writeLibrary(libraryRecord(a, "t", "a") + fromTheNul);
  EXPECT_EQ(load().names, std::vector<std::string>{"a"});
  ASSERT_EQ(qova::appendLibraryRecord(b, "t", "b"), Written);
  EXPECT_EQ(load().names, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(libraryBytes(), libraryRecord(a, "t", "a") + libraryRecord(b, "t", "b") + fromTheNul);
}

TEST_P(LibraryFile, DeletingAnEntryRemovesExactlyItsRecordAndKeepsRecordsOfMissingVideos) {
  const std::string a = video("a.mp4"), b = video("b.mp4"), c = video("c.mp4");
  const std::string missing = libraryRecord("E:\\usb\\gone.mp4", "t", "gone");
  writeLibrary("# kept\r\n" + libraryRecord(a, "ta", "a") + missing + libraryRecord(b, "tb", "b") +
               libraryRecord(c, "tc", "c"));
  qova::reloadLibrary(library);
  ASSERT_EQ(library.videoCount, 3);
  EXPECT_EQ(qova::rewriteLibraryWithout(library, 1), Written);
  EXPECT_EQ(libraryBytes(), "# kept\r\n" + libraryRecord(a, "ta", "a") + missing +
                                libraryRecord(c, "tc", "c"));
  qova::reloadLibrary(library);
  EXPECT_EQ(library.videoNames, (std::vector<std::string>{"a", "c"}));
}

TEST_P(LibraryFile, DeletingTheSecondOfTwinEntriesRemovesTheSecondRecord) {
  const std::string a = video("a.mp4"), b = video("b.mp4");
  writeLibrary(libraryRecord(a, "t", "a") + libraryRecord(b, "t", "b") + libraryRecord(a, "t", "a"));
  qova::reloadLibrary(library);
  EXPECT_EQ(qova::rewriteLibraryWithout(library, 2), Written);
  EXPECT_EQ(libraryBytes(), libraryRecord(a, "t", "a") + libraryRecord(b, "t", "b"));
  EXPECT_EQ(qova::rewriteLibraryWithout(library, 5), NotFound);
  EXPECT_EQ(qova::rewriteLibraryWithout(library, -1), NotFound);
}

TEST_P(LibraryFile, AFailedWriteLeavesTheOldFileIntact) {
  const std::string a = video("a.mp4");
  const std::string old = libraryRecord(a, "t", "a") + "tail bytes";
  writeLibrary(old);
  qova::reloadLibrary(library);
  ASSERT_TRUE(::SetFileAttributesA(qova::libraryFilePath().c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(qova::appendLibraryRecord(a, "t", "again"), NotWritten);
  EXPECT_EQ(qova::rewriteLibraryWithout(library, 0), NotWritten);
  EXPECT_EQ(libraryBytes(), old);
  ::SetFileAttributesA(qova::libraryFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_P(LibraryFile, AFileHeldWithoutSharingIsNeverRewrittenFromAnEmptyRead) {
  const std::string a = video("a.mp4"), b = video("b.mp4");
  const std::string old = libraryRecord(a, "t", "a") + libraryRecord(b, "t", "b");
  writeLibrary(old);
  qova::reloadLibrary(library);
  {
    // Another program holds the file open with share mode 0.
    qova::UniqueFile held(::CreateFileA(qova::libraryFilePath().c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(qova::readWholeFileIfReadable(qova::libraryFilePath()), std::nullopt);
    EXPECT_EQ(qova::appendLibraryRecord(a, "t", "again"), Unreadable);
    EXPECT_EQ(qova::rewriteLibraryWithout(library, 0), Unreadable);
  }
  EXPECT_EQ(libraryBytes(), old);
  // A missing file is created as ever.
  ASSERT_TRUE(::DeleteFileA(qova::libraryFilePath().c_str()));
  EXPECT_EQ(qova::readWholeFileIfReadable(qova::libraryFilePath()), std::string());
  EXPECT_EQ(qova::appendLibraryRecord(a, "t", "a"), Written);
  EXPECT_EQ(libraryBytes(), libraryRecord(a, "t", "a"));
}

TEST_P(LibraryFile, DeletingAnEntryDeletesItsThumbnailOnlyWhenItIsOursAndNoOtherRecordUsesIt) {
  const std::string thumbs = qova::programFile("thumbs");
  ::CreateDirectoryA(thumbs.c_str(), nullptr);
  const std::string own = thumbs + "\\qova_own.jpg", shared = thumbs + "\\qova_shared.jpg";
  const std::string elsewhere = folder.file("picture.jpg");
  for (const std::string& picture : {own, shared, elsewhere}) ASSERT_TRUE(qova::writeWholeFile(picture, "jpg"));
  const std::string a = video("a.mp4"), b = video("b.mp4"), c = video("c.mp4");
  // The record of a missing video still uses its picture; case does not count.
  std::string upperShared = shared;
  for (char& ch : upperShared) ch = static_cast<char>(::toupper(static_cast<unsigned char>(ch)));
  writeLibrary(libraryRecord(a, own, "a") + libraryRecord(b, shared, "b") + libraryRecord(c, elsewhere, "c") +
               libraryRecord("E:\\usb\\gone.mp4", upperShared, "gone"));
  qova::reloadLibrary(library);
  ASSERT_EQ(library.videoCount, 3);

  EXPECT_EQ(qova::rewriteLibraryWithout(library, 1), Written);
  EXPECT_NE(::GetFileAttributesA(shared.c_str()), INVALID_FILE_ATTRIBUTES) << "another record uses it";
  qova::reloadLibrary(library);
  EXPECT_EQ(qova::rewriteLibraryWithout(library, 1), Written);
  EXPECT_NE(::GetFileAttributesA(elsewhere.c_str()), INVALID_FILE_ATTRIBUTES) << "not in thumbs\\";
  qova::reloadLibrary(library);
  EXPECT_EQ(qova::rewriteLibraryWithout(library, 0), Written);
  EXPECT_EQ(::GetFileAttributesA(own.c_str()), INVALID_FILE_ATTRIBUTES) << "ours, and used by no record left";
  EXPECT_EQ(libraryBytes(), libraryRecord("E:\\usb\\gone.mp4", upperShared, "gone"));
  ::DeleteFileA(shared.c_str());
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
  ASSERT_EQ(qova::appendLibraryRecord(a, "t", "b"), Written);
  EXPECT_EQ(load().count, 2);
  ::DeleteFileA((qova::libraryFilePath() + ".new").c_str());
}

TEST_P(LibraryFile, ALibraryLostInTheMiddleOfItsReplaceComesBackFromTheNewFile) {
  // FAT and exFAT replace by deleting the old file first: a power loss right
  // then leaves only the new file, written and flushed.
  const std::string a = video("a.mp4"), b = video("b.mp4");
  ASSERT_TRUE(qova::writeWholeFile(qova::libraryFilePath() + ".new", libraryRecord(a, "t", "a")));
  EXPECT_EQ(load().names, std::vector<std::string>{"a"});
  EXPECT_EQ(libraryBytes(), libraryRecord(a, "t", "a"));
  EXPECT_EQ(::GetFileAttributesA((qova::libraryFilePath() + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_EQ(qova::appendLibraryRecord(b, "t", "b"), Written);
  EXPECT_EQ(libraryBytes(), libraryRecord(a, "t", "a") + libraryRecord(b, "t", "b"));
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

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Two copies of the program adding videos at once, each started through its
// own spelling of one folder: its path, and its path through another drive
// letter, as a subst drive gives one.
TEST(LibraryWriters, TwoCopiesThroughTwoSpellingsOfOneFolderKeepEveryRecord) {
  TempFolder folder{"qova_two_writers"};
  ASSERT_TRUE(qova::test::copyFileTo(qova::programFile("library_writer.exe"), folder.file("library_writer.exe")));
  const std::string otherSpelling = qova::test::driveZSpellingOf(folder.path());
  ASSERT_NE(otherSpelling, "");
  constexpr int kRecords = 40;
  const std::string count = std::to_string(kRecords);
  qova::test::TestProcess first(folder.file("library_writer.exe"), "a " + count);
  qova::test::TestProcess second(otherSpelling + "\\library_writer.exe", "b " + count);
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(second.started());
  EXPECT_EQ(first.waitForExit(120s), std::optional<DWORD>(0)) << "appends not written";
  EXPECT_EQ(second.waitForExit(120s), std::optional<DWORD>(0)) << "appends not written";
  EXPECT_NE(lowerCase(qova::readWholeFile(folder.file("a.folder"))),
            lowerCase(qova::readWholeFile(folder.file("b.folder"))))
      << "each copy saw its folder under its own spelling";

  const std::string library = qova::readWholeFile(folder.file("spconfiguration_file.ini"));
  int kept = 0;
  for (const char* tag : {"a", "b"})
    for (int i = 0; i < kRecords; ++i) {
      const std::string video = std::string("C:\\videos\\") + tag + std::to_string(i) + ".mp4";
      if (library.find(libraryRecord(video, "", tag)) != std::string::npos) ++kept;
    }
  EXPECT_EQ(kept, 2 * kRecords);
  int records = 0;
  for (size_t at = library.find("视频文件<"); at != std::string::npos; at = library.find("视频文件<", at + 1)) ++records;
  EXPECT_EQ(records, 2 * kRecords) << "each record once";
}

INSTANTIATE_TEST_SUITE_P(Matchers, LibraryFile, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "Own" : "System"; });

}  // namespace
