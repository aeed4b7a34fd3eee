// Property requests of the window builder (change, read, whole set), the
// packed font record, and the internal function dispatcher.
#include <cstring>

#include "tests/outside/exui/ComponentHost.h"
#include "tests/outside/exui/ExuiHelpers.h"

namespace qova::test {
namespace {

using exui::Box;
using exui::PropertyWriter;

class PropertyTest : public ExuiTest {
 protected:
  void SetUp() override {
    ExuiTest::SetUp();
    if (!HasFatalFailure()) host_ = std::make_unique<ComponentHost>(300, 200);
  }
  std::unique_ptr<ComponentHost> host_;
};

TEST_F(PropertyTest, TheWholeSetIsABlockWhoseSecondWordIsItsLengthAndReadsBackLiveState) {
  ExuiControl slider = host_->create(Component::SliderbarEx,
                                     PropertyWriter().integer(kExuiPropValue, 20).integer(900, 7).data(),
                                     Box::sized(0, 0, 175, 24));
  exui().controlSendMessage(slider, kExuiMessageSetProperty, kExuiPropValue, 64, 0, 0);
  const auto* block = reinterpret_cast<const int32_t*>(
      exui().controlSendMessage(slider, kExuiMessageGetAllProperties, -1, 0, 0, 0));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[0], 1);
  ASSERT_GT(block[1], 12);
  const exui::ByteView data(reinterpret_cast<const uint8_t*>(block) + 8, static_cast<size_t>(block[1]));
  EXPECT_TRUE(exui::PropertySet::hasPrefix(data));
  const exui::PropertySet set = exui::PropertySet::parse(data);
  EXPECT_EQ(set.integer(kExuiPropValue, 0), 64);
  EXPECT_EQ(set.integer(900, 0), 7) << "ids the library does not know travel along";

  // The stored set recreates the same control.
  ExuiControl copy = host_->create(Component::SliderbarEx, exui::Bytes(data.begin(), data.end()), Box::sized(0, 40, 175, 24));
  EXPECT_EQ(integerProperty(copy, kExuiPropValue), 64);
}

TEST_F(PropertyTest, ReadingGivesDefaultsAndOwnedBytesAndRefusesTheUnknown) {
  ExuiControl list = host_->create(Component::IcoListboxEx, PropertyWriter().data(), Box::sized(0, 0, 300, 200));
  ExuiPropertyValue value{};
  ASSERT_EQ(exui().controlSendMessage(list, kExuiMessageGetProperty, kExuiPropItemSize, reinterpret_cast<intptr_t>(&value), 0, 0), 1);
  ASSERT_EQ(value.length, 8);
  int32_t size[2] = {};
  std::memcpy(size, value.bytes, 8);
  EXPECT_EQ(size[0], 200);
  EXPECT_EQ(size[1], 150);
  EXPECT_EQ(exui().controlSendMessage(list, kExuiMessageGetProperty, 555, reinterpret_cast<intptr_t>(&value), 0, 0), 0);
  EXPECT_EQ(exui().controlSendMessage(list, kExuiMessageGetProperty, kExuiPropCaption, 0, 0, 0), 0);
  EXPECT_EQ(exui().controlSendMessage(list, kExuiMessageSetProperty, 555, 1, 0, 0), 0);
  EXPECT_EQ(exui().controlSendMessage(list, 12345, kExuiPropCaption, 0, 0, 0), 0);
  EXPECT_EQ(exui().controlSendMessage(nullptr, kExuiMessageGetAllProperties, -1, 0, 0, 0), 0);

  // Changing the cell size moves the items.
  const int32_t bigger[2] = {240, 200};
  exui().controlSendMessage(list, kExuiMessageSetProperty, kExuiPropItemSize,
                            ByteArray(exui::ByteView(reinterpret_cast<const uint8_t*>(bigger), 8)).value(), 0, 0);
  exui().insertItem(list, -1, 1, 0, nullptr, nullptr, 0);
  const RECT cell = itemRect(list, 0);
  EXPECT_EQ(cell.right - cell.left, 240);
  EXPECT_EQ(cell.bottom - cell.top, 200);
}

TEST_F(PropertyTest, PackedFontInfoHasItsLengthAtFourAndItsBytesAtEight) {
  ExuiFontInfo info{};
  const std::u16string face = u"微软雅黑";
  std::memcpy(info.face, face.data(), face.size() * 2);
  info.height = 14;
  const auto* record = reinterpret_cast<const uint8_t*>(exui().packFontInfo(&info));
  ASSERT_NE(record, nullptr);
  int32_t one = 0, length = 0;
  std::memcpy(&one, record, 4);
  std::memcpy(&length, record + 4, 4);
  EXPECT_EQ(one, 1);
  ASSERT_GT(length, 0);
  const auto font = exui::unpackFontInfo(exui::ByteView(record + 8, static_cast<size_t>(length)));
  ASSERT_TRUE(font);
  EXPECT_EQ(font->face, face);
  EXPECT_EQ(font->height, 14);

  // The same record handed over as a byte array packs alike.
  const ByteArray asBlock(exui::ByteView(reinterpret_cast<const uint8_t*>(&info), sizeof info));
  const auto* again = reinterpret_cast<const uint8_t*>(exui().packFontInfo(asBlock.get()));
  EXPECT_EQ(std::memcmp(again + 4, &length, 4), 0);
  EXPECT_EQ(exui::unpackFontInfo(exui::ByteView(again + 8, static_cast<size_t>(length)))->face, face);

  const auto* empty = reinterpret_cast<const int32_t*>(exui().packFontInfo(nullptr));
  EXPECT_EQ(empty[1], 0);
}

TEST_F(PropertyTest, TheDispatcherAnswersKnownNumbersAndZeroForOthers) {
  EXPECT_EQ(exui().callInternal(kExuiFunctionVersion, 0, 0, 0, 0, 0, 0), kExuiVersion);
  EXPECT_EQ(exui().callInternal(424242, 0, 0, 0, 0, 0, 0), 0);
  ExuiControl button = host_->create(Component::ButtonEx, PropertyWriter().data(), Box::sized(0, 0, 50, 20));
  EXPECT_EQ(exui().callInternal(kExuiFunctionIsControl, reinterpret_cast<intptr_t>(button), 0, 0, 0, 0, 0), 1);
  EXPECT_EQ(exui().callInternal(kExuiFunctionControlClass, reinterpret_cast<intptr_t>(button), 0, 0, 0, 0, 0),
            kExuiClassButtonEx);
  EXPECT_EQ(exui().sizeSynchronise(ComponentHost::windowOf(button), kExuiSyncSized), 1);
  EXPECT_EQ(exui().sizeSynchronise(host_->window(), kExuiSyncSized), 0);
}

}  // namespace
}  // namespace qova::test
