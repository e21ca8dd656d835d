#include "app/shell/window/connection_clock.h"

#include <cstdio>

namespace kesta::shell {

void ConnectionClock::tick() {
  if (++seconds_ < 60) return;
  seconds_ = 0;
  if (++minutes_ < 60) return;
  minutes_ = 0;
  ++hours_;
}

namespace {
std::string twoDigits(int value) { return value < 10 ? "0" + std::to_string(value) : std::to_string(value); }
}  // namespace

std::string ConnectionClock::text() const {
  return twoDigits(hours_) + ":" + twoDigits(minutes_) + ":" + twoDigits(seconds_);
}

std::string timeOfDayText(const std::tm& local) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour % 100, local.tm_min % 100, local.tm_sec % 100);
  return text;
}

}  // namespace kesta::shell
