#pragma once
// What a list of paths given to be added (files and folders) holds: the files,
// each folder's own in name order and then its sub-folders', and how a file is
// told apart from another spelling of the same one.
#include <string>
#include <vector>

namespace qova {

// The given files in their order, each folder replaced by the files under
// it (sub-folders included, linked folders not followed). A path that is
// neither stays, for the adding to find it cannot be read.
std::vector<std::wstring> filesUnder(const std::vector<std::wstring>& paths);

// Whether the file's extension is one of `extensions` (lower case, with their dot).
bool hasExtension(const std::wstring& path, const std::vector<std::string>& extensions);

// The path made full against the current folder; as it is when that fails.
std::wstring fullPathOf(const std::wstring& path);

// The file's full long path in upper case: two spellings of one file (case,
// a short 8.3 form, a relative path) give the same text.
std::wstring fileIdentity(const std::wstring& path);

}  // namespace qova
