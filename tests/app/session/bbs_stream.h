// An 8 MB stream typical of a Korean bulletin board (colour SGRs, cursor
// positioning, erases, CR LF, KS Complete Hangul and English), the same on
// every run: what the terminal benchmarks and the replay comparison feed.
#pragma once

#include <random>
#include <string>

namespace kesta::session::bench {

// A Korean BBS screen stream, the same every run.
inline const std::string& bbsStream() {
  static const std::string stream = [] {
    std::mt19937 rng(20261207);
    std::string out;
    out.reserve(8u << 20);
    const char* english[] = {"Welcome", "to", "the", "board", "menu", "select", "[1]", "news", "mail", "chat",
                             "files", "GO", "Q", "help", "-----", "2026/12/07", "(c)"};
    auto hangulSyllable = [&] {
      // KS Complete: lead 0xB0-0xC8, second 0xA1-0xFE.
      out.push_back(static_cast<char>(0xB0 + rng() % 25));
      out.push_back(static_cast<char>(0xA1 + rng() % 94));
    };
    while (out.size() < (8u << 20)) {
      switch (rng() % 10) {
        case 0:
          out += "\x1b[" + std::to_string(30 + rng() % 8) + ";" + std::to_string(40 + rng() % 8) + "m";
          break;
        case 1:
          out += "\x1b[" + std::to_string(1 + rng() % 28) + ";" + std::to_string(1 + rng() % 70) + "H";
          break;
        case 2:
          out += rng() % 4 == 0 ? "\x1b[2J" : "\x1b[K";
          break;
        case 3:
          out += "\x1b[0m";
          break;
        default: {
          int words = 3 + rng() % 6;
          for (int w = 0; w < words; ++w) {
            if (rng() % 3 != 0) {
              int syllables = 1 + rng() % 4;
              for (int k = 0; k < syllables; ++k) hangulSyllable();
            } else {
              out += english[rng() % (sizeof english / sizeof english[0])];
            }
            out.push_back(' ');
          }
          out += "\r\n";
        }
      }
    }
    return out;
  }();
  return stream;
}

}  // namespace kesta::session::bench
