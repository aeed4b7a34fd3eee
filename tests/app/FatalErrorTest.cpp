// The one fatal error: an outside library missing at its first call.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>

#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowSearch.h"

namespace {

using namespace std::chrono_literals;
using qova::test::TempFolder;
using qova::test::TestProcess;

TEST(FatalError, AMissingPlayerEngineShowsTheRunTimeErrorAndExitsWithMinusOne) {
  TempFolder folder("qova_fatal");
  const std::string program = folder.file("qova.exe");
  ASSERT_TRUE(qova::test::copyFileTo(qova::test::testProgramDirectory() + "\\qova.exe", program));
  ASSERT_TRUE(qova::test::copyFileTo(qova::test::testProgramDirectory() + "\\ExuiKrnln.dll",
                                     folder.file("ExuiKrnln.dll")));

  TestProcess qova(program, "");
  ASSERT_TRUE(qova.started());
  HWND box = nullptr;
  const std::string text = qova::test::waitForMessageBoxText(qova.id(), &box);
  ASSERT_NE(box, nullptr) << "no message box appeared";
  EXPECT_EQ(text.rfind("运行时出错!", 0), 0u) << text;
  EXPECT_NE(text.find("错误信息：无法找到指定DLL库文件“APlayerCaller.dll”中的输出命令“APlayer_Create”"),
            std::string::npos)
      << text;

  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  auto exitCode = qova.waitForExit(20s);
  ASSERT_TRUE(exitCode.has_value());
  EXPECT_EQ(*exitCode, static_cast<DWORD>(-1));
}

TEST(FatalError, ADllPlantedInTheCurrentFolderIsNotLoaded) {
  // The program folder lacks the engine; the working folder has one.
  TempFolder programFolder("qova_prog");
  TempFolder workingFolder("qova_cwd");
  const std::string program = programFolder.file("qova.exe");
  ASSERT_TRUE(qova::test::copyFileTo(qova::test::testProgramDirectory() + "\\qova.exe", program));
  ASSERT_TRUE(qova::test::copyFileTo(qova::test::testProgramDirectory() + "\\ExuiKrnln.dll",
                                     programFolder.file("ExuiKrnln.dll")));
  ASSERT_TRUE(qova::test::copyFileTo(qova::test::testProgramDirectory() + "\\recording\\APlayerCaller.dll",
                                     workingFolder.file("APlayerCaller.dll")));

  TestProcess qova(program, "", workingFolder.path());
  ASSERT_TRUE(qova.started());
  HWND box = nullptr;
  const std::string text = qova::test::waitForMessageBoxText(qova.id(), &box);
  EXPECT_NE(text.find("APlayerCaller.dll"), std::string::npos) << "the planted DLL was loaded";
  if (box) ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  auto exitCode = qova.waitForExit(20s);
  ASSERT_TRUE(exitCode.has_value());
  EXPECT_EQ(*exitCode, static_cast<DWORD>(-1));
}

}  // namespace
