// kesta-cli render: draws text with the built-in fonts into a PNG picture,
// black on white, or a review sheet of every built-in face.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/command.h"
#include "fonts/builtin_fonts.h"
#include "fonts/glyphs/glyph_blocks.h"
#include "fonts/png_writer.h"
#include "fonts/text_render.h"
#include "xlat/xlat.h"

namespace kesta::cli {
namespace {

using fonts::FontHeader;
using fonts::InkBitmap;
using fonts::TextFonts;

const char kHelp[] =
    "usage: kesta-cli render --face NAME [--english FACE] [--code N] [--scale K] TEXT -o FILE.png\n"
    "       kesta-cli render --sheet [--scale K] -o FILE.png\n"
    "Draws TEXT with the built-in fonts, black on white, one pixel per pixel\n"
    "(times --scale), and writes a PNG.\n"
    "  --face NAME     Hangul face: InternalMyungjo, InternalGothic, InternalPilgi,\n"
    "                  InternalSammool (any case)\n"
    "  --english FACE  English face: InternalRoman (default), InternalMokraRoman,\n"
    "                  InternalMokraGothic, InternalET4000\n"
    "  --code N        TEXT is in Hangul code type N (1-8; 1 is the combination code);\n"
    "                  without it TEXT is UTF-8: ASCII, Hangul, KS X 1001 symbols, Hanja\n"
    "  --scale K       each pixel as K x K pixels (1-16, default 1)\n"
    "  --sheet         a review sheet of every built-in face instead of TEXT\n"
    "  -o FILE         the PNG to write\n";

struct Faces {
  FontHeader headers[fonts::kBuiltinFontCount];
  Faces() { fonts::makeBuiltinHeaders(headers); }
  const FontHeader* byName(const std::string& name, int kind) const {
    const int index = fonts::builtinIndexOfFace(name.c_str());
    return index >= 0 && headers[index].kind == kind ? &headers[index] : nullptr;
  }
};

TextFonts textFonts(const Faces& faces, const FontHeader* hangul, const FontHeader* english) {
  TextFonts t;
  t.hangul = hangul;
  t.english = english;
  t.special = &faces.headers[4];
  t.kssm = &faces.headers[10];
  t.hanja = std::span<const uint8_t>(fonts::glyphs::kHanjaGlyphs, fonts::glyphs::kHanjaBytes);
  return t;
}

InkBitmap scaled(const InkBitmap& in, int scale) {
  InkBitmap out(in.width * scale, in.height * scale);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.ink[static_cast<size_t>(y) * out.width + x] = in.ink[static_cast<size_t>(y / scale) * in.width + x / scale];
  return out;
}

std::vector<uint8_t> utf8(const char* text) {
  std::vector<uint8_t> out;
  std::string error;
  fonts::utf8ToCombination(text, out, error);  // the sheet's own texts always convert
  return out;
}

std::vector<uint8_t> twoByteRun(uint8_t lead, int firstSecond, int count) {
  std::vector<uint8_t> out;
  for (int i = 0; i < count; ++i) {
    out.push_back(lead);
    out.push_back(static_cast<uint8_t>(firstSecond + i));
  }
  return out;
}

// One line per row of the sheet: a label in the Roman face, then a sample
// text, or a run of one font's glyphs by number.
InkBitmap reviewSheet(const Faces& faces) {
  const FontHeader* roman = &faces.headers[6];
  struct Line {
    std::string label;
    TextFonts fonts;
    std::vector<uint8_t> text;
    const FontHeader* glyphFont = nullptr;  // when set: glyphs first..first+count-1 of this font
    int first = 0;
    int count = 0;
  };
  std::vector<Line> lines;
  const char* hangulSample = "다람쥐 헌 쳇바퀴에 타고파. 뷁 쀍 닭 흙 값 읊 꽃 햏 힣 ㄱ ㅎ ㅏ";
  const char* hangulSample2 = "키스의 고유조건은 입술끼리 만나야 하고 특별한 기술은 필요치 않다";
  for (int f = 0; f < 4; ++f) {
    lines.push_back({faces.headers[f].faceName, textFonts(faces, &faces.headers[f], roman), utf8(hangulSample)});
    lines.push_back({"", textFonts(faces, &faces.headers[f], roman), utf8(hangulSample2)});
  }
  const TextFonts plain = textFonts(faces, &faces.headers[1], roman);
  for (int f = 6; f <= 9; ++f) {
    const TextFonts t = textFonts(faces, &faces.headers[1], &faces.headers[f]);
    lines.push_back({faces.headers[f].faceName, t, utf8("The quick brown fox jumps over the lazy dog. 0123456789 !?&@#")});
    lines.push_back({"", t, {}, &faces.headers[f], 0x80, 64});
    lines.push_back({"", t, {}, &faces.headers[f], 0xC0, 64});
  }
  for (int f : {4, 5}) {
    lines.push_back({faces.headers[f].faceName, plain, {}, &faces.headers[f], 0, 64});
    lines.push_back({"", plain, {}, &faces.headers[f], 64, 64});
  }
  lines.push_back({"KSSMSpecial", plain, twoByteRun(0xD9, 0x31, 64)});
  lines.push_back({"", plain, twoByteRun(0xDC, 0x91, 64)});
  lines.push_back({"", plain, twoByteRun(0xDD, 0xA1, 64)});
  lines.push_back({"HANJA.FNT", plain, twoByteRun(0xE0, 0x31, 64)});
  lines.push_back({"", textFonts(faces, &faces.headers[0], roman), utf8("한글 Hangul 漢字 韓國語 ★☆○● ①②③ αβγ ㈜")});

  const int labelWidth = 21 * 8;
  const int lineHeight = 18;
  int width = 0;
  for (const Line& l : lines) {
    const int w = l.glyphFont != nullptr ? l.count * l.glyphFont->cellWidth : fonts::textWidth(l.text, l.fonts);
    width = std::max(width, labelWidth + w);
  }
  InkBitmap sheet(width + 8, static_cast<int>(lines.size()) * lineHeight + 4);
  int y = 2;
  for (const Line& l : lines) {
    const std::vector<uint8_t> label(l.label.begin(), l.label.end());
    fonts::drawText(sheet, 4, y, label, plain);
    if (l.glyphFont != nullptr) fonts::drawGlyphRun(sheet, 4 + labelWidth, y, *l.glyphFont, l.first, l.count);
    else fonts::drawText(sheet, 4 + labelWidth, y, l.text, l.fonts);
    y += lineHeight;
  }
  return sheet;
}

int runRender(int argc, char** argv) {
  Args args({"--face", "--english", "--code", "--scale", "-o"}, {"--sheet"});
  if (!args.parse(argc, argv)) return usageError("render", args.error());
  if (args.wantsHelp()) {
    std::fputs(kHelp, stdout);
    return kExitOk;
  }
  long scale = 1;
  long code = 0;
  if (!args.intValue("--scale", 1, 16, &scale) || !args.intValue("--code", 1, 8, &code))
    return usageError("render", args.error());
  const auto output = args.value("-o");
  if (!output || output->empty()) return usageError("render", "-o FILE.png is required");
  Faces faces;

  InkBitmap picture(0, 0);
  if (args.has("--sheet")) {
    if (!args.positional().empty()) return usageError("render", "--sheet takes no text");
    picture = reviewSheet(faces);
  } else {
    if (args.positional().size() != 1) return usageError("render", "give exactly one TEXT (try --help)");
    const auto faceName = args.value("--face");
    if (!faceName) return usageError("render", "--face NAME is required");
    const FontHeader* hangul = faces.byName(*faceName, fonts::kKindHangul);
    if (hangul == nullptr) return usageError("render", "no built-in Hangul face " + *faceName);
    const FontHeader* english = faces.byName(args.value("--english").value_or("InternalRoman"), fonts::kKindEnglish);
    if (english == nullptr) return usageError("render", "no built-in English face " + *args.value("--english"));
    const std::string& text = args.positional()[0];
    std::vector<uint8_t> bytes;
    if (code != 0) {
      xlat::Code from;
      xlat::codeForType(static_cast<int>(code), &from);
      const std::string johab = xlat::convert(from, xlat::Code::Johab, text);
      bytes.assign(johab.begin(), johab.end());
    } else {
      std::string error;
      if (!fonts::utf8ToCombination(text, bytes, error)) return usageError("render", error);
    }
    const TextFonts t = textFonts(faces, hangul, english);
    picture = InkBitmap(std::max(1, fonts::textWidth(bytes, t)), 16);
    fonts::drawText(picture, 0, 0, bytes, t);
  }
  if (scale > 1) picture = scaled(picture, static_cast<int>(scale));
  if (!fonts::writeFile(*output, fonts::encodeMonochromePng(picture.width, picture.height, picture.ink))) {
    std::fprintf(stderr, "kesta-cli render: cannot write %s\n", output->c_str());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

KESTA_CLI_COMMAND("render", "draw text with the built-in fonts into a PNG picture", runRender);

}  // namespace kesta::cli
