#pragma once
// One program per program folder. Each folder is an installation with a
// library and settings of its own, so copies in different folders may each
// run; a second start from the same folder (the shortcut clicked again, start
// with Windows while it runs) hands over to the program that runs and ends.
#include <windows.h>

#include <string>

#include "runtime/UniqueHandle.h"

namespace qova {

class ProgramFolderClaim {
 public:
  // Claims this program's folder for the process: a named mutex whose name
  // is derived from the folder's identity (its volume's serial number and
  // its file index), so that every spelling of the folder (a subst drive, a
  // junction, a share, a short 8.3 path) names one claim; held until the
  // process ends.
  ProgramFolderClaim();
  ProgramFolderClaim(const ProgramFolderClaim&) = delete;
  ProgramFolderClaim& operator=(const ProgramFolderClaim&) = delete;

  // False when a program of the same folder holds the claim already. A
  // mutex that cannot be made at all leaves the claim to this process.
  bool held() const { return held_; }
  // Asks again; true once the claim is this process's (its holder has ended).
  bool retry();

 private:
  std::wstring name_;
  UniqueHandle mutex_;
  bool held_ = true;
};

// What a start that found the claim taken came to.
enum class ClaimWait {
  Claimed,         // the holder ended (it was exiting): start normally
  BroughtForward,  // the running program's window was brought to the front
  GaveUp,          // neither within 10 s (the name is held by something else, or
                   // the program hangs); the user was told in a message box
};

// For a claim that another process holds: waits until either the running
// program of this folder shows its library window, which is then brought to
// the front, or the claim comes free.
ClaimWait waitForClaimOrRunningProgram(ProgramFolderClaim& claim);

// Marks the program's library window as that of a program that has begun to
// exit, so that a start meanwhile waits for the claim instead of handing
// over to a program that is going.
void announceExit(HWND libraryWindow);

// The library window of another process of this program folder; null when there is none.
HWND runningLibraryWindow();

}  // namespace qova
