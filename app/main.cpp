// QOVA Wallpaper: plays the user's videos, one after another, as the desktop
// wallpaper. The player window lives inside the shell's desktop background
// layer, behind the icons; see desktop/DesktopLayer.cpp for how it is found.
#include <windows.h>

#include "app/PathsFromOutside.h"
#include "app/Program.h"
#include "app/SingleInstance.h"
#include "runtime/CrashReport.h"
#include "runtime/DiagnosticLog.h"
#include "runtime/OutsideFunction.h"
#include "runtime/ProgramDirectory.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything else: a second start from this folder only brings the
  // running program forward; one that is still exiting is waited for.
  qova::ProgramFolderClaim claim;
  if (!claim.held()) {
    const qova::ClaimWait wait = qova::waitForClaimOrRunningProgram(claim);
    if (wait == qova::ClaimWait::BroughtForward) {
      // "Open with", "Send to" and paths typed after the name go to the running program's library.
      if (const auto paths = qova::commandLinePaths(); !paths.empty())
        qova::handPathsTo(qova::runningLibraryWindow(), paths);
    }
    if (wait != qova::ClaimWait::Claimed) return 0;
  }
  qova::restrictLibrarySearchPath();
  qova::DiagnosticLog log(qova::programFile("logs"));
  qova::reportCrashes(log, &qova::Program::clearDesktopAfterCrash);
  qova::Program program;
  program.addAtStart(qova::commandLinePaths());
  return program.run();
}
