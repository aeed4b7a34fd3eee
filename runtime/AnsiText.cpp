#include "runtime/AnsiText.h"

#include <windows.h>

#include <climits>

namespace qova {

std::wstring ansiToWide(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  int needed = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
  return wide;
}

std::string wideToAnsi(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  int needed = ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string ansi(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), needed, nullptr, nullptr);
  return ansi;
}

std::optional<std::string> exactAnsi(std::wstring_view text) {
  if (text.empty()) return std::string();
  if (text.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(text.size());
  // Where the system's ANSI code page is UTF-8 (Windows' "Beta: Use Unicode
  // UTF-8" option), every character has its bytes and the only failure is
  // invalid text (a lone surrogate): that code page refuses the best-fit flag
  // and the question whether a default character was used.
  const bool utf8 = ::GetACP() == CP_UTF8;
  const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL defaultUsed = FALSE;
  BOOL* askDefaultUsed = utf8 ? nullptr : &defaultUsed;
  const int needed = ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, askDefaultUsed);
  if (needed <= 0 || defaultUsed) return std::nullopt;
  std::string ansi(static_cast<size_t>(needed), '\0');
  if (::WideCharToMultiByte(codePage, flags, text.data(), length, ansi.data(), needed, nullptr, askDefaultUsed) !=
      needed)
    return std::nullopt;
  // The way back must give the same characters: some code pages map a
  // character to bytes that read back as another one.
  if (defaultUsed || ansiToWide(ansi) != text) return std::nullopt;
  return ansi;
}

bool sameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

std::string toWideBytes(const std::string& text) {
  if (text.empty()) return {};
  const std::wstring wide = ansiToWide(text);
  return std::string(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * sizeof(wchar_t));
}

}  // namespace qova
