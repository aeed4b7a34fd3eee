#pragma once
// Why the wallpaper pauses by itself: several causes can hold at once, and
// it plays on only when the last of them ends. Platform-free.
namespace qova {

enum class PauseCause : unsigned {
  DesktopHidden = 1,  // other windows or a full-screen program hide the desktop
  SessionLocked = 2,  // the session is locked or disconnected
  DisplayOff = 4,     // the displays are off
  BatterySaver = 8,   // the system saves battery
};

class AutoPause {
 public:
  // Records whether `cause` holds; true when that starts or ends the pause as a whole.
  bool set(PauseCause cause, bool holds) {
    const bool before = paused();
    const auto bit = static_cast<unsigned>(cause);
    causes_ = holds ? causes_ | bit : causes_ & ~bit;
    return paused() != before;
  }
  bool paused() const { return causes_ != 0; }
  bool holds(PauseCause cause) const { return (causes_ & static_cast<unsigned>(cause)) != 0; }

 private:
  unsigned causes_ = 0;
};

}  // namespace qova
