#include "outside/exui/Fonts.h"

#include <map>
#include <mutex>
#include <tuple>

#include "outside/exui/ExuiFormat.h"
#include "outside/exui/Theme.h"
#include "runtime/UniqueHandle.h"

namespace qova::exui {
namespace {

using FontKey = std::tuple<std::wstring, int, bool, bool, bool, bool>;

HFONT cachedFont(const FontKey& key) {
  static std::mutex guard;
  static std::map<FontKey, UniqueGdiObject> fonts;
  std::lock_guard lock(guard);
  auto found = fonts.find(key);
  if (found != fonts.end()) return static_cast<HFONT>(found->second.get());
  const auto& [face, height, bold, italic, underline, strikeOut] = key;
  HFONT font = ::CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, strikeOut,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (!font) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  fonts.emplace(key, UniqueGdiObject(font));
  return font;
}

}  // namespace

HFONT uiFont(int height, bool bold) {
  return cachedFont({theme::kFontFace, height, bold, false, false, false});
}

HFONT describedFont(const FontDescription& description) {
  const int height = description.height > 0 ? description.height : theme::kTextHeight;
  std::wstring face(description.face.begin(), description.face.end());
  if (face.empty()) face = theme::kFontFace;
  return cachedFont({face, height, description.bold, description.italic, description.underline,
                     description.strikeOut});
}

}  // namespace qova::exui
