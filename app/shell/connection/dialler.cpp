#include "app/shell/connection/dialler.h"

namespace kesta::shell {

std::string dialCommand(std::string_view number) {
  std::string command = "ATDT ";
  command += number;
  command += '\r';
  return command;
}

void Dialler::start(const settings::PhoneBookEntry& entry) {
  number_ = entry.number;
  host_ = entry.isHost();
  newRound();
  if (!host_) dialModem();
  ports_.startTimer();
}

void Dialler::newRound() {
  counter_ = kDialCountdown;
  dialling_ = true;
  attempted_ = false;
  ports_.showSeconds(counter_);
}

void Dialler::tick() {
  if (!dialling_) return;
  --counter_;
  if (counter_ < 0) {
    retry();
    return;
  }
  ports_.showSeconds(counter_);
  if (host_ && !attempted_ && counter_ <= kHostAttemptSeconds) attemptHost();
}

void Dialler::retry() {
  ports_.stopTimer();
  newRound();
  if (host_) {
    ports_.startTimer();
    attemptHost();
    return;
  }
  ports_.writeSerial(std::string(1, kEscape));
  ports_.pause(kRedialPauseMilliseconds);
  dialModem();
  ports_.startTimer();
}

void Dialler::cancel() {
  ports_.stopTimer();
  if (host_)
    ports_.closeTelnet();
  else
    ports_.writeSerial(std::string(1, kEscape));
  dialling_ = false;
  ports_.closeDialog();
}

bool Dialler::connected() {
  if (!dialling_) return false;
  ports_.stopTimer();
  dialling_ = false;
  ports_.closeDialog();
  return true;
}

void Dialler::dialModem() { ports_.writeSerial(dialCommand(number_)); }

void Dialler::attemptHost() {
  attempted_ = true;
  ports_.closeTelnet();
  if (ports_.connectTelnet(session::parseHostText(number_))) return;
  // The countdown ends before the box opens: left open, the box would
  // otherwise see the round run out and a second attempt open another.
  ports_.stopTimer();
  dialling_ = false;
  ports_.messageBox(kSocketErrorText, kSocketErrorTitle);
  ports_.closeDialog();
}

}  // namespace kesta::shell
