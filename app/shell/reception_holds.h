// Who is holding reception paused. The passed-screen view and a selection
// each pause reading from the connection while they show a still picture;
// reading resumes only when the last holder lets go, so ending a selection
// while the view is open does not start reading into the page the view shows.
#pragma once

namespace kesta::shell {

// The connection's reading: telnet suspends its reader thread and cancels
// the socket notifications, a serial port sets its event mask to 0.
class ReceptionSwitch {
 public:
  virtual ~ReceptionSwitch() = default;
  virtual void pauseReception() = 0;
  virtual void resumeReception() = 0;
};

enum class ReceptionHolder { PassedScreenView, Selection };

class ReceptionHolds {
 public:
  explicit ReceptionHolds(ReceptionSwitch& reception) : reception_(reception) {}

  // Taking a hold twice, or letting go of one not held, changes nothing.
  void hold(ReceptionHolder holder);
  void release(ReceptionHolder holder);
  bool holds(ReceptionHolder holder) const { return (held_ & bit(holder)) != 0; }
  bool paused() const { return held_ != 0; }

 private:
  static constexpr unsigned bit(ReceptionHolder holder) { return 1u << static_cast<unsigned>(holder); }
  ReceptionSwitch& reception_;
  unsigned held_ = 0;
};

}  // namespace kesta::shell
