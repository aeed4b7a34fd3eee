#pragma once
// EditboxEx: multi-line text in a framed box. The text lives in a system
// EDIT window inside the control (selection, copying and scrolling come with
// it); the control draws the frame and colours around it.
#include "outside/exui/Control.h"

namespace qova::exui {

class EditBox final : public Control {
 public:
  EditBox(HWND window, ExuiEventFunction events, PropertySet properties);

  void paintFace(Painter& painter, const Box& client) override;

 protected:
  bool attached() override;
  void detaching() override;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void propertyChanged(int32_t id) override;
  void storeLiveState() override;
  void layout() override;

 private:
  HWND edit_ = nullptr;
  HBRUSH faceBrush_ = nullptr;
};

}  // namespace qova::exui
