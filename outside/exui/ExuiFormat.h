#pragma once
// The data formats of the ExuiKrnln.dll contract, without <windows.h>: the
// stored property data of a component, image sets (button and window skins,
// the ".ex" skin files), packed font information and byte-array blocks.
//
// Included by ExuiContract.h (the calling contract), by the library itself and
// by the program's window builder, which stores its layouts with
// PropertyWriter. All numbers are little-endian.
//
// Stored property data
// --------------------
//   offset 0   FF D8 FF E1 00 'E' 'x' '_' 'u' 'i' '+' '+'   (kExuiPropertyPrefix, 12 bytes)
//   offset 12  uint16 format version, 1
//   offset 14  entries, one after the other up to the end:
//                uint16 property id (kExuiProp...)   uint16 value kind (ExuiValueKind)
//                uint32 byte length n                n bytes of value
// An id may appear once; the reader keeps the last. Unknown ids are kept and
// written back unchanged; an entry whose length runs past the end ends the
// data (the entries before it still count). A property that is absent has
// its default (see the table in ExuiContract.h).
//
// Value kinds and their bytes:
//   Integer   4 bytes, int32 (booleans too: 0 or 1; colours: ARGB)
//   Integers  4 x count bytes, int32 each (sizes, margins)
//   Text      UTF-16LE code units, no terminating NUL (trailing NULs are dropped on reading)
//   Picture   the bytes of one PNG, JPEG, BMP or GIF file
//   ImageSet  an image set (below)
//
// Image set
// ---------
//   'E' 'X' 'I' 'S'  uint32 count  then count times: uint32 byte length n, n bytes of one picture
// The bytes of a plain picture file (anything not starting "EXIS") are read as
// a set of that one picture, so a bare PNG works wherever a set is expected.
// The ".ex" skin files of the play button are image sets of two pictures.
//
// Packed font information (RexcPackFontInfo's result, Create_MenuEx's font)
// -------------------------------------------------------------------------
//   'E' 'X' 'F' 'T'  int32 height in pixels  int32 bold  int32 italic
//   int32 underline  int32 strike-out  then the face name, UTF-16LE, no NUL
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The twelve bytes every component's stored property data starts with.
inline constexpr uint8_t kExuiPropertyPrefix[12] = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 'E',
                                                    'x',  '_',  'u',  'i',  '+',  '+'};
inline constexpr uint16_t kExuiPropertyVersion = 1;

enum class ExuiValueKind : uint16_t { Integer = 1, Integers = 2, Text = 3, Picture = 4, ImageSet = 5 };

// Property ids: the "property index" of ControlSendMessage and the ids of the
// stored entries. Which component reads which, with defaults: ExuiContract.h.
inline constexpr int32_t kExuiPropCaption = 1;            // Text
inline constexpr int32_t kExuiPropSkinName = 2;           // Text
inline constexpr int32_t kExuiPropStateImages = 3;        // ImageSet
inline constexpr int32_t kExuiPropChecked = 4;            // Integer, 0 or 1
inline constexpr int32_t kExuiPropValue = 5;              // Integer
inline constexpr int32_t kExuiPropMinimum = 6;            // Integer
inline constexpr int32_t kExuiPropMaximum = 7;            // Integer
inline constexpr int32_t kExuiPropText = 8;               // Text
inline constexpr int32_t kExuiPropReadOnly = 9;           // Integer, 0 or 1
inline constexpr int32_t kExuiPropBackground = 10;        // Picture
inline constexpr int32_t kExuiPropBackgroundMargins = 11; // Integers: left, top, right, bottom
inline constexpr int32_t kExuiPropCloseImages = 12;       // ImageSet: normal, hover, pressed
inline constexpr int32_t kExuiPropWindowRole = 13;        // Integer: kExuiWindowRole...
inline constexpr int32_t kExuiPropItemSize = 14;          // Integers: width, height
inline constexpr int32_t kExuiPropImageSize = 15;         // Integers: width, height
inline constexpr int32_t kExuiPropListImages = 16;        // ImageSet: kExuiListImage... order
inline constexpr int32_t kExuiPropTextColour = 17;        // Integer, ARGB; 0 = the skin's colour
inline constexpr int32_t kExuiPropBandHeight = 18;        // Integer, pixels
inline constexpr int32_t kExuiPropDpi = 19;               // Integer; 0 = the DPI of the control's window
inline constexpr int32_t kExuiPropStateImages2x = 20;     // ImageSet: StateImages drawn for 192 DPI
inline constexpr int32_t kExuiPropCloseImages2x = 21;     // ImageSet: CloseImages drawn for 192 DPI

// kExuiPropWindowRole values of a WindowEx.
inline constexpr int32_t kExuiWindowRolePanel = 0;        // a container panel that draws itself
inline constexpr int32_t kExuiWindowRoleFrame = 1;        // the skin of its parent window

