// QOVA Wallpaper: plays the user's videos, one after another, as the desktop
// wallpaper. The player window lives inside the shell's desktop background
// layer, behind the icons; see desktop/DesktopLayer.cpp for how it is found.
#include <windows.h>

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
  if (!claim.held() && qova::waitForClaimOrRunningProgram(claim) != qova::ClaimWait::Claimed) return 0;
  qova::restrictLibrarySearchPath();
  qova::DiagnosticLog log(qova::programFile("logs"));
  qova::reportCrashes(log, &qova::Program::clearDesktopAfterCrash);
  qova::Program program;
  return program.run();
}
