// Files cut short are refused before the platform's demuxer can stall on them.
#include "outside/media/CutShortMedia.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace qova::media {
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

// A box whose size is given as 64 bits after its type.
std::string largeBox(const char* type, size_t bodySize) {
  const uint64_t size = bodySize + 16;
  std::string bytes{0, 0, 0, 1};
  bytes += type;
  for (int shift = 56; shift >= 0; shift -= 8) bytes += char(size >> shift);
  return bytes + std::string(bodySize, 'x');
}

bool cutShort(const std::string& file, int* reads = nullptr) {
  return mediaFileIsCutShort(file.size(), [&file, reads](uint64_t offset, uint8_t* buffer, size_t length) {
    if (reads) ++*reads;
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

TEST(CutShortMedia, WholeFilesAreWholeHoweverManyBoxesAndWhateverFollows) {
  const std::string ftyp = box("ftyp", 16);
  // A long fragmented recording: 200,000 empty boxes after its index, read a window at a time.
  std::string fragmented = ftyp + box("moov", 100);
  for (int i = 0; i < 100'000; ++i) fragmented += box("moof", 0) + box("mdat", 0);
  int reads = 0;
  EXPECT_FALSE(cutShort(fragmented, &reads));
  EXPECT_LE(reads, 30) << "1.6 MB of box headers in 64 KB reads";
  fragmented += box("mdat", 100);
  EXPECT_FALSE(cutShort(fragmented));
  EXPECT_TRUE(cutShort(fragmented.substr(0, fragmented.size() - 50))) << "its last box cut";

  const std::string whole = ftyp + box("moov", 100) + box("mdat", 500);
  EXPECT_FALSE(cutShort(whole + std::string(7, '\0')));
  EXPECT_FALSE(cutShort(whole + std::string(4096, '\0')));
  EXPECT_FALSE(cutShort(whole + "\xff\xff\xff\xff\x01\x02\x03\x04 some tag a writer left"));
  EXPECT_FALSE(cutShort(whole + std::string("\0\0\0\x02zz", 6) + "garbage"));
  EXPECT_FALSE(cutShort(whole + box("free", 20).substr(0, 12))) << "a stray copy of a box of no use";
  EXPECT_TRUE(cutShort(whole + box("mdat", 20).substr(0, 12))) << "media data cut";
  EXPECT_TRUE(cutShort(box("ftyp", 16) + box("mdat", 500) + "\xff\xff\xff\xff garbage")) << "no index before it";

  // 64-bit sizes, and a last box of size 0 that runs to the end of the file.
  EXPECT_FALSE(cutShort(ftyp + largeBox("moov", 100) + largeBox("mdat", 70'000)));
  EXPECT_TRUE(cutShort((ftyp + box("moov", 100) + largeBox("mdat", 70'000)).substr(0, 50'000)));
  EXPECT_TRUE(cutShort(ftyp + box("moov", 100) + std::string("\0\0\0\1mdat\0\0\0", 11)));  // size itself cut
  EXPECT_FALSE(cutShort(ftyp + box("moov", 100) + std::string("\0\0\0\0mdat", 8) + std::string(9000, 'x')));
  EXPECT_TRUE(cutShort(ftyp + std::string("\0\0\0\0mdat", 8) + std::string(9000, 'x'))) << "and no index";
}

// Hours of fragments larger than the read window: the look stays within a
// bounded number of reads, and never calls the file cut short for its length.
TEST(CutShortMedia, AVeryLongFragmentedFileIsLookedAtInBoundedReads) {
  const std::string start = box("ftyp", 16) + box("moov", 100);
  constexpr uint64_t kFragment = 1 << 20;
  constexpr uint64_t kFragments = 20'000;
  const uint64_t fileSize = start.size() + kFragment * kFragments;
  int reads = 0;
  // The file is made up as it is read: its opening, then 1 MB 'mdat' boxes.
  const bool cut = mediaFileIsCutShort(fileSize, [&](uint64_t offset, uint8_t* buffer, size_t length) {
    ++reads;
    if (offset > fileSize || fileSize - offset < length) return false;
    for (size_t i = 0; i < length; ++i) {
      const uint64_t at = offset + i;
      if (at < start.size()) {
        buffer[i] = static_cast<uint8_t>(start[at]);
        continue;
      }
      const uint64_t inBox = (at - start.size()) % kFragment;
      const uint8_t header[8] = {0, 0x10, 0, 0, 'm', 'd', 'a', 't'};
      buffer[i] = inBox < 8 ? header[inBox] : 0;
    }
    return true;
  });
  EXPECT_FALSE(cut);
  EXPECT_LE(reads, 1100);
}

TEST(CutShortMedia, AviFilesAsLongAsTheirRiffHeaderSays) {
  EXPECT_FALSE(cutShort(riffAvi(4 + 1000, 1000)));
  EXPECT_FALSE(cutShort(riffAvi(0, 1000)));  // a writer that never went back to fill it in
  EXPECT_TRUE(cutShort(riffAvi(4 + 100000, 1000)));
}

// An ASF header of `headerBytes` holding a file properties object that
// declares `declaredSize` bytes, then `dataBytes` of data.
std::string asf(uint64_t declaredSize, uint32_t flags, size_t dataBytes, uint64_t headerBytes = 0) {
  const auto le = [](uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char(value >> (8 * i));
    return out;
  };
  const std::string properties =
      std::string("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65", 16) + le(104, 8) +
      std::string(16, 'i') + le(declaredSize, 8) + std::string(40, 't') + le(flags, 4) + std::string(12, 'r');
  const uint64_t size = headerBytes ? headerBytes : 30 + properties.size();
  const std::string guid("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
  return guid + le(size, 8) + le(1, 4) + "\x01\x02" + properties + std::string(dataBytes, 'd');
}

TEST(CutShortMedia, AsfFilesAsLongAsTheirFilePropertiesSay) {
  const size_t whole = 30 + 104 + 5000;
  EXPECT_FALSE(cutShort(asf(whole, 2, 5000)));
  EXPECT_TRUE(cutShort(asf(whole, 2, 5000).substr(0, 3000))) << "a download that stopped";
  EXPECT_TRUE(cutShort(asf(whole, 2, 5000).substr(0, 100))) << "the header itself cut";
  EXPECT_TRUE(cutShort(asf(whole, 2, 10, 100000))) << "a header larger than the file";
  EXPECT_FALSE(cutShort(asf(whole + 4000, 1, 5000))) << "a broadcast gives no size";
  std::string broken = asf(whole + 4000, 2, 5000);
  broken.replace(46, 8, std::string(8, '\0'));
  EXPECT_FALSE(cutShort(broken)) << "a header that breaks is the platform's to refuse";
}

TEST(CutShortMedia, OtherFilesAreLeftToThePlatform) {
  EXPECT_FALSE(cutShort(""));
  EXPECT_FALSE(cutShort(std::string(64, '\0')));
  EXPECT_FALSE(cutShort("RIFF\xff\xff\xff\x7fWAVEfmt "));  // not a video container
  EXPECT_FALSE(cutShort("\x1a\x45\xdf\xa3 matroska header"));
}

}  // namespace
}  // namespace qova::media
