#pragma once
// Where the program's own files live: the folder of the executable.
#include <string>
#include <string_view>

namespace qova {

// The executable's folder without a trailing backslash; empty if it cannot be found.
std::string programDirectory();

// programDirectory() + "\" + name, rebuilt at every call so that nothing is cached.
std::string programFile(std::string_view name);

// The full path of a loaded module (null: the executable) in UTF-16; empty if it cannot be found.
std::wstring modulePath(void* module);

// The executable's full path in UTF-16 and in its long form (a start through
// an 8.3 name gives the same path); empty if it cannot be found. For what
// names this copy of the program to the system, whatever the code page.
std::wstring programExecutablePath();

}  // namespace qova
