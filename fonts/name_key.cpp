#include "fonts/name_key.h"

namespace kesta::fonts {
namespace {
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

int32_t upperCaseAndKey(char* name, size_t capacity) {
  int32_t key = 0;
  for (size_t i = 0; i < capacity && name[i] != 0; ++i) {
    name[i] = upper(name[i]);
    key += static_cast<int8_t>(name[i]);
  }
  return key;
}

int32_t nameKey(const char* name, size_t capacity) {
  int32_t key = 0;
  for (size_t i = 0; i < capacity && name[i] != 0; ++i) key += static_cast<int8_t>(upper(name[i]));
  return key;
}

bool namesEqualNoCase(const char* a, size_t capacityA, const char* b, size_t capacityB) {
  size_t i = 0;
  for (;; ++i) {
    char ca = i < capacityA ? a[i] : 0;
    char cb = i < capacityB ? b[i] : 0;
    if (upper(ca) != upper(cb)) return false;
    if (ca == 0) return true;
  }
}

}  // namespace kesta::fonts
