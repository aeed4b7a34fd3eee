#pragma once
// Finding and describing windows from a test.
#include <windows.h>

#include <string>
#include <vector>

namespace qova::test {

// Handle, class, rectangle and title of a window, for assertion messages.
std::string describeWindow(HWND window);

std::string classNameOf(HWND window);
std::string titleOf(HWND window);

// Direct children of `parent` (top-level windows when parent is null), in Z order.
std::vector<HWND> childWindows(HWND parent);

// Top-level windows that belong to the process `processId`, in Z order.
std::vector<HWND> topLevelWindowsOf(DWORD processId);

// The first top-level window of `processId` with this class (any class when empty); null if none.
HWND findProcessWindow(DWORD processId, const std::string& className = {});

// The text of the process's message box once one shows (its static control),
// with the box in *box; empty when none came within 20 seconds.
std::string waitForMessageBoxText(DWORD processId, HWND* box);

}  // namespace qova::test
