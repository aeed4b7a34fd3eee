#pragma once
// Second spellings of one folder under Wine, for tests of what must not
// depend on how a folder is spelled: Wine's drive Z: maps the Unix root, as a
// subst drive maps a folder, and a Unix symbolic link stands for a junction.
#include <string>

namespace qova::test {

// `path` spelled through drive Z:; empty when Wine cannot say where it lies.
std::string driveZSpellingOf(const std::string& path);

// `link` (which must not exist) made a second name of the folder `folder` on
// the same drive, as a junction makes one, and removed again at the end.
class FolderLink {
 public:
  FolderLink(const std::string& folder, std::string link);
  FolderLink(const FolderLink&) = delete;
  FolderLink& operator=(const FolderLink&) = delete;
  ~FolderLink();

  bool made() const { return made_; }
  const std::string& path() const { return link_; }

 private:
  std::string link_;
  std::string unixLink_;
  bool made_ = false;
};

}  // namespace qova::test
