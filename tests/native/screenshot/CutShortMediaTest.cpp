// Files cut short are refused before the platform's demuxer can stall on them.
#include "outside/aplayer/CutShortMedia.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace qova::aplayer {
namespace {

std::string box(const char* type, size_t bodySize) {
  const uint32_t size = static_cast<uint32_t>(bodySize + 8);
  std::string bytes{char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
  return bytes + type + std::string(bodySize, 'x');
}

std::string riffAvi(uint32_t declaredSize, size_t bodySize) {
  std::string bytes = "RIFF";
  for (int shift = 0; shift < 32; shift += 8) bytes += char(declaredSize >> shift);
  return bytes + "AVI " + std::string(bodySize, 'x');
}

bool cutShort(const std::string& file) {
  return mediaFileIsCutShort(file.size(), [&file](uint64_t offset, uint8_t* buffer, size_t length) {
    if (offset > file.size() || file.size() - offset < length) return false;
    std::memcpy(buffer, file.data() + offset, length);
    return true;
  });
}

TEST(CutShortMedia, IsoFilesNeedTheirIndexAndEveryBoxWhole) {
  const std::string ftyp = box("ftyp", 16);
  EXPECT_FALSE(cutShort(ftyp + box("moov", 100) + box("mdat", 5000)));  // fast start
  EXPECT_FALSE(cutShort(ftyp + box("mdat", 5000) + box("moov", 100)));  // index last
  EXPECT_FALSE(cutShort(ftyp + box("moov", 100) + box("mdat", 50) + "pad"));

  const std::string fastStart = ftyp + box("moov", 100) + box("mdat", 5000);
  EXPECT_TRUE(cutShort(fastStart.substr(0, 3000)));  // index whole, data cut
  const std::string indexLast = ftyp + box("mdat", 5000) + box("moov", 100);
  EXPECT_TRUE(cutShort(indexLast.substr(0, indexLast.size() - 40)));  // index cut
  EXPECT_TRUE(cutShort(ftyp + box("mdat", 5000)));                     // no index at all
  EXPECT_TRUE(cutShort(ftyp + std::string("\0\0\0\4moov", 8)));        // size below its header
}

TEST(CutShortMedia, AviFilesAsLongAsTheirRiffHeaderSays) {
  EXPECT_FALSE(cutShort(riffAvi(4 + 1000, 1000)));
  EXPECT_FALSE(cutShort(riffAvi(0, 1000)));  // a writer that never went back to fill it in
  EXPECT_TRUE(cutShort(riffAvi(4 + 100000, 1000)));
}

TEST(CutShortMedia, OtherFilesAreLeftToThePlatform) {
  EXPECT_FALSE(cutShort(""));
  EXPECT_FALSE(cutShort(std::string(64, '\0')));
  EXPECT_FALSE(cutShort("RIFF\xff\xff\xff\x7fWAVEfmt "));  // not a video container
  EXPECT_FALSE(cutShort("\x1a\x45\xdf\xa3 matroska header"));
}

}  // namespace
}  // namespace qova::aplayer
