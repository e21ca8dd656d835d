// Writes the benchmark's 8 MB Korean bulletin-board stream to a file, for
// comparing whole programs (kesta-cli replay against vterm_replay).
#include <cstdio>

#include "tests/app/session/bbs_stream.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bbs_stream_writer FILE\n");
    return 2;
  }
  const std::string& stream = kesta::session::bench::bbsStream();
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  bool ok = std::fwrite(stream.data(), 1, stream.size(), out) == stream.size();
  ok = std::fclose(out) == 0 && ok;
  return ok ? 0 : 1;
}
