#pragma once
// The whole job of the export: name the video, take its picture, write the
// thumbnail and compose the answer.
#include <optional>
#include <string>

namespace qova::screenshot {

// "#<name>#<image path>" for the video at `videoPath` (ANSI), after writing its
// thumbnail; nullopt for a null, empty or missing path, a folder, or when the
// thumbnail cannot be written.
std::optional<std::string> makeThumbnail(const char* videoPath);

}  // namespace qova::screenshot
