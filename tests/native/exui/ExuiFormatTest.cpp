// Stored property data, image sets, packed font information and byte-array
// blocks: what the program writes must read back the same in the library,
// and damaged bytes must never be read past their end.
#include <gtest/gtest.h>

#include <cstring>

#include "outside/exui/ExuiFormat.h"

namespace {

using namespace qova::exui;

Bytes bytesOf(std::initializer_list<int> values) {
  Bytes out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v));
  return out;
}

TEST(PropertyData, StartsWithThePrefixAndReadsBackEveryKind) {
  const Bytes png = bytesOf({0x89, 'P', 'N', 'G', 1, 2, 3});
  const Bytes data = PropertyWriter()
                         .text(kExuiPropCaption, u"设置开机启动")
                         .boolean(kExuiPropChecked, true)
                         .integer(kExuiPropValue, -35)
                         .integers(kExuiPropItemSize, {200, 170})
                         .picture(kExuiPropBackground, png)
                         .imageSet(kExuiPropStateImages, {png, {}})
                         .data();
  ASSERT_GE(data.size(), 14u);
  EXPECT_EQ(Bytes(data.begin(), data.begin() + 13),
            bytesOf({0xFF, 0xD8, 0xFF, 0xE1, 0x00, 'E', 'x', '_', 'u', 'i', '+', '+', 1}));

  const PropertySet set = PropertySet::parse(data);
  EXPECT_EQ(set.text(kExuiPropCaption), u"设置开机启动");
  EXPECT_EQ(set.integer(kExuiPropChecked, 0), 1);
  EXPECT_EQ(set.integer(kExuiPropValue, 0), -35);
  EXPECT_EQ(set.integers(kExuiPropItemSize, {1, 1}), (std::vector<int32_t>{200, 170}));
  EXPECT_EQ(Bytes(set.bytes(kExuiPropBackground).begin(), set.bytes(kExuiPropBackground).end()), png);
  EXPECT_EQ(set.kind(kExuiPropStateImages), ExuiValueKind::ImageSet);
  EXPECT_EQ(decodeImageSet(set.bytes(kExuiPropStateImages)), (std::vector<Bytes>{png, {}}));
}

TEST(PropertyData, AbsentAndShortValuesGiveTheDefaults) {
  const PropertySet set =
      PropertySet::parse(PropertyWriter().integers(kExuiPropItemSize, {200}).data());
  EXPECT_FALSE(set.has(kExuiPropValue));
  EXPECT_EQ(set.integer(kExuiPropMaximum, 100), 100);
  EXPECT_EQ(set.integers(kExuiPropItemSize, {176, 150}), (std::vector<int32_t>{176, 150}));
  EXPECT_TRUE(set.text(kExuiPropCaption).empty());
}

TEST(PropertyData, ForeignOrDamagedDataNeverReadsPastItsEnd) {
  EXPECT_FALSE(PropertySet::parse(bytesOf({1, 2, 3})).has(kExuiPropCaption));
  EXPECT_FALSE(PropertySet::parse({}).has(kExuiPropCaption));

  Bytes data = PropertyWriter().integer(kExuiPropValue, 7).text(kExuiPropCaption, u"abc").data();
  // Every cut keeps the whole entries before it and drops the rest.
  for (size_t cut = 0; cut < data.size(); ++cut) {
    const PropertySet set = PropertySet::parse(ByteView(data.data(), cut));
    if (set.has(kExuiPropCaption)) {
      EXPECT_EQ(set.text(kExuiPropCaption), u"abc");
    }
    if (set.has(kExuiPropValue)) {
      EXPECT_EQ(set.integer(kExuiPropValue, 0), 7);
    }
  }
  // A length running far past the end.
  data[14 + 4] = 0xFF;
  data[14 + 7] = 0x7F;
  EXPECT_FALSE(PropertySet::parse(data).has(kExuiPropValue));
}

TEST(PropertyData, EncodeKeepsUnknownIdsAndTheLastOfTwinEntries) {
  const Bytes data = PropertyWriter().integer(900, 5).integer(kExuiPropValue, 1).integer(kExuiPropValue, 2).data();
  PropertySet set = PropertySet::parse(data);
  EXPECT_EQ(set.integer(kExuiPropValue, 0), 2);
  set.setInteger(kExuiPropMinimum, -3);
  const PropertySet again = PropertySet::parse(set.encode());
  EXPECT_EQ(again.integer(900, 0), 5);
  EXPECT_EQ(again.integer(kExuiPropValue, 0), 2);
  EXPECT_EQ(again.integer(kExuiPropMinimum, 0), -3);
}

TEST(PropertyData, TextDropsTerminatingNulsAndOddBytes) {
  PropertySet set;
  set.setBytes(kExuiPropText, ExuiValueKind::Text, utf16Bytes(u"a\r\nb", 4));
  EXPECT_EQ(set.text(kExuiPropText), u"a\r\nb");
  EXPECT_EQ(textFromUtf16Bytes(bytesOf({'x', 0, 'y'})), u"x");
}

TEST(ImageSet, APlainPictureIsASetOfOneAndDamageKeepsTheGoodPart) {
  const Bytes png = bytesOf({0x89, 'P', 'N', 'G'});
  EXPECT_EQ(decodeImageSet(png), (std::vector<Bytes>{png}));
  EXPECT_TRUE(decodeImageSet({}).empty());

  Bytes set = encodeImageSet({png, bytesOf({1, 2, 3})});
  EXPECT_EQ(decodeImageSet(set).size(), 2u);
  set.resize(set.size() - 1);
  EXPECT_EQ(decodeImageSet(set), (std::vector<Bytes>{png}));
  EXPECT_TRUE(decodeImageSet(bytesOf({'E', 'X', 'I', 'S', 9})).empty());
}

TEST(FontInfo, PacksTheEightyFourByteRecordAndUnpacksIt) {
  ExuiFontInfo info{};
  const std::u16string face = u"微软雅黑";
  std::memcpy(info.face, face.data(), face.size() * 2);
  info.height = 14;
  info.bold = 1;
  const Bytes packed = packFontInfo(info);
  EXPECT_EQ(packed.size(), 24u + face.size() * 2);
  const auto font = unpackFontInfo(packed);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->face, face);
  EXPECT_EQ(font->height, 14);
  EXPECT_TRUE(font->bold);
  EXPECT_FALSE(font->italic);
  EXPECT_FALSE(unpackFontInfo(bytesOf({'E', 'X', 'F', 'T', 1})));
  EXPECT_FALSE(unpackFontInfo({}));
}

TEST(FontInfo, AFaceFillingAllThirtyTwoUnitsHasNoNul) {
  ExuiFontInfo info{};
  for (char16_t& unit : info.face) unit = u'a';
  EXPECT_EQ(unpackFontInfo(packFontInfo(info))->face, std::u16string(32, u'a'));
}

TEST(ByteBlock, HeaderIsOneAndTheLength) {
  const Bytes block = makeByteBlock(bytesOf({7, 8, 9}));
  EXPECT_EQ(block, bytesOf({1, 0, 0, 0, 3, 0, 0, 0, 7, 8, 9}));
  const ByteView view = byteBlockBytes(block.data());
  EXPECT_EQ(Bytes(view.begin(), view.end()), bytesOf({7, 8, 9}));
  EXPECT_TRUE(byteBlockBytes(nullptr).empty());
  const Bytes negative = bytesOf({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_TRUE(byteBlockBytes(negative.data()).empty());
}

}  // namespace
