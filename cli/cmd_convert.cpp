// kesta-cli convert --from A --to B: standard input to standard output
// between the Hangul code types 1..9 (9 is UTF-8), as a stream.
#include <cstdio>
#include <string>

#include "cli/args.h"
#include "cli/command.h"
#include "xlat/xlat.h"

namespace {

using kesta::xlat::Code;

const char kHelp[] =
    "usage: kesta-cli convert --from CODE --to CODE  < input > output\n"
    "\n"
    "Converts standard input to standard output between Hangul codes. CODE is\n"
    "a code type number or utf8:\n"
    "  1  internal combination code (johab, KS C 5601-1992)\n"
    "  2  Samsung combination     (handled as 1: no public definition\n"
    "  3  Geumsung combination     of these vendor codes was found)\n"
    "  4  Dokkebi II combination\n"
    "  5  1987 KS combination code (Hangul only)\n"
    "  6  KS complete: Windows code page 949 (the clipboard's code)\n"
    "  7  KS X 1001 in seven bits with SO/SI (as RFC 1557)\n"
    "  8  code page 949, as 6\n"
    "  9, utf8  UTF-8\n"
    "Characters may be split across reads. Bytes that are no character of the\n"
    "input code, and characters the output code lacks, become a substitute\n"
    "('?', a full-width question mark or U+FFFD) and are counted on standard\n"
    "error; the exit status stays 0.\n";

bool parseCode(const std::string& text, Code* code) {
  if (text == "utf8" || text == "utf-8" || text == "UTF-8") {
    *code = Code::Utf8;
    return true;
  }
  if (text.size() == 1 && text[0] >= '1' && text[0] <= '9') return kesta::xlat::codeForType(text[0] - '0', code);
  return false;
}

int runConvert(int argc, char** argv) {
  kesta::cli::Args args({"--from", "--to"}, {});
  if (!args.parse(argc, argv)) return kesta::cli::usageError("convert", args.error());
  if (args.wantsHelp()) {
    std::fputs(kHelp, stdout);
    return kesta::cli::kExitOk;
  }
  if (!args.positional().empty()) return kesta::cli::usageError("convert", "takes no file names: it reads standard input");
  auto from = args.value("--from");
  auto to = args.value("--to");
  if (!from || !to) return kesta::cli::usageError("convert", "needs --from and --to (try --help)");
  Code fromCode, toCode;
  if (!parseCode(*from, &fromCode)) return kesta::cli::usageError("convert", "--from must be 1 to 9 or utf8, not \"" + *from + "\"");
  if (!parseCode(*to, &toCode)) return kesta::cli::usageError("convert", "--to must be 1 to 9 or utf8, not \"" + *to + "\"");

  kesta::xlat::StreamConverter stream(fromCode, toCode);
  std::string out;
  char buf[65536];
  bool writeFailed = false;
  for (;;) {
    std::size_t n = std::fread(buf, 1, sizeof buf, stdin);
    if (n == 0) break;
    out.clear();
    stream.feed(buf, n, out);
    if (!out.empty() && std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) writeFailed = true;
    if (writeFailed) break;
  }
  bool readFailed = std::ferror(stdin) != 0;
  out.clear();
  stream.finish(out);
  if (!writeFailed && !out.empty() && std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) writeFailed = true;
  if (std::fflush(stdout) != 0) writeFailed = true;

  if (readFailed || writeFailed) {
    std::fprintf(stderr, "kesta-cli convert: could not %s\n", readFailed ? "read standard input" : "write standard output");
    return kesta::cli::kExitFailure;
  }
  const auto& subs = stream.substitutions();
  if (subs.total() > 0) {
    std::fprintf(stderr, "kesta-cli convert: replaced %zu bad input byte%s and %zu character%s without a counterpart by the substitute\n",
                 subs.badInput, subs.badInput == 1 ? "" : "s", subs.unmappable, subs.unmappable == 1 ? "" : "s");
  }
  return kesta::cli::kExitOk;
}

}  // namespace

KESTA_CLI_COMMAND("convert", "convert standard input between Hangul codes (1..9; 9 or utf8 is UTF-8)", runConvert);
