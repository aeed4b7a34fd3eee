#include "tests/shell/DialogDriver.h"

#include <algorithm>

#include "tests/support/WindowSearch.h"

namespace qova::test {

namespace {

constexpr const char* kDialogClass = "#32770";
constexpr auto kSendTimeout = std::chrono::seconds(5);
constexpr auto kPollInterval = std::chrono::milliseconds(20);
constexpr auto kDismissBound = std::chrono::seconds(30);

std::vector<HWND> openDialogs() {
  std::vector<HWND> dialogs;
  for (HWND w : topLevelWindowsOf(::GetCurrentProcessId()))
    if (classNameOf(w) == kDialogClass && ::IsWindowVisible(w)) dialogs.push_back(w);
  return dialogs;
}

bool sendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                               static_cast<UINT>(std::chrono::milliseconds(kSendTimeout).count()),
                               result ? result : &ignored) != 0;
}

// The edit control that takes the file name: inside the file-name combo box
// where there is one, else the dialog's plain edit.
HWND fileNameEdit(HWND dialog) {
  if (HWND box = ::GetDlgItem(dialog, kFileNameBox)) {
    if (classNameOf(box) == "Edit") return box;
    for (HWND inner : childWindows(box)) {
      if (classNameOf(inner) == "Edit") return inner;
      for (HWND edit : childWindows(inner))
        if (classNameOf(edit) == "Edit") return edit;
    }
    return box;
  }
  return ::GetDlgItem(dialog, kFileNameEdit);
}

}  // namespace

bool DialogDriver::waitFor(const std::function<bool()>& condition,
                           std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!returned_) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return false;
}

HWND DialogDriver::waitForDialog(int controlId, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  waitFor(
      [&] {
        for (HWND dialog : openDialogs())
          if (::IsWindowEnabled(dialog) && ::GetDlgItem(dialog, controlId)) found = dialog;
        return found != nullptr;
      },
      timeout);
  // Whatever the dialog queued for itself while it opened is handled first.
  if (found) sendWithin(found, WM_NULL, 0, 0);
  return found;
}

HWND DialogDriver::boxOrClose(HWND dialog, std::chrono::milliseconds timeout) {
  HWND box = nullptr;
  waitFor(
      [&] {
        if (!::IsWindow(dialog) || !::IsWindowVisible(dialog)) return true;
        for (HWND other : openDialogs())
          if (::GetWindow(other, GW_OWNER) == dialog && ::IsWindowEnabled(other)) box = other;
        return box != nullptr;
      },
      timeout);
  return box;
}

void DialogDriver::dismissUntilReturned() {
  const auto deadline = std::chrono::steady_clock::now() + kDismissBound;
  while (!returned_ && std::chrono::steady_clock::now() < deadline) {
    // A dialog under a modal box of its own is disabled; the box goes first.
    for (HWND dialog : openDialogs()) {
      if (!::IsWindowEnabled(dialog)) continue;
      ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      ::PostMessageA(dialog, WM_COMMAND, IDNO, 0);  // boxes that have no Cancel
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}

std::string controlText(HWND dialog, int controlId) {
  HWND control = ::GetDlgItem(dialog, controlId);
  if (!control) return {};
  char text[1024] = {};
  DWORD_PTR length = 0;
  sendWithin(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), &length);
  return std::string(text, std::min<size_t>(length, sizeof text - 1));
}

std::vector<std::string> comboItems(HWND comboBox) {
  std::vector<std::string> items;
  DWORD_PTR count = 0;
  if (!sendWithin(comboBox, CB_GETCOUNT, 0, 0, &count)) return items;
  for (WPARAM i = 0; i < count && static_cast<LRESULT>(count) != CB_ERR; ++i) {
    char text[512] = {};
    DWORD_PTR length = 0;
    sendWithin(comboBox, CB_GETLBTEXTLEN, i, 0, &length);
    if (length >= sizeof text) continue;
    sendWithin(comboBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    items.emplace_back(text);
  }
  return items;
}

bool isChecked(HWND dialog, int controlId) {
  DWORD_PTR state = 0;
  HWND box = ::GetDlgItem(dialog, controlId);
  return box && sendWithin(box, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

bool typeFileName(HWND dialog, const std::string& text) {
  HWND edit = fileNameEdit(dialog);
  DWORD_PTR done = 0;
  return edit && sendWithin(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &done) &&
         done;
}

bool typeFileName(HWND dialog, const std::wstring& text) {
  HWND edit = fileNameEdit(dialog);
  DWORD_PTR done = 0;
  return edit &&
         ::SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               static_cast<UINT>(std::chrono::milliseconds(kSendTimeout).count()), &done) &&
         done;
}

bool selectComboItem(HWND dialog, int controlId, int index) {
  HWND box = ::GetDlgItem(dialog, controlId);
  DWORD_PTR selected = 0;
  if (!box || !sendWithin(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0, &selected) ||
      static_cast<LRESULT>(selected) != index)
    return false;
  return sendWithin(dialog, WM_COMMAND, MAKEWPARAM(controlId, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(box));
}

void pressButton(HWND dialog, int buttonId) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, buttonId)));
}

std::string messageBoxText(HWND box) { return controlText(box, kMessageBoxTextId); }

}  // namespace qova::test
