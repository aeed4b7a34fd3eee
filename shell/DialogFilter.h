#pragma once
// The byte-level parts of the common file dialogs: the filter text they take
// and the file-name buffers they fill. Platform-free.
//
// The dialogs' text is ANSI (GBK) and every conversion here works on bytes, the
// way the dialogs' own callers always have: a 0x7C or NUL stands for itself
// even where it is the second byte of a double-byte character.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qova {

// The filter as the dialogs take it: "A|*.a|B|*.b" with every 0x7C byte turned
// into a NUL and two NULs appended. Never fails; an empty filter gives two NULs.
std::string dialogFilterBytes(std::string_view filter);

// A zero-filled file-name buffer of `capacity` bytes holding `initialName` cut
// to capacity - 1 bytes (so that its NUL fits; the cut may split a double-byte
// character). Empty when capacity is 0.
std::string fileNameBuffer(std::string_view initialName, std::size_t capacity);

// The buffer's text up to its first NUL (all of it when there is none).
std::string textBeforeNul(std::string_view buffer);

// The answer of a multiple-selection open dialog as full paths joined by CR LF
// (no line break after the last). The buffer holds either one full path, or
// the folder followed by the chosen names, each ending in a NUL, the list
// ending in a second NUL. Nothing after the first double NUL is read. Empty
// buffer text gives empty text.
std::string joinSelectedFiles(std::string_view buffer);

// The same answer of the Unicode dialog as a list of full paths.
std::vector<std::wstring> selectedFiles(std::wstring_view buffer);

// The extensions a filter's patterns name, "*.mp4;*.MOV" giving ".mp4" and
// ".mov" (ASCII lower case), in order, each once; patterns that are not
// "*.<extension>" give nothing.
std::vector<std::string> filterExtensions(std::string_view filter);

}  // namespace qova
