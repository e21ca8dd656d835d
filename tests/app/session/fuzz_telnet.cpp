// Fuzz target: the telnet protocol over arbitrary bytes. Cutting the input
// into two reads at any point must give the same data and the same replies
// as one read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/session/telnet.h"
#include "tests/app/session/session_fixture.h"

using namespace kesta::session;
using namespace kesta::session::testing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::size_t cut = data[0] % size;
  ++data;
  --size;
  cut = cut > size ? size : cut;

  RecordingHost wholeHost;
  TelnetProtocol whole(wholeHost);
  std::string wholeData;
  whole.receive(data, size, wholeData);

  RecordingHost splitHost;
  TelnetProtocol split(splitHost);
  std::string splitData;
  split.receive(data, cut, splitData);
  split.receive(data + cut, size - cut, splitData);

  if (wholeData != splitData || wholeHost.sent != splitHost.sent) std::abort();
  if (wholeData.size() > size) std::abort();
  return 0;
}
