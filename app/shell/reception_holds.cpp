#include "app/shell/reception_holds.h"

namespace kesta::shell {

void ReceptionHolds::hold(ReceptionHolder holder) {
  if (holds(holder)) return;
  const bool wasPaused = paused();
  held_ |= bit(holder);
  if (!wasPaused) reception_.pauseReception();
}

void ReceptionHolds::release(ReceptionHolder holder) {
  if (!holds(holder)) return;
  held_ &= ~bit(holder);
  if (!paused()) reception_.resumeReception();
}

}  // namespace kesta::shell
