// The calls the application makes through the component binding, on the
// components of the real windows: property requests, the play button's
// skins, the slider, list items, images, menus and packed fonts; and what
// the binding gives for components it does not know.
#include <gtest/gtest.h>

#include <cstring>

#include "app/Program.h"
#include "engines/ExuiBinding.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "shell/Layouts.h"
#include "tests/outside/exui/ExuiHelpers.h"
#include "tests/outside/exui/TestPictures.h"
#include "tests/support/WindowSearch.h"
#include "tests/ui/UiFixture.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

// The program's files are in bin/, one folder above this test program.
exui::Bytes shippedFile(const std::string& name) {
  const std::string text = readWholeFile(programFile("..\\" + name));
  return exui::Bytes(text.begin(), text.end());
}

class Binding : public UiTest {};

TEST_F(Binding, ThePlayButtonTakesTheSkinFilesBytesUnchanged) {
  HWND window = showMainWindow(kMainWindowCollapsedHeight);
  ASSERT_NE(window, nullptr);
  HWND button = controlByName(window, kPlayButtonName);
  EXPECT_EQ(exui::decodeImageSet(componentBytesProperty(button, kExuiPropStateImages2x)).size(), 2u);
  for (const char* file : {"skin_bf.ex", "skin_zt.ex"}) {
    SCOPED_TRACE(file);
    const exui::Bytes skin = shippedFile(file);
    ASSERT_FALSE(skin.empty());
    EXPECT_EQ(exui::decodeImageSet(skin).size(), 2u) << "normal and pressed";
    ASSERT_TRUE(setButtonImages(button, skin));
    EXPECT_EQ(componentBytesProperty(button, kExuiPropStateImages), skin);
    EXPECT_TRUE(componentBytesProperty(button, kExuiPropStateImages2x).empty())
        << "the layout's larger pictures go with the pictures they were drawn for";
  }
  // The layout's own pictures are those of "skin_zt.ex" (playing at start-up).
  const ComponentLayout& stored = layoutOf(window)->components[2];
  const exui::PropertySet storedProperties = exui::PropertySet::parse(stored.properties);
  const exui::ByteView storedImages = storedProperties.bytes(kExuiPropStateImages);
  EXPECT_EQ(exui::Bytes(storedImages.begin(), storedImages.end()), shippedFile("skin_zt.ex"));
  // A missing file gives an empty image set: the button shows nothing, nothing breaks.
  EXPECT_TRUE(setButtonImages(button, {}));
  EXPECT_TRUE(componentBytesProperty(button, kExuiPropStateImages).empty());
  settle();
  EXPECT_TRUE(callNumbers(kPlayButtonName).empty()) << "no event from a change by code";
}

TEST_F(Binding, SliderPositionRoundTripsWithinItsRange) {
  HWND window = showMainWindow(kMainWindowExpandedHeight);
  ASSERT_NE(window, nullptr);
  HWND slider = controlByName(window, kVolumeSliderName);
  EXPECT_EQ(sliderPosition(slider), 0);
  EXPECT_TRUE(setSliderPosition(slider, 73));
  EXPECT_EQ(sliderPosition(slider), 73);
  EXPECT_TRUE(setSliderPosition(slider, 250));
  EXPECT_EQ(sliderPosition(slider), 100) << "kept within 0..100";
  settle();
  EXPECT_TRUE(callNumbers(kVolumeSliderName).empty());
}

TEST_F(Binding, TheWholePropertySetComesInAMovableBlockWithItsHeader) {
  HWND window = showMainWindow(kMainWindowExpandedHeight);
  ASSERT_NE(window, nullptr);
  HWND radio = controlByName(window, "单选框EX1");
  UniqueGlobalMemory block = componentPropertyBlock(radio);
  ASSERT_TRUE(block);
  EXPECT_EQ(::GlobalFlags(block.get()) & GMEM_DISCARDED, 0u);
  const auto* bytes = static_cast<const uint8_t*>(::GlobalLock(block.get()));
  ASSERT_NE(bytes, nullptr);
  int32_t header[2] = {};
  std::memcpy(header, bytes, sizeof header);
  EXPECT_EQ(header[0], 1);
  ASSERT_GE(::GlobalSize(block.get()), sizeof header + static_cast<size_t>(header[1]));
  const exui::ByteView data(bytes + sizeof header, static_cast<size_t>(header[1]));
  EXPECT_TRUE(exui::PropertySet::hasPrefix(data));
  const exui::PropertySet properties = exui::PropertySet::parse(data);
  EXPECT_EQ(properties.text(kExuiPropCaption), u"显示该窗口");
  EXPECT_EQ(properties.integer(kExuiPropChecked, 0), 1);
  ::GlobalUnlock(block.get());
  EXPECT_FALSE(componentPropertyBlock(nullptr));
}

TEST_F(Binding, ListItemsAreCountedInsertedAndAllRemoved) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  HWND list = controlByName(window, kLibraryListName);
  EXPECT_EQ(listItemCount(list), 0);
  fillLibraryAndList(list);
  EXPECT_EQ(listItemCount(list), 3);
  UniqueImage broken(loadImage(exui::Bytes{1, 2, 3}));
  ASSERT_TRUE(broken) << "bad bytes still give an (empty) image";
  EXPECT_EQ(insertListItem(list, -1, kExuiFitKeepAspect, 0, broken.get(), exui::utf16Bytes(u"坏", 2), 0), 3);
  EXPECT_EQ(insertListItem(list, -1, kExuiFitKeepAspect, 0, nullptr, {}, 0), 4);
  const int32_t count = listItemCount(list);
  EXPECT_EQ(deleteListItems(list, -1, count), count);
  EXPECT_EQ(listItemCount(list), 0);
}

