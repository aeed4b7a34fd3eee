#include "tests/outside/exui/ExuiApi.h"

#include "runtime/ProgramDirectory.h"
#include "tests/support/DllExports.h"

namespace qova::test {
namespace {

struct LoadedApi {
  ExuiApi api{};
  bool complete = true;
  LoadedApi() {
    // Deliberately never freed: controls of a failed test may still be alive.
    HMODULE module = ::LoadLibraryA(qova::programFile(kExuiLibrary).c_str());
    complete = module != nullptr;
    bindExport(module, api.createWindowEx, "CreateControl_WindowEx", complete);
    bindExport(module, api.createMinutesboxEx, "CreateControl_MinutesboxEx", complete);
    bindExport(module, api.createButtonEx, "CreateControl_ButtonEx", complete);
    bindExport(module, api.createRadiobuttonEx, "CreateControl_RadiobuttonEx", complete);
    bindExport(module, api.createSliderbarEx, "CreateControl_SliderbarEx", complete);
    bindExport(module, api.createEditboxEx, "CreateControl_EditboxEx", complete);
    bindExport(module, api.createIcoListboxEx, "CreateControl_IcoListboxEx", complete);
    bindExport(module, api.controlSendMessage, "ControlSendMessage", complete);
    bindExport(module, api.sizeSynchronise, "ControPonintSizeSynchronise", complete);
    bindExport(module, api.controlDestroy, "ControlDestroy", complete);
    bindExport(module, api.getItemCount, "GetItemCount_IcoListboxEx", complete);
    bindExport(module, api.deleteItem, "DeleteItem_IcoListboxEx", complete);
    bindExport(module, api.insertItem, "InsertItem_IcoListboxEx", complete);
    bindExport(module, api.loadImage, "LoadImageEx", complete);
    bindExport(module, api.destroyImage, "DestroyImageEx", complete);
    bindExport(module, api.createMenu, "Create_MenuEx", complete);
    bindExport(module, api.insertMenuItem, "InsertItem_MenuEx", complete);
    bindExport(module, api.popUpMenu, "PopUp_MenuEx", complete);
    bindExport(module, api.packFontInfo, "RexcPackFontInfo", complete);
    bindExport(module, api.callInternal, "CallInternalFunction_Ex", complete);
  }
};

const LoadedApi& loaded() {
  static const LoadedApi instance;
  return instance;
}

}  // namespace

const ExuiApi& exui() { return loaded().api; }

bool exuiLoaded() { return loaded().complete; }

}  // namespace qova::test
