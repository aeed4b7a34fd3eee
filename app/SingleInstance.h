#pragma once
// One program per program folder. Each folder is an installation with a
// library and settings of its own, so copies in different folders may each
// run; a second start from the same folder (the shortcut clicked again, start
// with Windows while it runs) hands over to the program that runs and ends.
#include <windows.h>

#include "runtime/UniqueHandle.h"

namespace qova {

class ProgramFolderClaim {
 public:
  // Claims this program's folder for the process: a named mutex whose name
  // is derived from the folder's full path, held until the process ends.
  ProgramFolderClaim();
  ProgramFolderClaim(const ProgramFolderClaim&) = delete;
  ProgramFolderClaim& operator=(const ProgramFolderClaim&) = delete;

  // False when a program of the same folder holds the claim already. A
  // mutex that cannot be made at all leaves the claim to this process.
  bool held() const { return held_; }

 private:
  UniqueHandle mutex_;
  bool held_ = true;
};

// Brings the library window of the program that runs from this folder to the
// front (or the dialog it shows, such as the question for a first video),
// waiting a few seconds for it while that program is still starting; false
// when none showed.
bool bringRunningProgramForward();

// The library window of another process of this program folder; null when there is none.
HWND runningLibraryWindow();

}  // namespace qova
