#include "zlink/progress.h"

#include <cstdio>

namespace kesta::zlink {

std::string formatClock(long seconds) {
  if (seconds < 0) seconds = 0;
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d.%02ld", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), seconds % 60);
  return text;
}

std::string formatErrors(int consecutive, int total) {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d", consecutive, total);
  return text;
}

std::string formatFileNumber(int number, int count) {
  char text[32];
  std::snprintf(text, sizeof text, "%d of %d", number, count);
  return text;
}

}  // namespace kesta::zlink
