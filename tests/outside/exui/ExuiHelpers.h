#pragma once
// Small helpers for driving the library the way the program does.
#include <windows.h>

#include <gtest/gtest.h>

#include <string_view>

#include "outside/exui/ExuiFormat.h"
#include "tests/outside/exui/ExuiApi.h"

namespace qova::test {

// A byte-array block (1, length, bytes) as the contract passes them.
class ByteArray {
 public:
  explicit ByteArray(exui::ByteView bytes) : block_(exui::makeByteBlock(bytes)) {}
  static ByteArray text(std::u16string_view text, size_t nulBytes = 2) {
    return ByteArray(exui::utf16Bytes(text, nulBytes));
  }
  ExuiByteArray get() const { return reinterpret_cast<ExuiByteArray>(block_.data()); }
  intptr_t value() const { return reinterpret_cast<intptr_t>(block_.data()); }

 private:
  exui::Bytes block_;
};

inline ExuiImage loadImage(exui::ByteView bytes) { return exui().loadImage(ByteArray(bytes).get()); }

// Appends an item the way the program refills its list: load, insert, destroy.
inline int32_t appendItem(ExuiControl list, exui::ByteView picture, std::u16string_view title) {
  ExuiImage image = loadImage(picture);
  const int32_t index = exui().insertItem(list, -1, 1, 0, image, ByteArray::text(title).get(), 0);
  exui().destroyImage(image);
  return index;
}

// The item's cell in the list's client coordinates.
inline RECT itemRect(ExuiControl list, int index) {
  RECT rect{};
  exui().callInternal(kExuiFunctionListItemRect, reinterpret_cast<intptr_t>(list), index,
                      reinterpret_cast<intptr_t>(&rect), 0, 0, 0);
  return rect;
}

inline int listScroll(ExuiControl list, int offset = -1) {
  return static_cast<int>(
      exui().callInternal(kExuiFunctionListScroll, reinterpret_cast<intptr_t>(list), offset, 0, 0, 0, 0));
}

inline int integerProperty(ExuiControl control, int32_t id) {
  ExuiPropertyValue value{};
  exui().controlSendMessage(control, kExuiMessageGetProperty, id, reinterpret_cast<intptr_t>(&value), 0, 0);
  return value.integer;
}

class ExuiTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(exuiLoaded()) << "ExuiKrnln.dll or one of its exports is missing"; }
};

}  // namespace qova::test
