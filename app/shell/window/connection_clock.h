// The two clocks of the status bar: the time connected, counted by the
// one-second connection timer, and the time of day.
#pragma once

#include <ctime>
#include <string>

namespace kesta::shell {

class ConnectionClock {
 public:
  void restart() { seconds_ = minutes_ = hours_ = 0; }
  // One tick of the connection timer: seconds carry into minutes at 60,
  // minutes into hours.
  void tick();
  // "H:M:S", each field in decimal with one leading "0" when it has one digit.
  std::string text() const;
  static constexpr const char* kZero = "00:00:00";

 private:
  int seconds_ = 0;
  int minutes_ = 0;
  int hours_ = 0;
};

// The time of day as the fourth blank-separated field of asctime's text:
// "HH:MM:SS".
std::string timeOfDayText(const std::tm& local);

}  // namespace kesta::shell
