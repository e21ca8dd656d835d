// "DialDlg" (the phone book) and "DialingDlg" (the countdown) over the
// PhoneBookList and the Dialler. The name and number fields are the system's
// edits: the phone book holds the system's ANSI code, as they do.
#include <winsock2.h>
#include <windows.h>

#include <map>

#include "app/shell/connection/dialler.h"
#include "app/shell/dialogs/dialog_choices.h"
#include "app/shell/dialogs/dialog_ids.h"
#include "app/shell/dialogs/phone_book_list.h"
#include "app/shell/dialogs/win32_dialog_support.h"
#include "app/shell/dialogs/win32_settings_dialogs.h"
#include "app/shell/window/win32_shell.h"
#include "app/shell/window/win32_text.h"

namespace kesta::shell {

namespace {

using namespace dialog;

// What outlives one opening of the Dial dialog, per main window.
std::map<const Shell*, DialSession>& dialSessions() {
  static std::map<const Shell*, DialSession> sessions;
  return sessions;
}

class AskToSave : public SaveQuestion {
 public:
  AskToSave(Shell& shell) : shell_(shell) {}
  HWND owner = nullptr;
  bool askToSave() override {
    const SaveQuestionTexts texts = saveQuestionTexts(shell_.language);
    return messageBoxUtf8(owner, texts.text, texts.title, MB_OKCANCEL) == IDOK;
  }

 private:
  Shell& shell_;
};

struct DialState {
  explicit DialState(Shell& s) : shell(s), question(s), list(s.files, dialSessions()[&s], question) {}
  Shell& shell;
  AskToSave question;
  PhoneBookList list;
  DialFields fields;
};

// The Dialing dialog's hands on the program: the serial port, the telnet
// connection, its timer and fields.
class DialingPorts : public DiallerPorts {
 public:
  explicit DialingPorts(Shell& shell) : shell_(shell) {}
  HWND dialog = nullptr;
  HWND dialDialog = nullptr;
  bool connectedEnd = false;  // the connection ends both dialogs

  void writeSerial(std::string_view bytes) override {
    if (shell_.serial) shell_.serial->write(bytes.data(), bytes.size());
  }
  void pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
  bool connectTelnet(const session::HostAndPort& host) override {
    return openTelnet(shell_, host.host + ":" + std::to_string(host.port));
  }
  void closeTelnet() override { kesta::shell::closeTelnet(shell_); }
  void startTimer() override { SetTimer(dialog, kDialingTimer, 1000, nullptr); }
  void stopTimer() override { KillTimer(dialog, kDialingTimer); }
  void showSeconds(int seconds) override { SetDlgItemInt(dialog, kDialingSeconds, static_cast<UINT>(seconds), TRUE); }
  void messageBox(std::string_view text, std::string_view caption) override {
    messageBoxUtf8(dialog, text, caption, MB_OK);
  }
  void closeDialog() override {
    EndDialog(dialog, connectedEnd ? IDOK : IDCANCEL);
    if (connectedEnd && dialDialog != nullptr) EndDialog(dialDialog, IDOK);
  }

 private:
  Shell& shell_;
};

struct DialingState {
  DialingState(Shell& s, settings::PhoneBookEntry e, HWND dial) : shell(s), entry(std::move(e)), ports(s), dialler(ports) {
    ports.dialDialog = dial;
  }
  Shell& shell;
  settings::PhoneBookEntry entry;
  DialingPorts ports;
  Dialler dialler;
};

// The call being placed, for the receive side's endDiallingDialogs.
DialingState* activeDialling = nullptr;

INT_PTR CALLBACK dialingProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialingState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (const INT_PTR brush = dialogColours(message, wParam)) return brush;
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      state = reinterpret_cast<DialingState*>(lParam);
      state->ports.dialog = dialog;
      centreDialog(dialog);
      setAnsiText(dialog, kDialingName, state->entry.name);
      setAnsiText(dialog, kDialingNumber, state->entry.number);
      activeDialling = state;
      state->dialler.start(state->entry);
      return TRUE;
    case WM_TIMER:
      if (state != nullptr && wParam == kDialingTimer) state->dialler.tick();
      return TRUE;
    case WM_COMMAND:
      if (state == nullptr) break;
      if (LOWORD(wParam) == IDOK) {
        state->dialler.retry();
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        state->dialler.cancel();
        return TRUE;
      }
      break;
    case WM_DESTROY:
      KillTimer(dialog, kDialingTimer);
      if (activeDialling == state) activeDialling = nullptr;
      break;
  }
  return FALSE;
}

