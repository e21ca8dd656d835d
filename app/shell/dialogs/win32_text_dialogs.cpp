// "MacroDlg", "AutoDlg" and "DirectoryDlg": dialogs of line edits over the
// MacroDialog, AutoDialog and DirectoryDialog models. Macro and
// auto-response texts are the internal code, held as they are by Hangul line
// edits that type with the main window's keyboard layout.
#include <winsock2.h>
#include <windows.h>

#include "app/shell/dialogs/dialog_ids.h"
#include "app/shell/dialogs/text_cut.h"
#include "app/shell/dialogs/text_dialogs.h"
#include "app/shell/dialogs/win32_dialog_support.h"
#include "app/shell/dialogs/win32_settings_dialogs.h"
#include "app/shell/window/win32_shell.h"

namespace kesta::shell {

namespace {

using namespace dialog;

// The sixteen AutoTransfer edits in file order: reference 1, transfer 1, ...
constexpr int autoEdit(std::size_t k) { return autoReferenceEdit(1) + static_cast<int>(k); }

void limitEdit(HWND dialog, int id, std::size_t bytes) {
  SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, bytes, 0);
}

int keyboardOf(const Shell& shell) { return shell.hangul.keyboard; }

// Runs `name` with `init` on opening and `ok` on OK; false on Cancel.
template <typename Init, typename Ok>
struct EditDialog {
  Init init;
  Ok ok;
  bool confirmed = false;
};

template <typename State>
INT_PTR CALLBACK editDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (const INT_PTR brush = dialogColours(message, wParam)) return brush;
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      centreDialog(dialog);
      reinterpret_cast<State*>(lParam)->init(dialog);
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (state == nullptr) break;
      if (LOWORD(wParam) == IDOK) {
        state->ok(dialog);
        state->confirmed = true;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

template <typename Init, typename Ok>
bool runEditDialog(Shell& shell, const wchar_t* name, Init init, Ok ok) {
  using State = EditDialog<Init, Ok>;
  State state{std::move(init), std::move(ok)};
  DialogBoxParamW(shell.instance, name, shell.window, editDialogProcedure<State>, reinterpret_cast<LPARAM>(&state));
  return state.confirmed;
}

}  // namespace

void runMacroDialog(Shell& shell) {
  MacroDialog model(shell.files);
  runEditDialog(
      shell, L"MacroDlg",
      [&model, &shell](HWND dialog) {
        const MacroDialog::Texts texts = model.open();  // writes empty macros when there is no file
        for (int i = 1; i <= static_cast<int>(texts.size()); ++i) {
          prepareHangulEdit(dialog, macroEdit(i), kTextLimit, keyboardOf(shell));
          setInternalText(dialog, macroEdit(i), texts[static_cast<std::size_t>(i - 1)]);
        }
        SetFocus(GetDlgItem(dialog, macroEdit(1)));
      },
      [&model](HWND dialog) {
        MacroDialog::Texts typed;
        for (int i = 1; i <= static_cast<int>(typed.size()); ++i)
          typed[static_cast<std::size_t>(i - 1)] = internalText(dialog, macroEdit(i), kTextLimit);
        model.ok(typed);
      });
}

void runAutoDialog(Shell& shell) {
  AutoDialog model(shell.files);
  runEditDialog(
      shell, L"AutoDlg",
      [&model, &shell](HWND dialog) {
        const settings::AutoResponseTable table = model.open();
        const auto texts = AutoDialog::editTexts(table);
        for (std::size_t k = 0; k < texts.size(); ++k) {
          prepareHangulEdit(dialog, autoEdit(k), kTextLimit, keyboardOf(shell));
          setInternalText(dialog, autoEdit(k), texts[k]);
        }
        for (int r = 1; r <= static_cast<int>(table.rows.size()); ++r)
          CheckDlgButton(dialog, autoEnableBox(r), table.rows[static_cast<std::size_t>(r - 1)].enabled ? BST_CHECKED
                                                                                                       : BST_UNCHECKED);
        SetFocus(GetDlgItem(dialog, autoEdit(0)));
      },
      [&model](HWND dialog) {
        settings::AutoResponseTable typed;
        for (int r = 1; r <= static_cast<int>(typed.rows.size()); ++r) {
          settings::AutoResponseRow& row = typed.rows[static_cast<std::size_t>(r - 1)];
          row.enabled = IsDlgButtonChecked(dialog, autoEnableBox(r)) == BST_CHECKED;
          row.reference = internalText(dialog, autoReferenceEdit(r), kTextLimit);
          row.transfer = internalText(dialog, autoTransferEdit(r), kTextLimit);
        }
        model.ok(typed);
      });
}

void runDirectoryDialog(Shell& shell) {
  DirectoryDialog model(shell.files);
  runEditDialog(
      shell, L"DirectoryDlg",
      [&model](HWND dialog) {
        const settings::DirectorySettings paths = model.open();
        const int ids[] = {kDownDirectory, kUpDirectory, kCaptureDirectory};
        for (int id : ids) limitEdit(dialog, id, kTextLimit);
        setAnsiText(dialog, kDownDirectory, paths.download);
        setAnsiText(dialog, kUpDirectory, paths.upload);
        setAnsiText(dialog, kCaptureDirectory, paths.capture);
        SetFocus(GetDlgItem(dialog, kDownDirectory));
      },
      [&model](HWND dialog) {
        model.ok(ansiText(dialog, kDownDirectory), ansiText(dialog, kUpDirectory), ansiText(dialog, kCaptureDirectory));
      });
}

}  // namespace kesta::shell
