#pragma once
// Crash reports: an unhandled exception anywhere in the process leaves a
// minidump ("crash-<time>.dmp") and the log's last lines ("crash-<time>.log")
// in the log's folder, and a note ("crash.pending") naming them for the next
// start, which tells the user once.
#include <string>

#include "runtime/DiagnosticLog.h"

namespace qova {

// From now on an unhandled exception writes a report from `log`'s lines into
// its folder, runs `beforeEnd` (the last chance to leave the desktop clean),
// and ends the process.
void reportCrashes(DiagnosticLog& log, void (*beforeEnd)());

// The report a crashed run left in `folder` (the minidump's path), once: the
// note is removed. Empty when there is none.
std::string takeCrashReport(const std::string& folder);

}  // namespace qova
