// Paths for the ANSI world: exact conversion, the short path where the long
// one cannot be written, and the refusal where neither can.
#include "runtime/AnsiPath.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "runtime/AnsiText.h"
#include "runtime/WholeFile.h"
#include "tests/support/TempFolder.h"

namespace {

using qova::AnsiPathProblem;
using qova::test::TempFolder;

// 80 Chinese characters: 160 bytes in GBK, 240 in the UTF-8 of Wine's Unix
// file names, which take at most 255.
const std::wstring kLongName(80, L'\u4E2D');

// Creates an empty file (and the one folder its name may begin with).
std::wstring makeFile(const TempFolder& folder, const std::wstring& name) {
  const std::wstring path = qova::ansiToWide(folder.path()) + L"\\" + name;
  if (const size_t slash = name.find(L'\\'); slash != std::wstring::npos)
    ::CreateDirectoryW((qova::ansiToWide(folder.path()) + L"\\" + name.substr(0, slash)).c_str(), nullptr);
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  ::CloseHandle(file);
  return path;
}

TEST(AnsiPath, ANameTheCodePageWritesStaysAsItIs) {
  TempFolder folder;
  const std::wstring path = makeFile(folder, L"\u6D77\u8FB9 \u65E5\u843D.mp4");  // 海边 日落
  const qova::AnsiPath ansi = qova::ansiPathOf(path);
  EXPECT_EQ(ansi.problem, AnsiPathProblem::None);
  EXPECT_EQ(ansi.path, folder.file("海边 日落.mp4"));
}

TEST(AnsiPath, ALookAlikeIsNoExactPlace) {
  // "ñ" has no place in code page 936; a best fit would turn it into "n".
  EXPECT_EQ(qova::exactAnsi(L"ma\u00F1ana"), std::nullopt);
  EXPECT_EQ(qova::exactAnsi(L"\uBE44\uB514\uC624"), std::nullopt) << "Korean";
  EXPECT_EQ(qova::exactAnsi(L"\U0001F305"), std::nullopt) << "an emoji";
  // Kana and the accented letters of pinyin are part of it.
  EXPECT_EQ(qova::exactAnsi(L"a\u4E2D\u30D3\u00E9"), std::optional<std::string>("a中ビé"));
}

TEST(AnsiPath, AnUnwritableOrTooLongNameGoesByItsShortPath) {
  TempFolder folder;
  for (const std::wstring& name : {std::wstring(L"\uBE44\uB514\uC624.mp4"),
                                   kLongName + L"\\" + kLongName + L".mp4"}) {
    const std::wstring path = makeFile(folder, name);
    const qova::AnsiPath ansi = qova::ansiPathOf(path);
    ASSERT_EQ(ansi.problem, AnsiPathProblem::None) << "this volume keeps short names";
    EXPECT_LE(ansi.path.size(), qova::kLongestAnsiPath);
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_NE(::GetShortPathNameW(path.c_str(), shortPath, MAX_PATH), 0u);
    EXPECT_EQ(qova::ansiToWide(ansi.path), shortPath);
  }
}

TEST(AnsiPath, WithoutAShortPathTheProblemIsTold) {
  // A file that is not there has no short path, as on a volume without short names.
  TempFolder folder;
  const std::wstring missing = qova::ansiToWide(folder.path()) + L"\\";
  EXPECT_EQ(qova::ansiPathOf(missing + L"\uBE44\uB514\uC624.mp4").problem, AnsiPathProblem::Characters);
  EXPECT_EQ(qova::ansiPathOf(missing + kLongName + L"\\" + kLongName).problem, AnsiPathProblem::Length);
  EXPECT_EQ(qova::ansiPathOf(missing + kLongName + L"\\" + kLongName + L"\U0001F305").problem,
            AnsiPathProblem::Characters);
}

}  // namespace