void showFields(HWND dialog, const DialFields& f) {
  setAnsiText(dialog, kDialName, f.name);
  setAnsiText(dialog, kDialNumber, f.number);
  SendDlgItemMessageW(dialog, kDialRate, CB_SETCURSEL, static_cast<WPARAM>(f.rate), 0);
  SendDlgItemMessageW(dialog, kDialData, CB_SETCURSEL, static_cast<WPARAM>(f.data), 0);
  SendDlgItemMessageW(dialog, kDialStop, CB_SETCURSEL, static_cast<WPARAM>(f.stop), 0);
  SendDlgItemMessageW(dialog, kDialParity, CB_SETCURSEL, static_cast<WPARAM>(f.parity), 0);
}

DialFields readFields(HWND dialog) {
  DialFields f;
  f.name = ansiText(dialog, kDialName);
  f.number = ansiText(dialog, kDialNumber);
  f.rate = selectedItem(dialog, kDialRate, true);
  f.data = selectedItem(dialog, kDialData, true);
  f.stop = selectedItem(dialog, kDialStop, true);
  f.parity = selectedItem(dialog, kDialParity, true);
  return f;
}

void showList(HWND dialog, const PhoneBookList& list) {
  SendDlgItemMessageW(dialog, kDialList, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : list.lines())
    SendDlgItemMessageW(dialog, kDialList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fromAnsi(line).c_str()));
  SendDlgItemMessageW(dialog, kDialList, LB_SETCURSEL, static_cast<WPARAM>(list.selection().value_or(-1)), 0);
}

std::vector<std::string> choices(const std::string_view* items, std::size_t count) {
  return std::vector<std::string>(items, items + count);
}

void startDialling(HWND dialog, DialState& state) {
  std::optional<settings::PhoneBookEntry> entry = state.list.dial();
  if (!entry) return;
  DialingState dialling(state.shell, *entry, dialog);
  DialogBoxParamW(state.shell.instance, L"DialingDlg", dialog, dialingProcedure, reinterpret_cast<LPARAM>(&dialling));
}

void initialiseDial(HWND dialog, DialState& state) {
  state.question.owner = dialog;
  centreDialog(dialog);
  SendDlgItemMessageW(dialog, kDialList, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT)), FALSE);
  INT stops[std::size(kDialTabStops)];
  for (std::size_t i = 0; i < std::size(kDialTabStops); ++i) stops[i] = kDialTabStops[i];
  SendDlgItemMessageW(dialog, kDialList, LB_SETTABSTOPS, std::size(stops), reinterpret_cast<LPARAM>(stops));
  fillList(dialog, kDialRate, rateChoices(), -1, true);
  fillList(dialog, kDialData, choices(kDialDataChoices, std::size(kDialDataChoices)), -1, true);
  fillList(dialog, kDialStop, choices(kDialStopChoices, std::size(kDialStopChoices)), -1, true);
  fillList(dialog, kDialParity, choices(kDialParityChoices, std::size(kDialParityChoices)), -1, true);
  state.list.open(state.fields);
  showList(dialog, state.list);
  showFields(dialog, state.fields);
}

INT_PTR CALLBACK dialProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (const INT_PTR brush = dialogColours(message, wParam)) return brush;
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    initialiseDial(dialog, *reinterpret_cast<DialState*>(lParam));
    return TRUE;
  }
  if (message != WM_COMMAND || state == nullptr) return FALSE;
  const int id = LOWORD(wParam);
  switch (id) {
    case kDialList:
      if (HIWORD(wParam) == LBN_SELCHANGE) {
        const int item = selectedItem(dialog, kDialList, false);
        state->fields = readFields(dialog);
        state->list.select(item < 0 ? std::nullopt : std::optional<int>(item), state->fields);
        showFields(dialog, state->fields);
      } else if (HIWORD(wParam) == LBN_DBLCLK) {
        startDialling(dialog, *state);
      }
      return TRUE;
    case IDOK: startDialling(dialog, *state); return TRUE;
    case IDCANCEL:
      state->list.close();
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case kDialAppend:
    case kDialChange:
    case kDialDelete: {
      state->fields = readFields(dialog);
      const bool changed = id == kDialAppend   ? state->list.append(state->fields)
                           : id == kDialChange ? state->list.change(state->fields)
                                               : state->list.remove(state->fields);
      if (changed) {
        showList(dialog, state->list);
        showFields(dialog, state->fields);
      }
      return TRUE;
    }
    case kDialSave: state->list.save(); return TRUE;
  }
  return FALSE;
}

}  // namespace

void runDialDialog(Shell& shell) {
  DialState state(shell);
  DialogBoxParamW(shell.instance, L"DialDlg", shell.window, dialProcedure, reinterpret_cast<LPARAM>(&state));
}

void endDiallingDialogs(Shell& shell) {
  DialingState* active = activeDialling;
  if (active == nullptr || &active->shell != &shell) return;
  active->ports.connectedEnd = true;
  if (!active->dialler.connected()) active->ports.connectedEnd = false;
}

}  // namespace kesta::shell
