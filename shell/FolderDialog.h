#pragma once
// The common item dialog as a folder picker, run modally over the active window.
#include <string>

namespace qova {

// The full path of the folder the user picked, starting in `initialFolder`
// (the dialog's own choice when empty); empty when cancelled, on failure, or
// for a pick that is no folder of the file system.
std::wstring chooseFolder(const std::string& title, const std::wstring& initialFolder);

}  // namespace qova
