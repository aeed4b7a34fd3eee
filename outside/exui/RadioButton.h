#pragma once
// RadiobuttonEx: a round mark and a caption; choosing one unchecks every
// other RadiobuttonEx with the same parent window.
#include "outside/exui/Control.h"

namespace qova::exui {

class RadioButton final : public Control {
 public:
  RadioButton(HWND window, ExuiEventFunction events, PropertySet properties);

  void paintFace(Painter& painter, const Box& client) override;
  bool checked() const;
  void setChecked(bool checked);

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void propertyChanged(int32_t id) override;

 private:
  void choose();
  void uncheckSiblings();
};

}  // namespace qova::exui
