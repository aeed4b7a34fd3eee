#pragma once
// A test of the real screenshot.dll: every picture it wrote during the test is
// deleted at the end, so that runs do not pile up pictures beside the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/outside/screenshot/ScreenshotApi.h"

namespace qova::test {

class ScreenshotTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(screenshotExport(), nullptr); }

  void TearDown() override {
    for (const std::string& image : images_) ::DeleteFileA(image.c_str());
  }

  // The answer for `path`, whose image the test's end deletes; nullopt for a null answer.
  std::optional<ScreenshotAnswer> answerFor(const std::string& path) {
    std::optional<ScreenshotAnswer> answer = makeThumbnail(path.c_str());
    if (answer && answer->matched) images_.push_back(answer->image);
    return answer;
  }

  // The picture the answer for `path` points at; fails the test when the
  // answer is null or malformed or the picture does not decode.
  Picture thumbnailOf(const std::string& path, std::string* name = nullptr) {
    const std::optional<ScreenshotAnswer> answer = answerFor(path);
    if (!answer) {
      ADD_FAILURE() << "null answer for " << path;
      return {};
    }
    EXPECT_TRUE(answer->matched) << answer->text;
    EXPECT_EQ(answer->image.rfind(thumbnailFolder() + "\\", 0), 0u) << answer->image;
    EXPECT_TRUE(isJpegFile(answer->image)) << answer->image;
    std::optional<Picture> picture = decodePictureFile(answer->image);
    if (!picture) {
      ADD_FAILURE() << "cannot decode " << answer->image;
      return {};
    }
    if (name) *name = answer->name;
    return *picture;
  }

 private:
  std::vector<std::string> images_;
};

}  // namespace qova::test
