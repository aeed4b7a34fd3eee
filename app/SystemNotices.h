#pragma once
// The system's notices that make the wallpaper pause by itself: the session
// locked or disconnected, the displays off, battery saver on. They arrive
// as messages to one window of ours, which registers for them while this lives.
#include <windows.h>

#include <optional>

#include "app/AutoPause.h"

namespace qova {

class SystemNotices {
 public:
  explicit SystemNotices(HWND window);
  ~SystemNotices();
  SystemNotices(const SystemNotices&) = delete;
  SystemNotices& operator=(const SystemNotices&) = delete;

 private:
  HWND window_;
  bool session_ = false;
  HPOWERNOTIFY display_ = nullptr;
  HPOWERNOTIFY batterySaver_ = nullptr;
};

struct PauseNotice {
  PauseCause cause;
  bool holds;
};

// What a message to that window says about a cause; nothing for any other message.
std::optional<PauseNotice> pauseNoticeOf(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qova
