#include "app/shell/input/command_table.h"

#include "app/shell/input/command_ids.h"

namespace kesta::shell {

namespace {
constexpr int kFile = 0, kEdit = 1, kPhone = 2, kChat = 3, kHangul = 4, kMacro = 5, kSpecial = 6, kState = 7;

constexpr Accelerator alt(int key) { return {key, kAlt}; }
constexpr Accelerator ctrl(int key) { return {key, kControl}; }
constexpr Accelerator plain(int key) { return {key, 0}; }

// In menu order within each popup.
constexpr CommandEntry kCommands[] = {
    {IDM_SEND_FILE, "&Send File", "파일 보내기", "PgUp", plain(kKeyPageUp), kFile},
    {IDM_RECEIVE_FILE, "&Receive File", "파일 받기", "PgDn", plain(kKeyPageDown), kFile},
    {IDM_SCREEN_CAPTURE, "Sc&reen Captured", "화면 갈무리", "Alt+L", alt('L'), kFile},
    {IDM_CODE_CAPTURE, "&Code Captured", "코드 갈무리", "Alt+K", alt('K'), kFile},
    {IDM_PASSED_SCREEN, "Passed Screen &View", "지나간 화면 보기", "F5", plain(kKeyF5), kFile},
    {IDM_SEND_INITIAL, "Send &Initial String", "초기화 명령어 보내기", "Alt+O", alt('O'), kFile},
    {IDM_EXIT, "E&xit", "종료하기", "Alt+X", alt('X'), kFile},
    {IDM_COPY, "&Copy", "복사하기", "Ctrl+C", ctrl('C'), kEdit},
    {IDM_PASTE, "&Paste", "붙여넣기", "Ctrl+V", ctrl('V'), kEdit},
    {IDM_SEND_SELECTION, "&Send", "보내기", "Ctrl+S", ctrl('S'), kEdit},
    // The key is Ctrl+M although the label has always said Alt+M.
    {IDM_DOMAIN_NAME, "Input &Domain Name", "도메인 네임 입력", "Alt+M", ctrl('M'), kPhone},
    {IDM_PHONE_NUMBER, "Phone &Number", "전화번호부", "Alt+D", alt('D'), kPhone},
    {IDM_CLOSE, "Cl&ose", "연결종료", "Ctrl+F9", ctrl(kKeyF9), kPhone},
    {IDM_CHAT_WINDOW, "Chatting &Window", "채팅창", "Alt+C", alt('C'), kChat},
    {IDM_PREFIX, "P&refixation", "머리말", "Alt+H", alt('H'), kChat},
    {IDM_SUFFIX, "Su&ffixation", "꼬리말", "Alt+T", alt('T'), kChat},
    {IDM_HANGUL_FONT, "Change Hangul &Font", "한글 폰트 바꾸기", "F8", plain(kKeyF8), kHangul},
    {IDM_HANGUL_CODE, "Change Hangul &Code", "한글 코드 바꾸기", "F2", plain(kKeyF2), kHangul},
    {IDM_HANGUL_KEYTYPE, "Change Hangul &KeyType", "한글 자판수 바꾸기", "Alt+3", alt('3'), kHangul},
    {IDM_DEFINE_MACRO, "&Define Macro", "매크로 정의", "Alt+M", alt('M'), kMacro},
    {IDM_MACRO1, "Macro &1", "매크로 1", "Ctrl+1", ctrl('1'), kMacro},
    {IDM_MACRO2, "Macro &2", "매크로 2", "Ctrl+2", ctrl('2'), kMacro},
    {IDM_MACRO3, "Macro &3", "매크로 3", "Ctrl+3", ctrl('3'), kMacro},
    {IDM_MACRO4, "Macro &4", "매크로 4", "Ctrl+4", ctrl('4'), kMacro},
    {IDM_MACRO5, "Macro &5", "매크로 5", "Ctrl+5", ctrl('5'), kMacro},
    {IDM_MACRO6, "Macro &6", "매크로 6", "Ctrl+6", ctrl('6'), kMacro},
    {IDM_MACRO7, "Macro &7", "매크로 7", "Ctrl+7", ctrl('7'), kMacro},
    {IDM_MACRO8, "Macro &8", "매크로 8", "Ctrl+8", ctrl('8'), kMacro},
    {IDM_MACRO9, "Macro &9", "매크로 9", "Ctrl+9", ctrl('9'), kMacro},
    {IDM_SPECIAL_CHARACTER, "Send S&pecial Character", "특수문자 입력하기", "F4", plain(kKeyF4), kSpecial},
    {IDM_HANJA_CHARACTER, "Send &Hanja Character", "한자 입력하기", "F9", plain(kKeyF9), kSpecial},
    {IDM_SEARCH_STRING, "&Search String", "문자열 찾기", "Alt+S", alt('S'), kSpecial},
    {IDM_AUTO_TRANSFER, "Auto &Transfer", "자동반응", "Alt+A", alt('A'), kSpecial},
    {IDM_VOICE_SUPPORT, "&Voice Support", "음성지원", "Alt+V", alt('V'), kSpecial},
    {IDM_BACKGROUND_MUSIC, "Background M&usic", "배경음악", "Ctrl+B", ctrl('B'), kSpecial},
    {IDM_SETTING_MODEM, "Setting &Modem", "모뎀 환경 설정", "Alt+1", alt('1'), kState},
    {IDM_MODEM_STATE, "Current Modem &State", "현재 모뎀 환경", "F7", plain(kKeyF7), kState},
    {IDM_DIRECTORY, "Directory Setting", "디렉토리 설정", "Alt+F5", alt(kKeyF5), kState},
    {IDM_TEXT_COLOR, "Change &Text Color", "글자색 바꾸기", "Alt+Z", alt('Z'), kState},
    {IDM_BACKGROUND_COLOR, "Change &Background Color", "배경색 바꾸기", "Alt+B", alt('B'), kState},
    {IDM_CHANGE_MUSIC, "Change Background &Music", "배경음악 바꾸기", "Alt+2", alt('2'), kState},
    // Function keys send nothing to a host, so these two take no key a host needs.
    {IDM_ZOOM_IN, "Zoom &In", "확대", "F12", plain(kKeyF12), kState},
    {IDM_ZOOM_OUT, "Zoom &Out", "축소", "F11", plain(kKeyF11), kState},
    {IDM_ABOUT, "&About", "관해서", "F1", plain(kKeyF1), kTopLevel},
    // Keys without a menu item.
    {IDM_SWITCH_HANGUL, "", "", "", {kKeySpace, kShift}, kNoMenu},
    {IDM_NOTHING_ALT0, "", "", "", alt('0'), kNoMenu},
    {IDM_NOTHING_CTRLD, "", "", "", ctrl('D'), kNoMenu},
    {IDM_NOTHING_ALTF9, "", "", "", alt(kKeyF9), kNoMenu},
    {IDM_HANG_UP_BY_KEY, "", "", "", {}, kNoMenu},
};

constexpr MenuPopup kPopups[] = {
    {"&File", "파일"},   {"&Edit", "편집"},     {"P&hone", "전화"},       {"&Chat", "채팅"},
    {"&Hangul", "한글"}, {"&Macro", "매크로"}, {"&Special", "특별기능"}, {"S&tate", "상태"},
};
}  // namespace

std::span<const CommandEntry> commandTable() { return kCommands; }
std::span<const MenuPopup> menuPopups() { return kPopups; }

const CommandEntry* findCommand(int id) {
  for (const CommandEntry& e : kCommands) {
    if (e.id == id) return &e;
  }
  return nullptr;
}

std::string menuItemText(const CommandEntry& entry, Language language) {
  std::string text(language == Language::Korean ? entry.korean : entry.english);
  if (!entry.keyLabel.empty()) text += "\t" + std::string(entry.keyLabel);
  return text;
}

}  // namespace kesta::shell
