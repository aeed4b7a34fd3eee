#pragma once
// Where the program's own files live: the folder of the executable.
#include <string>
#include <string_view>

namespace qova {

// The executable's folder without a trailing backslash; empty if it cannot be found.
std::string programDirectory();

// programDirectory() + "\" + name, rebuilt at every call so that nothing is cached.
std::string programFile(std::string_view name);

}  // namespace qova
