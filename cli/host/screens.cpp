#include "cli/host/screens.h"

#include "cli/host/line_editor.h"

namespace kesta::host::screens {

namespace {
std::string repeat(const char* piece, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += piece;
  return out;
}
}  // namespace

std::string box(const std::vector<std::string>& lines, std::size_t cells, const char* colour) {
  std::string out = std::string(colour) + "┌" + repeat("─", cells / 2) + "┐" + kReset + "\r\n";
  for (const std::string& raw : lines) {
    std::string line = cutToWidth(raw, cells);
    out += std::string(colour) + "│" + kReset + line + std::string(cells - displayWidth(line), ' ') + colour + "│" +
           kReset + "\r\n";
  }
  out += std::string(colour) + "└" + repeat("─", cells / 2) + "┘" + kReset + "\r\n";
  return out;
}

std::string welcome(const std::string& terminalType, int codeType) {
  std::string out = "\x1b[0m\x1b[2J\x1b[H\r\n";
  out += box({"",
              "     \x1b[1;37m케스타 시연 게시판\x1b[0m   \x1b[1;32mKesta demo host\x1b[0m",
              "",
              "     어서 오세요! 한글 통신 에뮬레이터 케스타를",
              "     시험해 보는 작은 게시판입니다.",
              "",
              "     \x1b[32m게시판\x1b[0m  \x1b[35m자료실\x1b[0m  \x1b[36m대화실\x1b[0m  ZMODEM",
              ""},
             60, "\x1b[1;36m");
  out += "\r\n  터미널 (terminal): \x1b[1;32m" + (terminalType.empty() ? std::string("?") : terminalType) +
         "\x1b[0m   한글 코드 (code): \x1b[1;32m" + std::to_string(codeType) + "\x1b[0m\r\n\r\n";
  return out;
}

// Each choice stays one run of text ("1. 게시판 (Board)"), so that a
// terminal finding clickable items on the screen sees it whole.
std::string mainMenu() {
  return "\r\n" + box({"  \x1b[1;37m[ 주 메뉴 (Main menu) ]\x1b[0m",
                       "",
                       "  \x1b[1;32m1. 게시판 (Board)\x1b[0m",
                       "  \x1b[1;32m2. 자료실 (Files)\x1b[0m",
                       "  \x1b[1;32m3. 대화실 (Chat)\x1b[0m",
                       "  \x1b[1;32mK. 한글 코드 (Code)\x1b[0m",
                       "  \x1b[1;32mQ. 끝내기 (Quit)\x1b[0m"},
                      40, "\x1b[36m");
}

std::string prompt(const std::string& text) { return "\x1b[1;37m" + text + kReset; }

std::string notice(const std::string& text) { return "\x1b[1;36m" + text + kReset + "\r\n"; }

}  // namespace kesta::host::screens
