// A modem line alone, whose pause and resume are written down in order.
#pragma once

#include <string>
#include <vector>

#include "app/shell/views/reception_holds.h"

namespace kesta::shell {

struct RecordingSwitch : ReceptionLines {
  bool telnetOpen() const override { return false; }
  bool serialOpen() const override { return true; }
  void setPaused(PauseStep, bool paused) override { events.push_back(paused ? "pause" : "resume"); }
  std::vector<std::string> events;
};

}  // namespace kesta::shell
