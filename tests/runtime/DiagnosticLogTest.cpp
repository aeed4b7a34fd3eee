#include "runtime/DiagnosticLog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/WholeFile.h"
#include "tests/support/TempFolder.h"

namespace {

using qova::test::TempFolder;

std::uint64_t sizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
bool exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Lines of about 1 KB, each numbered; written a few at a time so that the
// queue never fills.
void writeKilobyteLines(qova::DiagnosticLog& log, int first, int count) {
  const std::string filler(1000, 'x');
  for (int i = first; i < first + count; ++i) {
    log.write("line " + std::to_string(i) + " " + filler);
    if (i % 500 == 0) ::Sleep(50);
  }
}

TEST(DiagnosticLog, MakesItsFolderAndRotatesPastOneMegabyteKeepingThreeOlderFiles) {
  TempFolder folder;
  const std::string logs = folder.file("logs");
  {
    qova::DiagnosticLog log(logs);
    EXPECT_EQ(qova::processLog(), &log);
    writeKilobyteLines(log, 0, 5200);  // about five files' worth
  }
  EXPECT_EQ(qova::processLog(), nullptr);
  for (const char* name : {"qova.log", "qova.1.log", "qova.2.log", "qova.3.log"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(exists(logs + "\\" + name));
    EXPECT_LE(sizeOf(logs + "\\" + name), qova::kLogFileLimit);
    // Only the newest may have room left: the others were full when they moved on.
    if (std::string(name) != "qova.log") {
      EXPECT_GT(sizeOf(logs + "\\" + name), qova::kLogFileLimit - 2000);
    }
  }
  EXPECT_FALSE(exists(logs + "\\qova.4.log"));
  const std::string newest = qova::readWholeFile(logs + "\\qova.log");
  EXPECT_NE(newest.find("line 5199 "), std::string::npos) << "the last line was not written at the end";
  EXPECT_EQ(qova::readWholeFile(logs + "\\qova.3.log").find("line 0 "), std::string::npos)
      << "the oldest lines should have gone";
}

TEST(DiagnosticLog, AFolderThatCannotBeMadeStopsTheLogAndKeepsTheTail) {
  TempFolder folder;
  ASSERT_TRUE(qova::writeWholeFile(folder.file("logs"), "a file where the folder would be"));
  qova::DiagnosticLog log(folder.file("logs"));
  log.write("first");
  log.write("second");
  EXPECT_NE(log.tail().find("first\r\n"), std::string::npos);
  EXPECT_NE(log.tail().find("second\r\n"), std::string::npos);
  EXPECT_EQ(qova::readWholeFile(folder.file("logs")), "a file where the folder would be");
}

}  // namespace
