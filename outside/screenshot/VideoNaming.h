#pragma once
// How a video is named: the display name handed back to the program and the
// file name of its thumbnail. Platform-free.
//
// Paths are 8-bit text in the system ANSI code page, which may be double-byte
// (GBK): the second byte of a character can be '\' or '|', so paths are walked
// a character at a time with the code page's lead-byte test. The characters
// the program's texts are cut at ('>', CR, LF) are below every trail byte and
// can be replaced byte by byte.
#include <cstdint>
#include <string>
#include <string_view>

namespace qova::screenshot {

// True for a byte that starts a two-byte character in the code page at hand.
using LeadByteTest = bool (*)(unsigned char byte);

// The lead bytes of GBK (code page 936), for use where the code page is fixed.
bool isGbkLeadByte(unsigned char byte);

// The file name of `path` (after its last '\' or '/') without its extension;
// a name whose only dot is its first character keeps it (".mp4" stays ".mp4").
// Empty for a path ending in a separator.
std::string fileStem(std::string_view path, LeadByteTest isLeadByte);

// True when the file's extension names a sound-only format (mp3, wav, wma,
// flac, ape, aac, m4a, ogg, opus ...), in any letter case.
bool hasSoundExtension(std::string_view path, LeadByteTest isLeadByte);

// `text` safe inside "#<name>#<image>" and the library record, which both end a
// field at '>' and cannot hold a line break: '>' becomes '_', and CR, LF and
// the other control characters become spaces. '<' and '#' stay: every field
// ends at the first '>', so they cannot end one early.
std::string recordSafeText(std::string_view text);

// The name shown for a video: its file stem, record-safe.
std::string videoDisplayName(std::string_view videoPath, LeadByteTest isLeadByte);

// The longest prefix of `text` of at most `maxBytes` bytes that does not split a character.
std::string_view cutAtCharacter(std::string_view text, size_t maxBytes, LeadByteTest isLeadByte);

// 64-bit FNV-1a of `bytes`, continuing from `hash`.
constexpr uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ULL;
uint64_t fnv1a64(std::string_view bytes, uint64_t hash = kFnvOffsetBasis);

// A number that differs between two videos that differ in full path, size or
// last-write time; equal for the same unchanged file.
uint64_t videoIdentity(std::string_view fullPath, uint64_t size, uint64_t lastWriteTime);

// Longest part of the display name that goes into a thumbnail's file name, in bytes.
constexpr size_t kThumbnailNameBytes = 48;

// "<name>_<16 hex digits of identity>.jpg": the name cut to kThumbnailNameBytes,
// with characters that file names or URL-like loaders do not take ('\', '/',
// ':', '*', '?', '"', '<', '>', '|', '#', '%', controls) made '_'.
std::string thumbnailFileName(std::string_view displayName, uint64_t identity, LeadByteTest isLeadByte);

}  // namespace qova::screenshot
