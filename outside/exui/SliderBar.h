#pragma once
// SliderbarEx: a horizontal slider moved by dragging, clicking the track,
// the wheel and the arrow, page, Home and End keys; every change the user
// makes raises one event with the new value.
#include "outside/exui/Control.h"
#include "outside/exui/SliderScale.h"

namespace qova::exui {

class SliderBar final : public Control {
 public:
  SliderBar(HWND window, ExuiEventFunction events, PropertySet properties);

  void paintFace(Painter& painter, const Box& client) override;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void propertyChanged(int32_t id) override;

 private:
  SliderScale scale() const;
  int value() const;
  int travelLeft() const;
  int travelRight() const;
  // Stores the value the user chose; raises the event when it changed.
  void moveTo(int value);

  int wheelRemainder_ = 0;
};

}  // namespace qova::exui
