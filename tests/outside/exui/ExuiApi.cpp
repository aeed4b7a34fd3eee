#include "tests/outside/exui/ExuiApi.h"

#include "runtime/ProgramDirectory.h"

namespace qova::test {
namespace {

template <typename Fn>
void bind(HMODULE module, Fn& slot, const char* name, bool& complete) {
  slot = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
  if (!slot) complete = false;
}

struct LoadedApi {
  ExuiApi api{};
  bool complete = true;
  LoadedApi() {
    // Deliberately never freed: controls of a failed test may still be alive.
    HMODULE module = ::LoadLibraryA(qova::programFile(kExuiLibrary).c_str());
    complete = module != nullptr;
    bind(module, api.createWindowEx, "CreateControl_WindowEx", complete);
    bind(module, api.createMinutesboxEx, "CreateControl_MinutesboxEx", complete);
    bind(module, api.createButtonEx, "CreateControl_ButtonEx", complete);
    bind(module, api.createRadiobuttonEx, "CreateControl_RadiobuttonEx", complete);
    bind(module, api.createSliderbarEx, "CreateControl_SliderbarEx", complete);
    bind(module, api.createEditboxEx, "CreateControl_EditboxEx", complete);
    bind(module, api.createIcoListboxEx, "CreateControl_IcoListboxEx", complete);
    bind(module, api.controlSendMessage, "ControlSendMessage", complete);
    bind(module, api.sizeSynchronise, "ControPonintSizeSynchronise", complete);
    bind(module, api.controlDestroy, "ControlDestroy", complete);
    bind(module, api.getItemCount, "GetItemCount_IcoListboxEx", complete);
    bind(module, api.deleteItem, "DeleteItem_IcoListboxEx", complete);
    bind(module, api.insertItem, "InsertItem_IcoListboxEx", complete);
    bind(module, api.loadImage, "LoadImageEx", complete);
    bind(module, api.destroyImage, "DestroyImageEx", complete);
    bind(module, api.createMenu, "Create_MenuEx", complete);
    bind(module, api.insertMenuItem, "InsertItem_MenuEx", complete);
    bind(module, api.popUpMenu, "PopUp_MenuEx", complete);
    bind(module, api.packFontInfo, "RexcPackFontInfo", complete);
    bind(module, api.callInternal, "CallInternalFunction_Ex", complete);
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
