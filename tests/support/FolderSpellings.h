#pragma once
// Second spellings of one folder under Wine, for tests of what must not
// depend on how a folder is spelled: Wine's drive Z: maps the Unix root, as a
// subst drive maps a folder, and a Unix symbolic link stands for a junction.
#include <string>

namespace qova::test {

// `path` spelled through drive Z:; empty when Wine cannot say where it lies.
std::string driveZSpellingOf(const std::string& path);

// Makes `link` (which must not exist) a second name of the folder `folder` on
// the same drive, as a junction does; false when it cannot be made.
bool linkFolder(const std::string& folder, const std::string& link);

}  // namespace qova::test
