// Adding videos with a scripted stand-in of screenshot.dll: what the program
// makes of odd answers.
#include <gtest/gtest.h>

#include "runtime/UniqueHandle.h"
#include "tests/app/AddVideoFixture.h"

namespace {

using namespace qova::test;

class ScriptedAnswer : public AddVideo {
 protected:
  void script(const char* answer) {
    if (answer)
      qova::writeWholeFile(qova::programFile("screenshot_answer.txt"), answer);
    else
      ::DeleteFileA(qova::programFile("screenshot_answer.txt").c_str());
  }
  void TearDown() override {
    script(nullptr);
    AddVideo::TearDown();
  }
};

TEST_F(ScriptedAnswer, OnlyTheFirstOfTwoMatchesCounts) {
  script("#<clip>#<C:\\t\\clip.jpg>#<x>#<y>");
  addVideoChoosing(copyOfClip("a.mp4"));
  ASSERT_EQ(library.videoCount, 1);
  EXPECT_EQ(library.videoNames[0], "clip");
  EXPECT_EQ(library.thumbnailPaths[0], "C:\\t\\clip.jpg");
}

TEST_F(ScriptedAnswer, TextAroundTheMatchIsIgnored) {
  script("before #<名字>#<D:\\缩略图\\a.jpg> after");
  addVideoChoosing(copyOfClip("a.mp4"));
  ASSERT_EQ(library.videoCount, 1);
  EXPECT_EQ(library.videoNames[0], "名字");
  EXPECT_EQ(library.thumbnailPaths[0], "D:\\缩略图\\a.jpg");
}

TEST_F(ScriptedAnswer, AnswersWithoutTheShapeAddNothing) {
  for (const char* answer : {"#<name only>", "", "no brackets at all"}) {
    SCOPED_TRACE(answer);
    script(answer);
    addVideoChoosing(copyOfClip("a.mp4"));
    EXPECT_EQ(library.videoCount, 0);
    EXPECT_EQ(::GetFileAttributesA(qova::libraryFilePath().c_str()), INVALID_FILE_ATTRIBUTES);
  }
  script(nullptr);  // a null answer
  addVideoChoosing(copyOfClip("a.mp4"));
  EXPECT_EQ(::GetFileAttributesA(qova::libraryFilePath().c_str()), INVALID_FILE_ATTRIBUTES);
}

// The thumbnail made for the refused video goes with it.
TEST_F(ScriptedAnswer, ALibraryFileHeldByAnotherProgramIsLeftAsItWasAndTheUserIsTold) {
  ::CreateDirectoryA(qova::programFile("thumbs").c_str(), nullptr);
  const std::string thumbnail = qova::programFile("thumbs\\refused.jpg");
  ASSERT_TRUE(qova::writeWholeFile(thumbnail, "a picture"));
  script(("#<clip>#<" + thumbnail + ">").c_str());
  const std::string before = qova::libraryRecord("C:\\kept.mp4", "k.jpg", "kept");
  ASSERT_TRUE(qova::writeWholeFile(qova::libraryFilePath(), before));
  std::string message;
  {
    qova::UniqueFile held(::CreateFileA(qova::libraryFilePath().c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    addVideoChoosing(copyOfClip("a.mp4"), &message);
  }
  EXPECT_NE(message.find("视频没有添加"), std::string::npos) << message;
  EXPECT_NE(message.find("无法读取"), std::string::npos) << message;
  EXPECT_EQ(qova::readWholeFile(qova::libraryFilePath()), before);
  EXPECT_EQ(library.videoCount, 0);
  EXPECT_EQ(::GetFileAttributesA(thumbnail.c_str()), INVALID_FILE_ATTRIBUTES) << "its thumbnail is gone";
}

}  // namespace