// The pictures of an IcoListboxEx's image set (kExuiPropListImages), by position.
inline constexpr int kExuiListImageItem = 0;              // item background, normal (nine-grid)
inline constexpr int kExuiListImageItemHot = 1;           // item background under the pointer
inline constexpr int kExuiListImageThumb = 2;             // scroll-bar thumb, normal (stretched vertically)
inline constexpr int kExuiListImageThumbPressed = 3;      // scroll-bar thumb, dragged
inline constexpr int kExuiListImageUp = 4;                // up arrow: normal, hover, pressed (4, 5, 6)
inline constexpr int kExuiListImageDown = 7;              // down arrow: normal, hover, pressed (7, 8, 9)
inline constexpr int kExuiListImageMark = 10;             // mark drawn before each title
inline constexpr int kExuiListImageCount = 11;

// RexcPackFontInfo's argument: 84 bytes.
struct ExuiFontInfo {
  char16_t face[32];      // UTF-16LE face name, NUL-terminated unless all 32 are used
  int32_t height;         // character height in pixels (14 is a usual menu font)
  int32_t bold;           // 0 or 1
  int32_t italic;         // 0 or 1
  int32_t underline;      // 0 or 1
  int32_t strikeOut;      // 0 or 1
};
static_assert(sizeof(ExuiFontInfo) == 84);

namespace qova::exui {

using Bytes = std::vector<uint8_t>;
using ByteView = std::span<const uint8_t>;

// Builds the stored property data of one component, e.g.
//   PropertyWriter().text(kExuiPropCaption, u"设置开机启动").data()
class PropertyWriter {
 public:
  PropertyWriter& integer(int32_t id, int32_t value);
  PropertyWriter& boolean(int32_t id, bool value) { return integer(id, value ? 1 : 0); }
  PropertyWriter& integers(int32_t id, std::initializer_list<int32_t> values);
  PropertyWriter& text(int32_t id, std::u16string_view text);
  PropertyWriter& picture(int32_t id, ByteView bytes);
  PropertyWriter& imageSet(int32_t id, const std::vector<Bytes>& pictures);
  // Prefix, version and every entry in the order written.
  Bytes data() const;

 private:
  PropertyWriter& entry(int32_t id, ExuiValueKind kind, ByteView value);
  Bytes entries_;
};

// One stored value.
struct PropertyValue {
  ExuiValueKind kind = ExuiValueKind::Integer;
  Bytes bytes;
};

// A component's properties, read from stored data and written back.
class PropertySet {
 public:
  // Reads stored property data; data without the prefix gives an empty set.
  static PropertySet parse(ByteView data);
  // True when the bytes start with kExuiPropertyPrefix.
  static bool hasPrefix(ByteView data);

  bool has(int32_t id) const { return values_.count(id) != 0; }
  // The value's bytes; empty when absent.
  ByteView bytes(int32_t id) const;
  std::optional<ExuiValueKind> kind(int32_t id) const;
  // The first int32 of an Integer or Integers value; `fallback` when absent or too short.
  int32_t integer(int32_t id, int32_t fallback) const;
  // Every int32 of the value; `fallback` when absent or fewer than fallback.size().
  std::vector<int32_t> integers(int32_t id, std::vector<int32_t> fallback) const;
  // A Text value without trailing NULs; empty when absent.
  std::u16string text(int32_t id) const;

  void setInteger(int32_t id, int32_t value);
  void setBytes(int32_t id, ExuiValueKind kind, ByteView bytes);
  // The whole set as stored property data (prefix, version, entries in id order).
  Bytes encode() const;

 private:
  std::map<int32_t, PropertyValue> values_;
};

// An image set holding these pictures.
Bytes encodeImageSet(const std::vector<Bytes>& pictures);
// The pictures of an image set (a plain picture is a set of one; empty bytes, none).
// Never reads past the end: a damaged set gives the pictures before the damage.
std::vector<Bytes> decodeImageSet(ByteView bytes);

// The decoded form of packed font information.
struct FontDescription {
  std::u16string face;
  int32_t height = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

// Packed font information for RexcPackFontInfo's 84-byte record.
Bytes packFontInfo(const ExuiFontInfo& info);
// The font packed in `bytes`; nothing when they are not packed font information.
std::optional<FontDescription> unpackFontInfo(ByteView bytes);

// A byte-array block as it crosses the contract: int32 1, int32 length, the bytes.
Bytes makeByteBlock(ByteView bytes);
// The bytes of the block at `block`; empty for null or a negative length.
// `block` must be readable for 8 + length bytes.
ByteView byteBlockBytes(const void* block);

// The bytes of an Integers value (int32 each, little-endian).
Bytes integersBytes(std::span<const int32_t> values);

// UTF-16LE bytes of `text`, optionally followed by `nulBytes` zero bytes.
Bytes utf16Bytes(std::u16string_view text, size_t nulBytes = 0);
// UTF-16LE bytes as text, up to the first NUL (an odd last byte is dropped).
std::u16string textFromUtf16Bytes(ByteView bytes);

}  // namespace qova::exui
