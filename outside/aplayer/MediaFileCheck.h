#pragma once
// The checks a file passes before the player spends time on it.
#include <string>

namespace qova::aplayer {

// False for a missing, locked or unreadable file, a folder, and a file cut
// short (see CutShortMedia.h).
bool mayBePlayable(const std::wstring& path);

}  // namespace qova::aplayer
