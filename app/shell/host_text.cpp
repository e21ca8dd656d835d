#include "app/shell/host_text.h"

#include <algorithm>

namespace kesta::shell {

std::string toHostCode(std::string_view internal, int hostCode, SendConverter convert) {
  if (convert == nullptr || hostCode == CharacterProcessor::kInternalCode) return std::string(internal);
  std::string buffer(internal.size() * 2 + 16, '\0');
  std::copy(internal.begin(), internal.end(), buffer.begin());
  const std::size_t length = convert(CharacterProcessor::kInternalCode, hostCode, buffer.data(), buffer.size());
  buffer.resize(std::min(length, buffer.size()));
  return buffer;
}

}  // namespace kesta::shell
