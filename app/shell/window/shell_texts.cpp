#include "app/shell/window/shell_texts.h"

namespace kesta::shell {

const ShellTexts& shellTexts(Language language) {
  static const ShellTexts english{
      "Disconnected", "Connected", "English", "Hangul", "Captured", "Capturing",
      "Do you want to exit program?", "Exit", "Socket Error", "ERROR",
      "Do you want to disconnect?", "HangUp",
  };
  static const ShellTexts korean{
      "연결안됨", "연결잘됨", "영어", "한글", "갈무리끝", "갈무리중",
      "프로그램을 종료할까요?", "종료", "Socket Error", "ERROR",
      "연결을 끊을까요?", "끊기",
  };
  return language == Language::Korean ? korean : english;
}

const CaptureTexts& captureTexts(Language language) {
  static const CaptureTexts english{"Capturing", "Warning", "Cannot create the capture file."};
  static const CaptureTexts korean{"갈무리중입니다.", "경고", "갈무리 파일을 만들 수 없습니다."};
  return language == Language::Korean ? korean : english;
}

TransferFailure transferFailure(bool send, int result, Language language) {
  struct Reason {
    bool send;
    int result;
    std::string_view english, korean;
  };
  static constexpr Reason reasons[] = {
      {false, -1, "The received file could not be created in the download directory.",
       "받을 파일을 내려받기 디렉토리에 만들 수 없습니다."},
      {false, -11, "The received file could not be written (is the disk full?). What arrived is kept.",
       "받은 파일을 쓸 수 없습니다 (디스크가 가득 찼나요?). 받은 데이터는 남겨 둡니다."},
      {false, -5, "The host broke off the transfer.", "호스트가 전송을 중단했습니다."},
      {true, -3, "", ""},
      {true, -5, "The host broke off the transfer.", "호스트가 전송을 중단했습니다."},
      {true, -11, "The file could not be read.", "보낼 파일을 읽을 수 없습니다."},
      {true, -2, "The host stopped answering or the line failed; the file was not sent whole.",
       "호스트가 응답하지 않거나 회선이 끊겨 파일을 다 보내지 못했습니다."},
  };
  const bool korean = language == Language::Korean;
  const TransferFailure other =
      send ? TransferFailure{korean ? "파일을 보내지 못했습니다." : "The file could not be sent.",
                             korean ? "파일 보내기 실패" : "Upload Failed"}
           : TransferFailure{korean ? "파일을 받지 못했습니다." : "The file could not be received.",
                             korean ? "파일 받기 실패" : "Download Failed"};
  for (const Reason& reason : reasons) {
    if (reason.send == send && reason.result == result) {
      return {korean ? reason.korean : reason.english, other.title};
    }
  }
  return other;
}

std::string_view chatHintText(Language language) {
  if (language == Language::Korean) return "   말머리 : ALT +  H    말꼬리 : ALT  + T    [F4] 그림문자    [F9] 한자";
  return "   Prefixation : ALT + H    Suffixation : ALT + T    [F4] Symbols    [F9] Hanja";
}

}  // namespace kesta::shell

namespace kesta::shell {

std::string_view tooltipText(int command, Language language) {
  struct Tip {
    int command;
    std::string_view english, korean;
  };
  static constexpr Tip tips[] = {
      {101, "Phone Book", "전화번호부"},         {105, "Chatting Window", "채팅창"},
      {106, "Change Modem State", "모뎀 상태 바꾸기"}, {137, "Search String", "문자열 찾기"},
      {139, "Screen capture", "화면 갈무리"},      {159, "Send File", "파일 보내기"},
      {160, "Receive File", "파일 받기"},         {169, "Input Domain Name", "도메인 네임 입력"},
      {174, "Define Macro", "매크로 정의"},        {200, "Auto Transfer", "자동반응"},
      {209, "Paste", "붙여넣기"},                 {210, "Copy", "복사하기"},
      {211, "Send", "보내기"},                    {257, "Close", "연결끊기"},
      {260, "Copyright", "저작권"},               {261, "Passed Screen View", "지나간 화면 보기"},
  };
  for (const Tip& tip : tips) {
    if (tip.command == command) return language == Language::Korean ? tip.korean : tip.english;
  }
  return {};
}

}  // namespace kesta::shell
