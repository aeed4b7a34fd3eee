#pragma once
// What the screen shows, read back from the screen DC: the colour of the
// wallpaper's picture at the screen's centre, the order in which the
// pictures of solid-colour clips follow each other, whether a picture moves.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/outside/aplayer/ScreenPixels.h"

namespace qova::test {

enum class Picture { Red, Green, Blue, Other };

std::string nameOf(Picture picture);

// The whole screen as it is now.
ScreenImage captureScreen();
// Which solid colour covers most of a square at the screen's centre.
Picture centrePicture(const ScreenImage& screen);
Picture centrePicture();

// Watches the centre of the screen until `count` different solid-colour
// pictures followed each other (a colour counts again after another one) or
// the time-out passed; the pictures in the order seen.
std::vector<Picture> watchPictures(std::size_t count, std::chrono::milliseconds timeout);
// Waits until the centre shows `picture`; false when it did not in time.
bool waitForPicture(Picture picture, std::chrono::milliseconds timeout = std::chrono::seconds(15));

// Paints the whole screen black and waits until it shows so. In the virtual display nothing
// repaints what no window covers: the picture an earlier program left would stay, and could
// pass for the next program's, until that program's windows painted over it.
void blankScreen();

// The share (0..1) of pixels of `area` (screen coordinates) that differ between two screens.
double changedShare(const ScreenImage& before, const ScreenImage& after, RECT area);

}  // namespace qova::test
