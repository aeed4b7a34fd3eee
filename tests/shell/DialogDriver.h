#pragma once
// Driving the system's modal dialogs from a test: the dialog runs on the test
// thread as it does in the program, while a second thread finds it, reads its
// controls, types into it and presses its buttons, the way a user would.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace qova::test {

// Controls of the Explorer-style file dialog.
inline constexpr int kFileNameBox = 0x47C;   // cmb13, an editable combo box
inline constexpr int kFileNameEdit = 0x480;  // edt1, where a layout has a plain edit
inline constexpr int kFileTypeBox = 0x470;   // cmb1
// Controls of the font dialog.
inline constexpr int kFontFaceBox = 0x470;   // cmb1
inline constexpr int kFontStyleBox = 0x471;  // cmb2
inline constexpr int kFontSizeBox = 0x472;   // cmb3
inline constexpr int kStrikeoutCheck = 0x410;
inline constexpr int kUnderlineCheck = 0x411;
// The text of a message box.
inline constexpr int kMessageBoxTextId = 0xFFFF;

class DialogDriver {
 public:
  // The enabled, visible dialog window of this process that has a control
  // `controlId`; null when none came within the time-out or the dialog call
  // has already returned.
  HWND waitForDialog(int controlId, std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // After OK was pressed on `dialog`: the box it opened (a message box or a
  // dialog of its own), or null once the dialog has closed or the time-out passed.
  HWND boxOrClose(HWND dialog, std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // Cancels every enabled dialog of this process until the call returns (bounded).
  void dismissUntilReturned();
  void markReturned() { returned_ = true; }

 private:
  bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
  std::atomic<bool> returned_{false};
};

// Runs `call`, which opens a modal dialog on this thread, while `script`
// drives that dialog from a second thread. Whatever the script leaves open is
// cancelled afterwards, so a failing script never leaves the test hanging.
// The script must not use assertions; it records what it sees for the test.
template <typename Result>
Result whileDriving(const std::function<void(DialogDriver&)>& script,
                    const std::function<Result()>& call) {
  DialogDriver driver;
  std::thread helper([&] {
    script(driver);
    driver.dismissUntilReturned();
  });
  Result result = call();
  driver.markReturned();
  helper.join();
  return result;
}

// The text of the dialog's control `controlId`; empty when there is none.
std::string controlText(HWND dialog, int controlId);
// The items of a combo box, in order.
std::vector<std::string> comboItems(HWND comboBox);
// Whether the dialog's check box `controlId` is checked.
bool isChecked(HWND dialog, int controlId);

// Types `text` into the file dialog's file-name box; false when it has none.
bool typeFileName(HWND dialog, const std::string& text);
// The same in UTF-16, for names the ANSI code page cannot write.
bool typeFileName(HWND dialog, const std::wstring& text);
// Selects item `index` of the dialog's combo box `controlId` the way a click
// does (the dialog hears CBN_SELCHANGE); false when that fails.
bool selectComboItem(HWND dialog, int controlId, int index);
// Presses the dialog's button `buttonId` without waiting for what it does
// (it may open a modal box of its own).
void pressButton(HWND dialog, int buttonId);
// The text of a message box (its static text control).
std::string messageBoxText(HWND box);

}  // namespace qova::test
