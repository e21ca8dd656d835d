// Drives a libFuzzer-style target without libFuzzer: a fixed number of
// pseudo-random inputs, half of them mutations of earlier ones, so that a
// plain g++ build under the sanitizers exercises every fuzz target in CI.
//
//   target [--runs=N] [--seed=S] [--max-len=L] [FILE...]
// Files named on the command line are run first and seed the mutations.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// Bytes that control characters, escapes, frames and lead bytes are made of:
// random inputs lean on them so that parsers get past their first branch.
const uint8_t kInteresting[] = {0x00, 0x07, 0x08, 0x09, 0x0a, 0x0d, 0x0e, 0x0f, 0x11, 0x13, 0x18, 0x1b,
                                '*', 'B', '0', '1', '9', ';', '[', 'm', 'H', 'J', 'K', 'A',
                                0x7f, 0x80, 0x84, 0x88, 0xa1, 0xb0, 0xc8, 0xd9, 0xfe, 0xff, 0xfb, 0xfd, 0xfa, 0xf0};

std::vector<uint8_t> randomInput(std::mt19937& rng, size_t maxLen) {
  std::uniform_int_distribution<size_t> lenDist(0, maxLen);
  std::vector<uint8_t> v(lenDist(rng));
  for (auto& b : v) {
    uint32_t r = rng();
    b = (r & 1) ? kInteresting[(r >> 1) % sizeof kInteresting] : static_cast<uint8_t>(r >> 8);
  }
  return v;
}

void mutate(std::vector<uint8_t>& v, std::mt19937& rng, size_t maxLen) {
  int edits = 1 + static_cast<int>(rng() % 8);
  for (int i = 0; i < edits; ++i) {
    switch (rng() % 4) {
      case 0:  // flip a byte
        if (!v.empty()) v[rng() % v.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
        break;
      case 1:  // insert an interesting byte
        if (v.size() < maxLen) v.insert(v.begin() + static_cast<long>(v.empty() ? 0 : rng() % (v.size() + 1)),
                                        kInteresting[rng() % sizeof kInteresting]);
        break;
      case 2:  // erase a byte
        if (!v.empty()) v.erase(v.begin() + static_cast<long>(rng() % v.size()));
        break;
      default:  // duplicate a slice
        if (!v.empty() && v.size() < maxLen) {
          size_t from = rng() % v.size();
          size_t len = std::min<size_t>(1 + rng() % 16, v.size() - from);
          std::vector<uint8_t> slice(v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(from + len));
          v.insert(v.begin() + static_cast<long>(rng() % (v.size() + 1)), slice.begin(), slice.end());
          if (v.size() > maxLen) v.resize(maxLen);
        }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  long runs = 20000;
  unsigned seed = 1;
  size_t maxLen = 4096;
  std::vector<std::vector<uint8_t>> pool;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--runs=", 7) == 0) {
      runs = std::strtol(argv[i] + 7, nullptr, 10);
    } else if (std::strncmp(argv[i], "--seed=", 7) == 0) {
      seed = static_cast<unsigned>(std::strtoul(argv[i] + 7, nullptr, 10));
    } else if (std::strncmp(argv[i], "--max-len=", 10) == 0) {
      maxLen = std::strtoul(argv[i] + 10, nullptr, 10);
    } else {
      std::ifstream in(argv[i], std::ios::binary);
      if (!in) {
        std::fprintf(stderr, "fuzz driver: cannot read %s\n", argv[i]);
        return 2;
      }
      pool.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(pool.back().data(), pool.back().size());
    }
  }
  std::mt19937 rng(seed);
  for (long i = 0; i < runs; ++i) {
    std::vector<uint8_t> input;
    if (!pool.empty() && (rng() & 1)) {
      input = pool[rng() % pool.size()];
      mutate(input, rng, maxLen);
    } else {
      input = randomInput(rng, maxLen);
    }
    LLVMFuzzerTestOneInput(input.data(), input.size());
    if (pool.size() < 256) pool.push_back(std::move(input));
    else pool[rng() % pool.size()] = std::move(input);
  }
  std::printf("fuzz driver: %ld inputs (seed %u) ran clean\n", runs, seed);
  return 0;
}
