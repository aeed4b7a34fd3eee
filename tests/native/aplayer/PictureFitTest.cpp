// Where the engine puts a picture in its window, for each way of scaling it.
#include "outside/aplayer/PictureFit.h"

#include <gtest/gtest.h>

namespace qova::aplayer {
namespace {

constexpr PictureRect kScreen{0, 0, 1920, 1080};

struct Placement {
  const char* what;
  int clientWidth, clientHeight, pictureWidth, pictureHeight;
  PictureScaling scaling;
  PictureRect source;  // the part of the picture that shows
  PictureRect target;  // where it lands
};

TEST(PictureFit, EachScalingPlacesPicturesOfOtherShapes) {
  const Placement cases[] = {
      // 640 wide at 16:9 is 360 rows: 60 cut at the top, 60 at the bottom.
      {"fill, 4:3", 1920, 1080, 640, 480, PictureScaling::Fill, {0, 60, 640, 360}, kScreen},
      // 1080 wide at 16:9 is 607 rows (607.5 cut down), centred.
      {"fill, portrait", 1920, 1080, 1080, 1920, PictureScaling::Fill, {0, 656, 1080, 607}, kScreen},
      {"fill, landscape on a portrait screen", 1080, 1920, 1920, 1080, PictureScaling::Fill, {656, 0, 607, 1080},
       {0, 0, 1080, 1920}},
      // 8:3 on 16:9: the full height, the middle 213 of 320 columns.
      {"fill, wide", 320, 180, 320, 120, PictureScaling::Fill, {53, 0, 213, 120}, {0, 0, 320, 180}},
      {"fit, 4:3", 1920, 1080, 640, 480, PictureScaling::Fit, {0, 0, 640, 480}, {240, 0, 1440, 1080}},
      {"fit, portrait", 1920, 1080, 1080, 1920, PictureScaling::Fit, {0, 0, 1080, 1920}, {656, 0, 607, 1080}},
      {"fit, wide", 320, 240, 320, 120, PictureScaling::Fit, {0, 0, 320, 120}, {0, 60, 320, 120}},
      {"stretch, portrait", 1920, 1080, 1080, 1920, PictureScaling::Stretch, {0, 0, 1080, 1920}, kScreen},
  };
  for (const Placement& c : cases) {
    const PicturePlacement place =
        placePicture(c.clientWidth, c.clientHeight, c.pictureWidth, c.pictureHeight, c.scaling);
    EXPECT_EQ(place.source, c.source) << c.what;
    EXPECT_EQ(place.target, c.target) << c.what;
  }
}

TEST(PictureFit, APictureOfTheWindowsShapeIsShownWholeInEveryMode) {
  for (const PictureScaling scaling : {PictureScaling::Fit, PictureScaling::Fill, PictureScaling::Stretch}) {
    const PicturePlacement place = placePicture(1920, 1080, 1280, 720, scaling);
    EXPECT_EQ(place.source, (PictureRect{0, 0, 1280, 720}));
    EXPECT_EQ(place.target, kScreen);
  }
}

TEST(PictureFit, ExtremeShapesNeverGiveAnEmptyPart) {
  const PicturePlacement thinLine = placePicture(1920, 1080, 4000, 1, PictureScaling::Fill);
  EXPECT_EQ(thinLine.source.height, 1);
  EXPECT_GE(thinLine.source.width, 1);
  const PicturePlacement tallLine = placePicture(1920, 1080, 1, 4000, PictureScaling::Fill);
  EXPECT_EQ(tallLine.source.width, 1);
  EXPECT_GE(tallLine.source.height, 1);
  EXPECT_EQ(placePicture(1, 100000, 100000, 1, PictureScaling::Fit).target.height, 1);
}

TEST(PictureFit, NothingToPlaceGivesEmptyRectangles) {
  for (const PictureScaling scaling : {PictureScaling::Fit, PictureScaling::Fill, PictureScaling::Stretch}) {
    EXPECT_EQ(placePicture(0, 1080, 640, 480, scaling), PicturePlacement{});
    EXPECT_EQ(placePicture(1920, 1080, 640, 0, scaling), PicturePlacement{});
    EXPECT_EQ(placePicture(1920, -5, 640, 480, scaling), PicturePlacement{});
  }
}

TEST(PictureFit, StoredColumnsFollowWidePixels) {
  // 720 stored pixels shown 960 wide (4:3 pixels): the middle 480 shown columns are the middle 360 stored ones.
  EXPECT_EQ(storedColumns({240, 10, 480, 100}, 960, 720), (PictureRect{180, 10, 360, 100}));
  EXPECT_EQ(storedColumns({5, 0, 10, 4}, 640, 640), (PictureRect{5, 0, 10, 4}));
  EXPECT_EQ(storedColumns({0, 0, 1, 4}, 1000, 10).width, 1) << "never narrower than one stored column";
}

TEST(PictureFit, ScalingTextsAreTheThreeDigitsOnly) {
  EXPECT_EQ(parsePictureScaling("0"), PictureScaling::Fit);
  EXPECT_EQ(parsePictureScaling("1"), PictureScaling::Fill);
  EXPECT_EQ(parsePictureScaling("2"), PictureScaling::Stretch);
  for (const char* bad : {"", "3", "-1", "01", "1 ", "fill"}) EXPECT_FALSE(parsePictureScaling(bad)) << bad;
  for (const PictureScaling scaling : {PictureScaling::Fit, PictureScaling::Fill, PictureScaling::Stretch})
    EXPECT_EQ(parsePictureScaling(pictureScalingText(scaling)), scaling);
}

}  // namespace
}  // namespace qova::aplayer
