// The host's screens and prompts, as UTF-8 with ANSI colour sequences and
// "\r\n" line ends; the connection converts them to the user's code.
#pragma once

#include <string>
#include <vector>

namespace kesta::host::screens {

inline constexpr const char* kReset = "\x1b[0m";

// A box drawn with line characters around `lines`, each padded to `cells`
// cells (an even number: a line character takes two).
std::string box(const std::vector<std::string>& lines, std::size_t cells, const char* colour);

std::string welcome(const std::string& terminalType, int codeType);
std::string mainMenu();
std::string prompt(const std::string& text);  // coloured, no line end
std::string notice(const std::string& text);  // one coloured line

// Fixed texts the dialog and its tests share.
inline constexpr const char* kNamePrompt = "이름 (Name) > ";
inline constexpr const char* kMenuPrompt = "선택 (1,2,3,K,Q) > ";
inline constexpr const char* kBoardPrompt = "번호 또는 (P,N,W,Q) > ";
inline constexpr const char* kReadPrompt = "(P,N,Q) > ";
inline constexpr const char* kFilesPrompt = "받을 파일 번호 또는 (U,Q) > ";
inline constexpr const char* kTitlePrompt = "제목 (Title) > ";
inline constexpr const char* kCodePrompt = "한글 코드 (1-9, 9 = UTF-8) > ";
inline constexpr const char* kChatPrompt = "대화실 (Chat): 줄을 쓰면 모두에게 갑니다, /w 누가 있나, /q 나가기";
inline constexpr const char* kUploadStart = "ZMODEM 으로 파일을 보내세요 (start your ZMODEM upload now)";
inline constexpr const char* kGoodbye = "안녕히 가세요 (Goodbye)";

}  // namespace kesta::host::screens
