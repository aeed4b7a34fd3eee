#pragma once
// ButtonEx: a push button drawn from its state images (normal, hover,
// pressed; or normal, pressed), or, without images, a flat captioned button.
#include <vector>

#include "outside/exui/Control.h"
#include "outside/exui/Picture.h"

namespace qova::exui {

class SkinButton final : public Control {
 public:
  SkinButton(HWND window, ExuiEventFunction events, PropertySet properties);

  void paintFace(Painter& painter, const Box& client) override;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void propertyChanged(int32_t id) override;

 private:
  const Picture* imageForState() const;
  void paintCaptionButton(Painter& painter, const Box& client);

  void readPictures();

  std::vector<PictureRef> images_;
};

}  // namespace qova::exui
