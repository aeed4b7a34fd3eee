#pragma once
// MinutesboxEx: a framed card that holds other controls; with a caption, the
// caption heads it. Also the preview box: it reports left clicks, right
// clicks and double clicks.
#include "outside/exui/Control.h"
#include "outside/exui/Picture.h"

namespace qova::exui {

class GroupBox final : public Control {
 public:
  GroupBox(HWND window, ExuiEventFunction events, PropertySet properties);

  void paintFace(Painter& painter, const Box& client) override;

 protected:
  bool attached() override;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void propertyChanged(int32_t id) override;

 private:
  PictureRef background_;
};

}  // namespace qova::exui
