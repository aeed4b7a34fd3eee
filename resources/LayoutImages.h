#pragma once
// The pictures the window layouts store, embedded in the program at build
// time from resources/layout/ (drawn by resources/artwork).
#include <string>
#include <string_view>
#include <vector>

#include "outside/exui/ExuiFormat.h"

namespace qova {

// The bytes of resources/layout/<name> ("previous_normal.png"); empty when there is no such picture.
exui::Bytes layoutImage(std::string_view name);

// The pictures of several names, in order (an unknown name gives empty bytes).
std::vector<exui::Bytes> layoutImages(const std::vector<std::string>& names);

// Every embedded picture's name, sorted.
std::vector<std::string> layoutImageNames();

}  // namespace qova
