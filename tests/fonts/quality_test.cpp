// Every one of the 11,172 syllables, composed from each built-in Hangul
// face, against the reference rendering the generator fitted the pieces to
// (tests/fonts/data/<face>.ref, 32 bytes per syllable, a set bit is ink).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fonts/builtin_fonts.h"
#include "fonts/composer.h"

namespace kesta::fonts {
namespace {

constexpr int kSyllables = 11172;

std::vector<uint8_t> readData(const std::string& name) {
  std::ifstream in(std::string(KESTA_FONT_DATA_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The agreement the generator reported, per face, in percent.
std::map<std::string, double> reportedQuality() {
  std::map<std::string, double> figures;
  std::ifstream in(std::string(KESTA_FONT_DATA_DIR) + "/quality.txt");
  std::string face;
  double percent;
  std::string line;
  while (std::getline(in, line)) {
    char name[64];
    if (line.empty() || line[0] == '#') continue;
    if (std::sscanf(line.c_str(), "%63s %lf", name, &percent) == 2) figures[name] = percent;
  }
  return figures;
}

struct Face {
  const char* file;
  int index;
  double floor;  // percent
};

class FaceQuality : public ::testing::TestWithParam<Face> {};

TEST_P(FaceQuality, ComposedSyllablesAgreeWithTheirReferences) {
  const Face face = GetParam();
  FontHeader headers[kBuiltinFontCount];
  makeBuiltinHeaders(headers);
  const std::vector<uint8_t> refs = readData(std::string(face.file) + ".ref");
  ASSERT_EQ(refs.size(), static_cast<size_t>(kSyllables) * 32) << face.file;

  long agreeing = 0;
  int blank = 0;
  std::set<std::vector<uint8_t>> cells;
  for (int i = 0; i < kSyllables; ++i) {
    uint8_t cell[32];
    ASSERT_TRUE(hangul::composeSyllable(hangul::syllableCodeOfUnicodeIndex(i), headers[face.index], cell));
    bool any = false;
    for (int b = 0; b < 32; ++b) {
      const uint8_t ink = static_cast<uint8_t>(~cell[b]);
      agreeing += 8 - __builtin_popcount(static_cast<uint8_t>(ink ^ refs[i * 32 + b]));
      any |= ink != 0;
    }
    blank += !any;
    cells.insert(std::vector<uint8_t>(cell, cell + 32));
  }
  const double percent = 100.0 * agreeing / (kSyllables * 256.0);
  std::printf("%s: %.4f%% of pixels agree\n", face.file, percent);
  const auto reported = reportedQuality();
  ASSERT_TRUE(reported.count(face.file)) << "quality.txt lacks " << face.file;
  // quality.txt holds the figure reached so far: a change may raise it (and
  // should then update the file) but never lower it.
  EXPECT_GE(percent, reported.at(face.file) - 0.0001) << "below the figure in quality.txt";
  EXPECT_GE(percent, face.floor);
  EXPECT_EQ(blank, 0);
  EXPECT_EQ(cells.size(), static_cast<size_t>(kSyllables)) << "two syllables compose to the same cell";
}

INSTANTIATE_TEST_SUITE_P(BuiltinHangul, FaceQuality,
                         ::testing::Values(Face{"myungjo", 0, 96.0}, Face{"gothic", 1, 98.0},
                                           Face{"pilgi", 2, 96.0}, Face{"sammool", 3, 96.0}),
                         [](const auto& info) { return std::string(info.param.file); });

}  // namespace
}  // namespace kesta::fonts
