#pragma once
// The player: one engine instance of APlayerCaller.dll. One operation per
// export, each forwarding its arguments after this player's engine handle.
// The player owns its engine: the engine is destroyed (APlayer_Destroy) when
// the player goes, unless destroy() did it already.
//
// The engine and its exports are bound when first called; a missing DLL or
// export ends the program with the run-time error box (runtime/OutsideFunction.h).
// Results are the engine's, unchanged, unless an operation says otherwise.
#include <windows.h>

#include <cstdint>
#include <string>

#include "outside/aplayer/APlayerContract.h"

namespace qova {

class Player {
 public:
  Player() = default;
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;
  ~Player();

  // The handle APlayer_Create returned to this player; 0 before create.
  int32_t handle() const { return handle_; }

  // Creates the engine's video window as a child of `parent`; the new handle (0 on failure).
  int32_t create(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                 APlayerHandler handler1 = nullptr, APlayerHandler handler2 = nullptr,
                 APlayerHandler handler3 = nullptr, APlayerHandler handler4 = nullptr,
                 APlayerHandler handler5 = nullptr, APlayerHandler handler6 = nullptr,
                 APlayerHandler handler7 = nullptr, APlayerHandler handler8 = nullptr);
  // Opens the file; the engine starts playing it by itself.
  int32_t open(const std::string& path) const;
  int32_t setConfig(int32_t id, const std::string& value) const;
  // A copy of the engine's version text; empty when the engine gives none.
  std::string getVersion() const;
  int32_t getVideoWidth() const;
  // Ends the engine; the handle stays as it was, and the player's end destroys nothing more.
  int32_t destroy();
  int32_t close() const;
  int32_t play() const;
  int32_t pause() const;
  // Shows the picture in the file at `imagePath` as the engine's logo; an empty
  // path, a missing file or undecodable data pass no bitmap (0).
  int32_t setCustomLogo(const std::string& imagePath) const;
  // Moves the engine's window; the result of MoveWindow.
  int32_t moveWindow(int32_t x, int32_t y, int32_t width, int32_t height, int32_t repaint) const;
  int32_t getState() const;
  int32_t getDuration() const;
  int32_t getPosition() const;
  int32_t setPosition(int32_t position) const;
  int32_t getVideoHeight() const;
  int32_t getVolume() const;
  // A volume of 0 (or none) is sent as 80.
  int32_t setVolume(int32_t volume = 0) const;
  int32_t isSeeking() const;
  int32_t getBufferProgress() const;
  // A copy of the configuration text; empty when the engine gives none.
  std::string getConfig(int32_t id) const;
  // The engine's video window; null before create.
  HWND getWindow() const;

 private:
  // The decoded picture as a bitmap the caller owns; 0 for short, unknown or bad data.
  static HBITMAP bitmapFromImageData(const void* data, size_t length);

  int32_t handle_ = 0;
  bool engineAlive_ = false;  // created and not yet destroyed
};

}  // namespace qova
