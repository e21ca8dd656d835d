// The shell's own texts in the two interface languages. The interface is
// Korean when the system's ANSI code page is 949 and English otherwise; one
// test chooses every menu, status text and message of the shell.
#pragma once

#include <string_view>

namespace kesta::shell {

enum class Language { English, Korean };

inline constexpr unsigned kKoreanCodePage = 949;

constexpr Language languageForCodePage(unsigned codePage) {
  return codePage == kKoreanCodePage ? Language::Korean : Language::English;
}

// The five panes of the status bar.
inline constexpr int kPaneConnection = 0;
inline constexpr int kPaneInputMode = 1;
inline constexpr int kPaneCapture = 2;
inline constexpr int kPaneConnectedTime = 3;
inline constexpr int kPaneClock = 4;
inline constexpr int kPaneCount = 5;

// Every text is UTF-8.
struct ShellTexts {
  std::string_view disconnected, connected;
  std::string_view english, hangul;
  std::string_view captured, capturing;
  std::string_view exitQuestion, exitTitle;
  std::string_view socketError, socketErrorTitle;
  std::string_view hangUpQuestion, hangUpTitle;
};

const ShellTexts& shellTexts(Language language);

// The capture commands' messages.
struct CaptureTexts {
  std::string_view otherRunning, warningTitle, cannotCreate;
};
const CaptureTexts& captureTexts(Language language);

// Why a download or an upload failed, from the transfer library's negative
// result, and the title of its message. An upload the user cancelled has no
// message (an empty text): they know.
struct TransferFailure {
  std::string_view text, title;
};
TransferFailure transferFailure(bool send, int result, Language language);

// The chat window's hint bar (row 24): the head and tail keys, the special
// characters and Hanja. Drawn with the built-in Hangul font in both interfaces.
std::string_view chatHintText(Language language);

// The right edge of pane `index` (0 to 4): the client width in five equal parts.
constexpr int paneRightEdge(int clientWidth, int index) { return clientWidth / kPaneCount * (index + 1); }

}  // namespace kesta::shell

namespace kesta::shell {
// The toolbar's tooltip for a command, or empty when it has none.
std::string_view tooltipText(int command, Language language);
}  // namespace kesta::shell
