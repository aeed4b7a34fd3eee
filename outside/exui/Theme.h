#pragma once
// The library's built-in look: one flat palette (ARGB) and the sizes every
// control shares, so all skins agree.
#include <cstdint>

namespace qova::exui::theme {

inline constexpr uint32_t kAccent = 0xFF3A8EE6;         // selection, checked marks, filled track
inline constexpr uint32_t kAccentDark = 0xFF2B73C2;     // pressed accent
inline constexpr uint32_t kAccentLight = 0xFFECF5FF;    // hover fill
inline constexpr uint32_t kAccentPale = 0xFFD9ECFF;     // pressed fill
inline constexpr uint32_t kFace = 0xFFFFFFFF;           // controls' face
inline constexpr uint32_t kPanel = 0xFFF5F7FA;          // container panels
inline constexpr uint32_t kBorder = 0xFFDCDFE6;         // control borders
inline constexpr uint32_t kBorderLight = 0xFFE4E7ED;    // group boxes, tracks, menu frame
inline constexpr uint32_t kText = 0xFF303133;           // main text
inline constexpr uint32_t kTextSecondary = 0xFF606266;  // edit text, hints
inline constexpr uint32_t kTextDisabled = 0xFFC0C4CC;
inline constexpr uint32_t kPlaceholder = 0xFFF2F4F7;    // empty thumbnail box
inline constexpr uint32_t kScrollThumb = 0xFFC1C6CE;
inline constexpr uint32_t kScrollThumbHot = 0xFFA8AEB8;
inline constexpr uint32_t kScrollThumbPressed = 0xFF909399;
inline constexpr uint32_t kHoverShade = 0x14000000;     // behind picture buttons under the pointer
inline constexpr uint32_t kPressShade = 0x26000000;
inline constexpr uint32_t kFrameBand = 0xFFE8F2FD;      // the top band of a frame skin
inline constexpr uint32_t kFrameBorder = 0xFF5B9BDF;
inline constexpr uint32_t kCloseHot = 0xFFE81123;       // close button under the pointer
inline constexpr uint32_t kClosePressed = 0xFFB50D1C;

inline constexpr int kTextHeight = 13;                  // captions, texts (pixels)
inline constexpr int kTitleHeight = 12;                 // list titles
inline constexpr int kRadius = 4;                       // rounded corners
inline constexpr const wchar_t* kFontFace = L"微软雅黑";

}  // namespace qova::exui::theme
