// "ModemDlg", "StateDlg", "NotOpenDlg" and the three Hangul choice dialogs
// over their models, and the one entry the main window's commands call.
#include "app/shell/dialogs/win32_settings_dialogs.h"

#include <winsock2.h>
#include <windows.h>

#include <memory>

#include "app/settings/picture.h"
#include "app/shell/connection/serial_device.h"
#include "app/shell/dialogs/dialog_choices.h"
#include "app/shell/dialogs/dialog_ids.h"
#include "app/shell/dialogs/hangul_dialogs.h"
#include "app/shell/dialogs/modem_dialog.h"
#include "app/shell/dialogs/text_cut.h"
#include "app/shell/dialogs/win32_dialog_support.h"
#include "app/shell/window/win32_picture.h"
#include "app/shell/window/win32_shell.h"
#include "app/shell/window/win32_text.h"

namespace kesta::shell {

namespace {

using namespace dialog;

// A dialog whose procedure is a member of `State`: init, command, and
// optionally paint.
template <typename State>
INT_PTR CALLBACK modelProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (const INT_PTR brush = dialogColours(message, wParam)) return brush;
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      centreDialog(dialog);
      return reinterpret_cast<State*>(lParam)->init(dialog) ? TRUE : FALSE;
    case WM_COMMAND:
      if (state == nullptr) break;
      return state->command(dialog, LOWORD(wParam)) ? TRUE : FALSE;
    case WM_PAINT:
      if (state == nullptr) break;
      return state->paint(dialog) ? TRUE : FALSE;
  }
  return FALSE;
}

template <typename State>
void runModel(Shell& shell, const wchar_t* name, State& state) {
  DialogBoxParamW(shell.instance, name, shell.window, modelProcedure<State>, reinterpret_cast<LPARAM>(&state));
}

struct NoPaint {
  bool paint(HWND) { return false; }
};

struct ModemState : NoPaint {
  explicit ModemState(const settings::SettingsFiles& files) : model(files) {}
  ModemDialog model;

  void showRadioButtons(HWND dialog) {
    const ModemRadioButtons buttons = radioButtonsFor(model.record());
    CheckRadioButton(dialog, kModemParityNone, kModemParityEven, buttons.parity);
    CheckRadioButton(dialog, kModemData7, kModemData8, buttons.data);
    CheckRadioButton(dialog, kModemStop1, kModemStop2, buttons.stop);
  }
  bool init(HWND dialog) {
    model.open();
    fillList(dialog, kModemPort, portChoices(), model.portItem(), true);
    fillList(dialog, kModemRate, rateChoices(), model.rateItem(), true);
    showRadioButtons(dialog);
    SendDlgItemMessageW(dialog, kModemInitialCommand, EM_LIMITTEXT, kShortTextLimit, 0);
    setAnsiText(dialog, kModemInitialCommand, model.record().initialCommand);
    return true;
  }
  bool command(HWND dialog, int id) {
    if (id >= kModemParityNone && id <= kModemStop2) {
      model.clickRadioButton(id);
      showRadioButtons(dialog);
      return true;
    }
    if (id == IDOK) {
      model.select(selectedItem(dialog, kModemPort, true), selectedItem(dialog, kModemRate, true),
                   ansiText(dialog, kModemInitialCommand));
      EndDialog(dialog, IDOK);
      return true;
    }
    if (id == IDCANCEL) {
      model.cancel();
      EndDialog(dialog, IDCANCEL);
      return true;
    }
    return false;
  }
};

struct StateState : NoPaint {
  const settings::SettingsFiles& files;
  bool init(HWND dialog) {
    const ModemStateTexts texts = readModemStateTexts(files);
    setUtf8Text(dialog, kStatePort, texts.port);
    setUtf8Text(dialog, kStateRate, texts.rate);
    setUtf8Text(dialog, kStateParity, texts.parity);
    setUtf8Text(dialog, kStateData, texts.dataBits);
    setUtf8Text(dialog, kStateStop, texts.stopBits);
    setAnsiText(dialog, kModemInitialCommand, texts.initialCommand);
    return true;
  }
  bool command(HWND dialog, int id) {
    if (id != IDOK && id != IDCANCEL) return false;
    EndDialog(dialog, id);
    return true;
  }
};

struct HangulState : NoPaint {
  HangulState(const settings::SettingsFiles& files, HangulChoice choice, Language l)
      : model(files, choice), language(l), list(choice == HangulChoice::Keyboard ? kKeyboardList : kHangulList) {}
  HangulChoiceDialog model;
  Language language;
  int list;

  bool init(HWND dialog) {
    SendDlgItemMessageW(dialog, list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT)), FALSE);
    const int selected = model.open();
    fillList(dialog, list, model.items(language), selected, false);
    return true;
  }
  bool command(HWND dialog, int id) {
    if (id == IDOK) {
      model.ok(selectedItem(dialog, list, false));
    } else if (id == IDCANCEL) {
      model.cancel();
    } else {
      return false;
    }
    EndDialog(dialog, id);
    return true;
  }
};

struct FailedPortState {
  std::unique_ptr<ScreenPicture> picture;
  const settings::SettingsFiles& files;
  std::string text;  // UTF-8
  bool init(HWND dialog) {
    picture = std::make_unique<ScreenPicture>(settings::loadPicture(files, kFailedPortPictureStem));
    SetDlgItemTextW(dialog, kFailedPortText, widen(text).c_str());
    return true;
  }
  bool command(HWND dialog, int id) {
    if (id != IDOK && id != IDCANCEL) return false;
    picture.reset();
    EndDialog(dialog, id);
    return true;
  }
  bool paint(HWND dialog) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(dialog, &paint);
    if (picture)
      picture->drawStretched(dc, kFailedPortPictureLeft, kFailedPortPictureTop, kFailedPortPictureWidth,
                             kFailedPortPictureHeight);
    EndPaint(dialog, &paint);
    return true;
  }
};

bool runHangulDialog(Shell& shell, const wchar_t* name, HangulChoice choice) {
  HangulState state(shell.files, choice, shell.language);
  runModel(shell, name, state);
  return state.model.changed();
}

}  // namespace

void showFailedPortDialog(Shell& shell) {
  const std::string device = shell.serial ? serialDeviceName(shell.serial->line().port) : std::string("COM");
  FailedPortState state{nullptr, shell.files,
                        device + (shell.language == Language::Korean ? " 포트를 열 수 없습니다."
                                                                     : " could not be opened.")};
  runModel(shell, L"NotOpenDlg", state);
}

bool runSettingsDialog(Shell& shell, std::string_view name) {
  if (name == "DialDlg") {
    runDialDialog(shell);
  } else if (name == "MacroDlg") {
    runMacroDialog(shell);
  } else if (name == "AutoDlg") {
    runAutoDialog(shell);
  } else if (name == "DirectoryDlg") {
    runDirectoryDialog(shell);
  } else if (name == "ModemDlg") {
    ModemState state(shell.files);
    runModel(shell, L"ModemDlg", state);
    return state.model.changed();
  } else if (name == "StateDlg") {
    StateState state{{}, shell.files};
    runModel(shell, L"StateDlg", state);
  } else if (name == "HanFontDlg") {
    return runHangulDialog(shell, L"HanFontDlg", HangulChoice::Font);
  } else if (name == "HanCodeDlg") {
    return runHangulDialog(shell, L"HanCodeDlg", HangulChoice::Code);
  } else if (name == "HanKeyDlg") {
    return runHangulDialog(shell, L"HanKeyDlg", HangulChoice::Keyboard);
  }
  return false;
}

}  // namespace kesta::shell
