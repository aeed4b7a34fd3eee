#pragma once
// Keeps COM and Media Foundation started on the engine's thread for as long
// as the engine lives.
#include <windows.h>

namespace qova::aplayer {

class MediaPlatform {
 public:
  MediaPlatform();
  ~MediaPlatform();
  MediaPlatform(const MediaPlatform&) = delete;
  MediaPlatform& operator=(const MediaPlatform&) = delete;

  // False when Media Foundation could not be started.
  bool started() const { return mediaFoundationStarted_; }

 private:
  bool comInitialized_ = false;
  bool mediaFoundationStarted_ = false;
};

}  // namespace qova::aplayer
