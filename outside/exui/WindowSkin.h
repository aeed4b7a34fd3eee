#pragma once
// WindowEx: either a container panel that draws itself, or the skin of its
// parent window (role kExuiWindowRoleFrame): the parent's background with its
// top band and border, dragging by the band, and a close button in three
// states, which is this control's own window moved to the top-right corner.
#include <vector>

#include "outside/exui/Control.h"
#include "outside/exui/Picture.h"

namespace qova::exui {

class WindowSkin final : public Control, public BackgroundPainter {
 public:
  WindowSkin(HWND window, ExuiEventFunction events, PropertySet properties);

  void paintFace(Painter& painter, const Box& client) override;
  void paintBackground(Painter& painter, const Box& client) override;

 protected:
  bool attached() override;
  void detaching() override;
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void propertyChanged(int32_t id) override;
  void layout() override;

 private:
  static LRESULT CALLBACK frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT callParent(UINT message, WPARAM wParam, LPARAM lParam);
  // Takes our procedure out of the parent's chain, or leaves it passing everything on.
  void releaseParent();
  void paintFrameInto(HDC dc);
  void readPictures();
  void paintPanel(Painter& painter, const Box& client);
  std::wstring title() const;

  bool frame_;
  HWND parent_ = nullptr;
  bool subclassed_ = false;
  PictureRef background_;
  std::vector<PictureRef> closeImages_;
  Canvas frameCanvas_;
};

}  // namespace qova::exui
