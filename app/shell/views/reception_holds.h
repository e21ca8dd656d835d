// Who is holding reception, and what holding it did to the lines. The
// passed-screen view and a selection hold it while they show a still
// picture; a file transfer holds it while the transfer library reads the
// line itself. Reading resumes only when the last holder lets go, and a
// resume undoes exactly the steps the pause took, whatever has been opened
// or closed meanwhile: a telnet hang-up while the view is open must not leave
// the modem's reader asleep.
#pragma once

namespace kesta::shell {

enum class ReceptionHolder { PassedScreenView, Selection, Transfer };

// One thing done to a line to stop it delivering.
enum class PauseStep : unsigned {
  SocketNotifications = 1,  // the socket's notifications cancelled
  SerialReader = 2,         // the serial reader thread suspended
  SerialEvents = 4,         // the serial port's event mask set to 0
};

// The connections as the holds see them: which are open, and the switch of
// each pause step.
class ReceptionLines {
 public:
  virtual ~ReceptionLines() = default;
  virtual bool telnetOpen() const = 0;
  virtual bool serialOpen() const = 0;
  virtual void setPaused(PauseStep step, bool paused) = 0;
};

class ReceptionHolds {
 public:
  explicit ReceptionHolds(ReceptionLines& lines) : lines_(lines) {}

  // Taking a hold twice, or letting go of one not held, changes nothing.
  void hold(ReceptionHolder holder);
  void release(ReceptionHolder holder);
  // A line opened while reception is held is paused at once, so the still
  // picture stays still; the release wakes it with the rest.
  void telnetOpened();
  void serialOpened();

  bool holds(ReceptionHolder holder) const { return (held_ & bit(holder)) != 0; }
  bool paused() const { return held_ != 0; }
  bool stepTaken(PauseStep step) const { return (taken_ & static_cast<unsigned>(step)) != 0; }

 private:
  static constexpr unsigned bit(ReceptionHolder holder) { return 1u << static_cast<unsigned>(holder); }
  // What one holder needs paused with the lines open now.
  unsigned stepsFor(ReceptionHolder holder) const;
  void take(unsigned steps);
  // The steps already taken done again, on a line opened in place of another.
  void reapply(unsigned steps);

  ReceptionLines& lines_;
  unsigned held_ = 0;
  unsigned taken_ = 0;
};

}  // namespace kesta::shell
