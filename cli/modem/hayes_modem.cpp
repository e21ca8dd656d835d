#include "cli/modem/hayes_modem.h"

#include <cctype>
#include <cstdio>

namespace kesta::modem {

namespace {

const char* verboseText(int code) {
  switch (code) {
    case 0: return "OK";
    case 1: return HayesModem::kConnectText;
    case 2: return "RING";
    case 3: return "NO CARRIER";
    case 4: return "ERROR";
    case 6: return "NO DIALTONE";
    case 7: return "BUSY";
    case 8: return "NO ANSWER";
  }
  return "ERROR";
}

// A decimal parameter at `at` (none: 0); moves `at` past it.
int number(const std::string& text, std::size_t& at, bool* present = nullptr) {
  int value = 0;
  bool any = false;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && value < 100000) {
    value = value * 10 + (text[at++] - '0');
    any = true;
  }
  if (present) *present = any;
  return value;
}

}  // namespace

HayesModem::HayesModem(ModemLine& line) : line_(line) { reset(); }

void HayesModem::reset() {
  s_.fill(0);
  s_[2] = '+';   // escape character
  s_[3] = '\r';  // end of command line
  s_[4] = '\n';
  s_[5] = '\b';
  s_[6] = 2;
  s_[7] = 50;
  s_[8] = 2;
  s_[9] = 6;
  s_[10] = 14;
  s_[11] = 95;
  s_[12] = 50;  // escape guard time in fiftieths of a second: 1 s
  echo_ = true;
  verbose_ = true;
  quiet_ = false;
}

void HayesModem::answer(Result result) {
  if (result == Result::kNone) return;
  if (!info_.empty()) {
    line_.toTerminal(info_);
    info_.clear();
  }
  if (quiet_) return;
  int code = static_cast<int>(result);
  if (verbose_) {
    line_.toTerminal(std::string("\r\n") + verboseText(code) + "\r\n");
  } else {
    line_.toTerminal(std::to_string(code) + "\r");
  }
}

void HayesModem::fromTerminal(std::string_view bytes, long long nowMs) {
  for (char c : bytes) {
    if (!online_) {
      commandByte(c);
      lastDataMs_ = nowMs;
      continue;
    }
    // "+++" counts only after a guard time of silence, each "+" close to the last.
    bool escape = static_cast<uint8_t>(c) == s_[2] && s_[2] < 128 && plusCount_ < 3 &&
                  (plusCount_ == 0 ? nowMs - lastDataMs_ >= guardMs() : nowMs - plusMs_ < guardMs());
    if (escape) {
      ++plusCount_;
      plusMs_ = nowMs;
    } else {
      plusCount_ = 0;
    }
    lastDataMs_ = nowMs;
    line_.toHost(std::string_view(&c, 1));
  }
}

void HayesModem::tick(long long nowMs) {
  if (online_ && plusCount_ == 3 && nowMs - plusMs_ >= guardMs()) {
    plusCount_ = 0;
    online_ = false;  // the call stays up; ATO goes back, ATH ends it
    line_.note("escape: command mode, call kept");
    answer(Result::kOk);
  }
}

void HayesModem::fromHost(std::string_view bytes) {
  if (online_) line_.toTerminal(bytes);  // in command mode the host's bytes are dropped
}

void HayesModem::hostClosed() {
  if (!connected_) return;
  connected_ = online_ = false;
  plusCount_ = 0;
  line_.note("the host closed the connection: NO CARRIER");
  answer(Result::kNoCarrier);
}

void HayesModem::dtrDropped() {
  command_.clear();
  if (!connected_) return;
  line_.hangUp();
  connected_ = online_ = false;
  plusCount_ = 0;
  line_.note("DTR dropped: hung up, NO CARRIER");
  answer(Result::kNoCarrier);
}

void HayesModem::commandByte(char c) {
  if (c == static_cast<char>(s_[3])) {
    if (echo_) line_.toTerminal(std::string_view(&c, 1));
    std::string text = command_;
    command_.clear();
    execute(text);
    return;
  }
  if (c == static_cast<char>(s_[5]) || c == 0x7F) {
    if (!command_.empty()) {
      command_.pop_back();
      if (echo_) line_.toTerminal("\b \b");
    }
    return;
  }
  if (c == '\n' || c == '\0') return;  // the LF of a CR LF, a stray NUL
  if (echo_) line_.toTerminal(std::string_view(&c, 1));
  // "A/" repeats the last command at once.
  if (c == '/' && command_.size() == 1 && std::toupper(static_cast<unsigned char>(command_[0])) == 'A') {
    command_.clear();
    if (echo_) line_.toTerminal("\r");
    execute(lastCommand_);
    return;
  }
  if (command_.size() < kLongestCommand + 1) command_ += c;  // one past the limit marks it as too long
}