TEST_F(Binding, SkinnedMenusAreMadeFilledAndShown) {
  HWND window = showLibraryWindow();
  ASSERT_NE(window, nullptr);
  ExuiFontInfo font{};
  const std::u16string face = u"微软雅黑";
  std::copy(face.begin(), face.end(), font.face);
  font.height = 14;
  const exui::Bytes packed = packFontInfo(font);
  ASSERT_GE(packed.size(), 4u);
  EXPECT_EQ(std::string(packed.begin(), packed.begin() + 4), "EXFT");

  const ExuiMenu menu = createMenu(16, 16, {}, packed, {}, 255, nullptr, 1);
  ASSERT_NE(menu, 0);
  UniqueImage icon(loadImage(shippedFile("ico\\设置.png")));
  const int32_t first = insertMenuItem(menu, 0, -1, kExuiMenuItemNormal, icon.get(),
                                       exui::utf16Bytes(u"打开设置", 4), 0xFF000000u, 0xFF000000u, 80, 22, 0, false);
  const int32_t second = insertMenuItem(menu, 0, -1, kExuiMenuItemNormal, nullptr, exui::utf16Bytes(u"退出应用", 4),
                                        0xFF000000u, 0xFF000000u, 80, 22, 0, false);
  EXPECT_GT(first, 1000);
  EXPECT_GT(second, first);
  const POINT at = screenPoint(window, 300, 300);
  EXPECT_EQ(popUpMenu(menu, 0, at.x, at.y, window, false, 0), 1) << "non-modal: returns at once";
  ASSERT_TRUE(settleUntil([] { return ::FindWindowW(kExuiMenuWindowClass, nullptr) != nullptr; }));
  // Laid out at the DPI of its window, as the window's own components.
  RECT item{};
  exui().callInternal(kExuiFunctionMenuItemRect, menu, first, reinterpret_cast<intptr_t>(&item), 0, 0, 0);
  EXPECT_EQ(item.bottom - item.top, scaledFor(window, 22));
  realKey(VK_ESCAPE);
  EXPECT_TRUE(settleUntil([] {
    HWND open = ::FindWindowW(kExuiMenuWindowClass, nullptr);
    return !open || !::IsWindowVisible(open);
  }));
  EXPECT_EQ(insertMenuItem(0, 0, -1, 0, nullptr, {}, 0, 0, 80, 22, 0, false), 0);
  EXPECT_EQ(popUpMenu(0, 0, at.x, at.y, window, false, 0), 0);
}

TEST_F(Binding, ImagesDecodeWhateverTheyAreGiven) {
  showLibraryWindow();
  const exui::Bytes png = shippedFile("ico\\添加.png");
  for (const exui::Bytes& bytes : {png, exui::Bytes{}, exui::Bytes(png.begin(), png.begin() + 40)}) {
    ExuiImage image = loadImage(bytes);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(destroyImage(image), 1);
  }
  const ExuiImage icon = loadImage(png);
  EXPECT_EQ(exui().callInternal(kExuiFunctionImageWidth, reinterpret_cast<intptr_t>(icon), 0, 0, 0, 0, 0), 32);
  destroyImage(icon);
}

TEST_F(Binding, UnknownComponentsGiveTheFailureResults) {
  showLibraryWindow();
  HWND plain = ::GetDesktopWindow();
  EXPECT_EQ(controlOf(nullptr), nullptr);
  EXPECT_EQ(controlOf(plain), nullptr);
  EXPECT_EQ(listItemCount(plain), 0);
  EXPECT_EQ(deleteListItems(plain, -1, 5), 0);
  EXPECT_EQ(insertListItem(plain, -1, 1, 0, nullptr, {}, 0), -1);
  EXPECT_FALSE(setSliderPosition(plain, 5));
  EXPECT_EQ(sliderPosition(plain), 0);
  EXPECT_FALSE(setButtonImages(plain, {}));
  EXPECT_FALSE(setComponentProperty(plain, kExuiPropCaption, exui::Bytes{}));
  EXPECT_EQ(componentIntegerProperty(plain, kExuiPropValue, 42), 42);
  EXPECT_TRUE(componentBytesProperty(plain, kExuiPropCaption).empty());
}

TEST_F(Binding, ChildWindowsAreTheLibrarysComponentsWithTheBuildersStyle) {
  HWND window = showMainWindow(kMainWindowExpandedHeight);
  ASSERT_NE(window, nullptr);
  for (const ComponentLayout& row : layoutOf(window)->components) {
    SCOPED_TRACE(row.name);
    HWND component = controlByName(window, row.name);
    ASSERT_NE(component, nullptr);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrA(component, GWL_STYLE));
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    EXPECT_EQ(titleOf(component), "");
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    ASSERT_TRUE(::GetClassInfoExA(::GetModuleHandleA(nullptr), componentClassName(row.componentClass), &windowClass));
    EXPECT_TRUE(windowClass.style & CS_DBLCLKS);
    EXPECT_EQ(windowClass.hbrBackground, ::GetStockObject(WHITE_BRUSH));
  }
}

}  // namespace
}  // namespace qova::test
