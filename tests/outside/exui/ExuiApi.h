#pragma once
// The real ExuiKrnln.dll beside the test program, its exports bound by name
// with the contract's types.
#include <windows.h>

#include "outside/exui/ExuiContract.h"

namespace qova::test {

struct ExuiApi {
  decltype(&CreateControl_WindowEx) createWindowEx;
  decltype(&CreateControl_MinutesboxEx) createMinutesboxEx;
  decltype(&CreateControl_ButtonEx) createButtonEx;
  decltype(&CreateControl_RadiobuttonEx) createRadiobuttonEx;
  decltype(&CreateControl_SliderbarEx) createSliderbarEx;
  decltype(&CreateControl_EditboxEx) createEditboxEx;
  decltype(&CreateControl_IcoListboxEx) createIcoListboxEx;
  decltype(&ControlSendMessage) controlSendMessage;
  decltype(&ControPonintSizeSynchronise) sizeSynchronise;
  decltype(&ControlDestroy) controlDestroy;
  decltype(&GetItemCount_IcoListboxEx) getItemCount;
  decltype(&DeleteItem_IcoListboxEx) deleteItem;
  decltype(&InsertItem_IcoListboxEx) insertItem;
  decltype(&LoadImageEx) loadImage;
  decltype(&DestroyImageEx) destroyImage;
  decltype(&Create_MenuEx) createMenu;
  decltype(&InsertItem_MenuEx) insertMenuItem;
  decltype(&PopUp_MenuEx) popUpMenu;
  decltype(&RexcPackFontInfo) packFontInfo;
  decltype(&CallInternalFunction_Ex) callInternal;
};

// The DLL's exports, loaded once for the whole test program; null members when missing.
const ExuiApi& exui();
// True when the DLL loaded and every export was found.
bool exuiLoaded();

}  // namespace qova::test
