// The model behind the Dialing dialog ("DialingDlg"): places the call of a
// phone-book entry and counts down, redialling when no connection has come
// 53 ticks after each dialling. A modem entry is dialled with "ATDT "
// number CR written to the serial port itself; an entry holding a full
// stop is a host, reached by telnet with the host text rule. The receive
// side ends the dialling when the modem reports "CONNECT" or the telnet
// connection delivers its first data.
#pragma once

#include <string>
#include <string_view>

#include "app/session/telnet.h"
#include "app/settings/phone_book_entry.h"

namespace kesta::shell {

// What the dialler drives: the serial port, the pause between modem
// commands, the telnet connection, the dialog's one-second timer, its
// seconds field, the message box and the dialog itself.
class DiallerPorts {
 public:
  virtual ~DiallerPorts() = default;
  // The bytes as given, to the serial port (not through the sending rule).
  virtual void writeSerial(std::string_view bytes) = 0;
  // Waits at least `milliseconds` before the next command.
  virtual void pause(int milliseconds) = 0;
  // Connects to the host; false when the connection is refused or fails.
  virtual bool connectTelnet(const session::HostAndPort& host) = 0;
  // Closes the telnet connection if one is open.
  virtual void closeTelnet() = 0;
  virtual void startTimer() = 0;
  virtual void stopTimer() = 0;
  virtual void showSeconds(int seconds) = 0;
  virtual void messageBox(std::string_view text, std::string_view caption) = 0;
  // Closes the Dialing dialog (and, once connected, the Dial dialog too).
  virtual void closeDialog() = 0;
};

inline constexpr int kDialCountdown = 52;          // shown when a round starts
inline constexpr int kHostAttemptSeconds = 50;     // a host is tried when the counter reaches this
inline constexpr int kRedialPauseMilliseconds = 1000;
inline constexpr char kEscape = '\x1b';
inline constexpr std::string_view kSocketErrorText = "Socket Error !!";
inline constexpr std::string_view kSocketErrorTitle = "Error";

// "ATDT " + number + CR.
std::string dialCommand(std::string_view number);

class Dialler {
 public:
  explicit Dialler(DiallerPorts& ports) : ports_(ports) {}

  // Opening the dialog: counter 52 shown, dialling flag set; a modem entry
  // is dialled at once, a host is tried on the second tick.
  void start(const settings::PhoneBookEntry& entry);
  // One tick of the one-second timer: the counter is shown, and below 0
  // the dialog retries by itself.
  void tick();
  // "Retry": a new round. A modem gets ESC, a pause of at least a second
  // and the dial command again; a host is closed and connected again.
  void retry();
  // "Cancel": timer stopped, host closed or ESC to the modem, flag cleared,
  // dialog closed.
  void cancel();
  // The connection came up: if dialling, stop the timer, clear the flag and
  // close the dialogs. Returns whether it was dialling.
  bool connected();

  bool dialling() const { return dialling_; }
  int counter() const { return counter_; }

 private:
  void dialModem();
  // Closes any open socket, then connects; on failure reports it and ends.
  void attemptHost();
  void newRound();

  DiallerPorts& ports_;
  std::string number_;
  bool host_ = false;
  bool dialling_ = false;
  // Whether this round's single telnet attempt has been made.
  bool attempted_ = false;
  int counter_ = 0;
};

}  // namespace kesta::shell
