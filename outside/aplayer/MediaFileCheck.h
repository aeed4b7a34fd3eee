#pragma once
// The checks a file passes before the player spends time on it.
#include <string>

namespace qova::aplayer {

// False for a missing, locked or unreadable file, a folder, and an MP4/MOV
// file without its index (see IsoMediaIndex.h).
bool mayBePlayable(const std::wstring& path);

}  // namespace qova::aplayer