void HayesModem::execute(const std::string& text) {
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  if (text.size() - start < 2 || std::toupper(static_cast<unsigned char>(text[start])) != 'A' ||
      std::toupper(static_cast<unsigned char>(text[start + 1])) != 'T') {
    return;  // not a command: a modem ignores it
  }
  if (text.size() > kLongestCommand) {
    answer(Result::kError);
    return;
  }
  lastCommand_ = text;
  line_.note("command " + text.substr(start));
  answer(run(text.substr(start + 2)));
}

HayesModem::Result HayesModem::dial(std::string rest) {
  std::size_t at = 0;
  while (at < rest.size() && rest[at] == ' ') ++at;
  if (at < rest.size() && (std::toupper(static_cast<unsigned char>(rest[at])) == 'T' ||
                           std::toupper(static_cast<unsigned char>(rest[at])) == 'P'))
    ++at;
  std::string number = rest.substr(at);
  while (!number.empty() && (number.back() == ' ' || number.back() == ';')) number.pop_back();
  while (!number.empty() && number.front() == ' ') number.erase(number.begin());
  if (number.empty()) return Result::kError;
  if (connected_) {
    line_.hangUp();
    connected_ = false;
  }
  switch (line_.dial(number)) {
    case DialResult::kConnected:
      connected_ = online_ = true;
      plusCount_ = 0;
      return Result::kConnect;
    case DialResult::kBusy: return Result::kBusy;
    case DialResult::kNoAnswer: return Result::kNoAnswer;
    case DialResult::kNoDialtone: return Result::kNoDialtone;
  }
  return Result::kError;
}

HayesModem::Result HayesModem::run(const std::string& commands) {
  std::size_t at = 0;
  while (at < commands.size()) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(commands[at++])));
    if (c == ' ') continue;
    bool present = false;
    switch (c) {
      case 'D':
        return dial(commands.substr(at));  // the rest of the line is the number
      case 'E': {
        int n = number(commands, at);
        if (n > 1) return Result::kError;
        echo_ = n == 1;
        break;
      }
      case 'V': {
        int n = number(commands, at);
        if (n > 1) return Result::kError;
        verbose_ = n == 1;
        break;
      }
      case 'Q': {
        int n = number(commands, at);
        if (n > 1) return Result::kError;
        quiet_ = n == 1;
        break;
      }
      case 'H':
        if (number(commands, at) != 0) return Result::kError;
        if (connected_) {
          line_.hangUp();
          connected_ = online_ = false;
          return Result::kNoCarrier;  // the call that ended is reported as such
        }
        break;
      case 'Z':
        number(commands, at);
        if (connected_) {
          line_.hangUp();
          connected_ = online_ = false;
        }
        reset();
        break;
      case 'O':
        number(commands, at);
        if (!connected_) return Result::kNoCarrier;
        online_ = true;
        plusCount_ = 0;
        return Result::kConnect;
      case 'A':
        return Result::kNoCarrier;  // no call is ringing
      case 'I':
        number(commands, at);
        info_ += "\r\nKesta modem emulator (telnet line)\r\n";
        break;
      case 'S': {
        int r = number(commands, at, &present);
        if (!present || r > 255) return Result::kError;
        if (at < commands.size() && commands[at] == '?') {
          ++at;
          char value[8];
          std::snprintf(value, sizeof value, "%03d", s_[static_cast<std::size_t>(r)]);
          info_ += std::string("\r\n") + value + "\r\n";
        } else if (at < commands.size() && commands[at] == '=') {
          ++at;
          int v = number(commands, at);
          if (v > 255) return Result::kError;
          s_[static_cast<std::size_t>(r)] = static_cast<uint8_t>(v);
        } else {
          return Result::kError;
        }
        break;
      }
      case '&': case '\\': case '%': {
        if (at >= commands.size() || !std::isalpha(static_cast<unsigned char>(commands[at]))) return Result::kError;
        char what = static_cast<char>(std::toupper(static_cast<unsigned char>(commands[at++])));
        number(commands, at);
        if (c == '&' && what == 'F') reset();
        break;  // &C, &D, &K, &W and the rest: taken, nothing to do on a telnet line
      }
      case 'B': case 'C': case 'L': case 'M': case 'N': case 'P': case 'T': case 'W': case 'X': case 'Y':
        number(commands, at);
        break;  // speaker, dial mode, result set: nothing to do on a telnet line
      default:
        return Result::kError;
    }
  }
  return Result::kOk;
}

}  // namespace kesta::modem
