// The notification icon as the program's start-up adds it on the library
// window: its record, a tip cut at 127 bytes, and its events, which the
// window's own procedure delivers until the icon is removed.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/app/ProgramInProcess.h"

namespace qova::test {
namespace {

class TrayOwner : public ProgramInProcess {};

TEST_F(TrayOwner, TheIconBelongsToPopupWindowAndALongTipIsCutAt127Bytes) {
  start();
  const NOTIFYICONDATAA& data = program->tray.iconData();
  EXPECT_EQ(data.hWnd, libraryWindow);
  EXPECT_EQ(data.uID, 1u);
  EXPECT_EQ(data.uCallbackMessage, 11685u);
  EXPECT_STREQ(data.szTip, "QOVA_壁纸");
  EXPECT_NE(program->tray.setTip(std::string(200, 'q')), FALSE) << "the shell took the change";
  EXPECT_EQ(std::string(program->tray.iconData().szTip), std::string(127, 'q'));
}

TEST_F(TrayOwner, TheLibraryWindowsOwnProcedureDeliversTheIconsEventsUntilItIsRemoved) {
  start();
  ::SendMessageA(libraryWindow, 11685, 1, WM_LBUTTONUP);
  ASSERT_TRUE(::IsWindowVisible(libraryWindow)) << "the handler runs while the icon is there";

  program->tray.remove();
  EXPECT_EQ(program->tray.ownerWindow(), nullptr);
  ::SendMessageA(libraryWindow, 11685, 1, WM_LBUTTONUP);
  EXPECT_TRUE(::IsWindowVisible(libraryWindow)) << "no handler any more";
}

}  // namespace
}  // namespace qova::test
