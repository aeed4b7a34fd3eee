#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.
#include <string>
#include <string_view>

namespace qova::test {

class TempFolder {
 public:
  explicit TempFolder(std::string_view hint = "qova");
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  const std::string& path() const { return path_; }
  std::string file(std::string_view name) const;

 private:
  std::string path_;
};

// Copies a file; false on failure.
bool copyFileTo(const std::string& from, const std::string& to);
// Folder of the running test program, without a trailing backslash.
std::string testProgramDirectory();

}  // namespace qova::test
