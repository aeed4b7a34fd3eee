// What H.264 streams state of their colour, from parameter sets x264 wrote
// (ffmpeg -color_range, -colorspace) and from MP4 files built around them.
#include "outside/media/StreamColour.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace qova::media {
namespace {

std::vector<uint8_t> fromHex(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

// High profile, 320x240; only the video signal type differs.
const std::string kFullRangeUntagged = "6764000dacd94141fb016c800000030080000019078a14cb";
const std::string kFullRangeBt709 = "6764000dacd94141fb016e040402800000030080000019078a14cb";
const std::string kLimitedBt709 = "6764000dacd94141fb016a040402800000030080000019078a14cb";
const std::string kNoSignalType = "6764000dacd94141fb011000000300100000030320f1429960";

std::optional<StreamColour> spsColour(const std::string& hex) {
  const std::vector<uint8_t> nal = fromHex(hex);
  return h264SpsColour(nal.data(), nal.size());
}

TEST(StreamColour, ParameterSetsSayTheirRangeAndMatrix) {
  const auto fullUntagged = spsColour(kFullRangeUntagged);
  ASSERT_TRUE(fullUntagged);
  EXPECT_TRUE(fullUntagged->fullRange);
  EXPECT_FALSE(fullUntagged->matrix);
  const auto full709 = spsColour(kFullRangeBt709);
  ASSERT_TRUE(full709);
  EXPECT_TRUE(full709->fullRange);
  EXPECT_EQ(full709->matrix, YuvMatrix::Bt709);
  const auto limited709 = spsColour(kLimitedBt709);
  ASSERT_TRUE(limited709);
  EXPECT_FALSE(limited709->fullRange);
  EXPECT_EQ(limited709->matrix, YuvMatrix::Bt709);
  EXPECT_FALSE(spsColour(kNoSignalType)) << "nothing said: the convention holds";
}

TEST(StreamColour, CutOrForeignParameterSetsSayNothing) {
  const std::vector<uint8_t> full = fromHex(kFullRangeBt709);
  for (size_t length = 0; length < 12; ++length)
    EXPECT_FALSE(h264SpsColour(full.data(), length)) << "cut to " << length << " bytes";
  std::vector<uint8_t> picture = full;
  picture[0] = 0x65;  // a slice, not a parameter set
  EXPECT_FALSE(h264SpsColour(picture.data(), picture.size()));
  EXPECT_FALSE(h264SpsColour(nullptr, 10));
}

// An MP4 file of a box tree down to the sample description, as muxers write it.
class Mp4File {
 public:
  static std::vector<uint8_t> box(const char* type, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> out(8);
    const auto size = static_cast<uint32_t>(payload.size() + 8);
    out[0] = static_cast<uint8_t>(size >> 24), out[1] = static_cast<uint8_t>(size >> 16);
    out[2] = static_cast<uint8_t>(size >> 8), out[3] = static_cast<uint8_t>(size);
    std::memcpy(out.data() + 4, type, 4);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
  }

  static std::vector<uint8_t> withSps(const std::string& spsHex, const char* codec = "avc1") {
    const std::vector<uint8_t> sps = fromHex(spsHex);
    std::vector<uint8_t> record{1, 0x64, 0, 0x0d, 0xff, 0xe1, 0, static_cast<uint8_t>(sps.size())};
    record.insert(record.end(), sps.begin(), sps.end());
    record.insert(record.end(), {1, 0, 4, 0x68, 0xeb, 0xe3, 0xcb});
    std::vector<uint8_t> entry(78, 0);
    const std::vector<uint8_t> avcC = box("avcC", record);
    entry.insert(entry.end(), avcC.begin(), avcC.end());
    std::vector<uint8_t> stsd{0, 0, 0, 0, 0, 0, 0, 1};
    const std::vector<uint8_t> sample = box(codec, entry);
    stsd.insert(stsd.end(), sample.begin(), sample.end());
    const std::vector<uint8_t> moov =
        box("moov", box("trak", box("mdia", box("minf", box("stbl", box("stsd", stsd))))));
    std::vector<uint8_t> file = box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0});
    const std::vector<uint8_t> mdat = box("mdat", std::vector<uint8_t>(100, 0x55));
    // The index after the data, as a file not made for streaming has it.
    file.insert(file.end(), mdat.begin(), mdat.end());
    file.insert(file.end(), moov.begin(), moov.end());
    return file;
  }

  static std::optional<StreamColour> colourOf(const std::vector<uint8_t>& file) {
    const FileBytes read = [&file](uint64_t offset, size_t length, uint8_t* target) {
      if (offset > file.size() || length > file.size() - offset) return false;
      std::memcpy(target, file.data() + offset, length);
      return true;
    };
    return mp4StreamColour(read, file.size());
  }
};

TEST(StreamColour, Mp4FilesAreReadDownToTheirParameterSets) {
  const auto full = Mp4File::colourOf(Mp4File::withSps(kFullRangeBt709));
  ASSERT_TRUE(full);
  EXPECT_TRUE(full->fullRange);
  EXPECT_EQ(full->matrix, YuvMatrix::Bt709);
  EXPECT_FALSE(Mp4File::colourOf(Mp4File::withSps(kNoSignalType)));
  EXPECT_FALSE(Mp4File::colourOf(Mp4File::withSps(kFullRangeBt709, "hvc1"))) << "another codec";

  std::vector<uint8_t> cut = Mp4File::withSps(kFullRangeBt709);
  for (size_t length : {size_t{0}, size_t{7}, size_t{30}, cut.size() - 20, cut.size() - 1}) {
    const std::vector<uint8_t> part(cut.begin(), cut.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(Mp4File::colourOf(part)) << "cut to " << length << " bytes";
  }
  std::vector<uint8_t> lying = Mp4File::withSps(kFullRangeBt709);
  lying[3] = 0xff;  // the first box claims more than the file holds
  EXPECT_FALSE(Mp4File::colourOf(lying));
  EXPECT_FALSE(Mp4File::colourOf(std::vector<uint8_t>(4096, 0x01))) << "not an MP4 file";
}

}  // namespace
}  // namespace qova::media
