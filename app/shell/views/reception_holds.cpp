#include "app/shell/views/reception_holds.h"

namespace kesta::shell {

namespace {
constexpr unsigned kSocket = static_cast<unsigned>(PauseStep::SocketNotifications);
constexpr unsigned kReader = static_cast<unsigned>(PauseStep::SerialReader);
constexpr unsigned kEvents = static_cast<unsigned>(PauseStep::SerialEvents);
constexpr PauseStep kSteps[] = {PauseStep::SocketNotifications, PauseStep::SerialReader, PauseStep::SerialEvents};
}  // namespace

unsigned ReceptionHolds::stepsFor(ReceptionHolder holder) const {
  const bool telnet = lines_.telnetOpen(), serial = lines_.serialOpen();
  // The transfer library reads the line itself: nothing else may wait on it.
  if (holder == ReceptionHolder::Transfer) return (telnet ? kSocket : 0) | (serial ? kReader : 0);
  // A still picture: telnet's notifications stop and the modem's reader
  // sleeps beside it; a modem alone stops raising character events.
  if (telnet) return kSocket | (serial ? kReader : 0);
  return serial ? kEvents : 0;
}

void ReceptionHolds::take(unsigned steps) {
  for (const PauseStep step : kSteps) {
    const unsigned b = static_cast<unsigned>(step);
    if ((steps & b) != 0 && (taken_ & b) == 0) {
      lines_.setPaused(step, true);
      taken_ |= b;
    }
  }
}

void ReceptionHolds::hold(ReceptionHolder holder) {
  if (holds(holder)) return;
  held_ |= bit(holder);
  take(stepsFor(holder));
}

void ReceptionHolds::release(ReceptionHolder holder) {
  if (!holds(holder)) return;
  held_ &= ~bit(holder);
  if (paused()) return;  // the others still hold what was taken
  for (const PauseStep step : kSteps) {
    if (stepTaken(step)) lines_.setPaused(step, false);
  }
  taken_ = 0;
}

void ReceptionHolds::reapply(unsigned steps) {
  for (const PauseStep step : kSteps) {
    if ((steps & static_cast<unsigned>(step)) != 0) lines_.setPaused(step, true);
  }
}

void ReceptionHolds::telnetOpened() {
  if (!paused()) return;
  if (stepTaken(PauseStep::SocketNotifications)) {
    reapply(kSocket);  // the new socket, as the old one was
  } else {
    take(kSocket);
  }
}

void ReceptionHolds::serialOpened() {
  if (!paused()) return;
  // A port opened again in place of one that was paused is paused the same
  // way; one that was not there stops raising character events.
  if ((taken_ & (kReader | kEvents)) != 0) {
    reapply(taken_ & (kReader | kEvents));
  } else {
    take(kEvents);
  }
}

}  // namespace kesta::shell
