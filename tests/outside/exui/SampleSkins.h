#pragma once
// Artwork of the sizes, states and looks the two windows' layouts describe,
// drawn at test time: state images of the playback buttons, the library
// window's background and close button, the list's skin and menu icons.
#include <vector>

#include "outside/exui/ExuiFormat.h"

namespace qova::test {

enum class ButtonSymbol { Previous, Next, Pause, Play, Speaker };

// PNG pictures of the symbol: 3 states (normal, hover, pressed) or 2 (normal, pressed).
std::vector<exui::Bytes> buttonStates(ButtonSymbol symbol, int size, int states);
// 188 x 164: white face, light-blue band 30 high, thin blue border.
exui::Bytes popupBackground();
// 30 x 30 each: grey cross; white cross on red; white cross on dark red.
std::vector<exui::Bytes> closeButtonStates();
// The list skin in kExuiListImage... order.
std::vector<exui::Bytes> listSkin();
// A 16 x 16 menu icon in a colour.
exui::Bytes menuIcon(uint32_t colour, int shape);
// A thumbnail-like picture: a gradient of width x height.
exui::Bytes thumbnail(int width, int height, int seed);

}  // namespace qova::test
