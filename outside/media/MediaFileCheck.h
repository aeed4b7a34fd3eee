#pragma once
// The checks a file passes before the player or the frame capture spends time on it.
#include <string>

namespace qova::media {

enum class MediaFileVerdict { MayPlay, Unreadable, CutShort };

// Unreadable for a missing, locked or unreadable file and a folder; CutShort
// for a file cut short (see CutShortMedia.h). Reads the file's box headers:
// not for a thread that must answer at once.
MediaFileVerdict checkMediaFile(const std::wstring& path);
// MayPlay from checkMediaFile.
bool mayBePlayable(const std::wstring& path);

}  // namespace qova::media
