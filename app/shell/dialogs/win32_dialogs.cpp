#include "app/shell/dialogs/win32_dialogs.h"

#include <commdlg.h>

#include <cstring>

#include "app/shell/dialogs/text_cut.h"
#include "app/shell/dialogs/win32_dialog_support.h"
#include "app/shell/window/win32_text.h"

namespace kesta::shell {

namespace {
struct OpenSocketState {
  std::string text;
  bool confirmed = false;
};

void centreOnOwner(HWND dialog) {
  RECT r{};
  GetWindowRect(dialog, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(dialog, nullptr, GetSystemMetrics(SM_CXSCREEN) / 2 - w / 2, GetSystemMetrics(SM_CYSCREEN) / 2 - h / 2,
               0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK openSocketProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<OpenSocketState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      centreOnOwner(dialog);
      SendDlgItemMessageA(dialog, kHostNameEdit, EM_LIMITTEXT, kHostTextLimit, 0);
      SetFocus(GetDlgItem(dialog, kHostNameEdit));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && state != nullptr) {
        char text[kHostTextLimit + 1] = {};
        GetDlgItemTextA(dialog, kHostNameEdit, text, sizeof text);
        state->text = text;
        state->confirmed = true;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        if (state != nullptr) state->confirmed = false;
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}
}  // namespace

bool runOpenSocketDialog(HINSTANCE instance, HWND owner, std::string& host) {
  OpenSocketState state;
  DialogBoxParamA(instance, "OpenSocket", owner, openSocketProcedure, reinterpret_cast<LPARAM>(&state));
  if (!state.confirmed || state.text.empty()) return false;
  host = state.text;
  return true;
}

bool chooseFile(HWND owner, const char* filter, std::string& path, const char* title, const char* directory,
                const char* extension) {
  char buffer[256] = {};
  OPENFILENAMEA choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.lpstrFilter = filter;
  choice.lpstrFile = buffer;
  choice.nMaxFile = sizeof buffer;
  choice.lpstrTitle = title;
  choice.lpstrInitialDir = directory;
  choice.lpstrDefExt = extension;
  choice.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&choice)) return false;
  path = buffer;
  return true;
}

bool chooseFileUtf8(HWND owner, const char* filter, std::string& path, const char* title, const char* directory,
                    const char* extension) {
  // The filter is pairs of texts, each ended by a NUL, and an empty text.
  std::wstring wideFilter;
  for (const char* p = filter; *p != '\0'; p += std::strlen(p) + 1) wideFilter += widenAnsi(p) + L'\0';
  wideFilter += L'\0';
  const std::wstring wideTitle = widenAnsi(title ? title : ""), wideDirectory = widenAnsi(directory ? directory : "");
  const std::wstring wideExtension = widenAnsi(extension ? extension : "");
  wchar_t buffer[MAX_PATH] = {};
  OPENFILENAMEW choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.lpstrFilter = wideFilter.c_str();
  choice.lpstrFile = buffer;
  choice.nMaxFile = MAX_PATH;
  choice.lpstrTitle = wideTitle.c_str();
  choice.lpstrInitialDir = wideDirectory.empty() ? nullptr : wideDirectory.c_str();
  choice.lpstrDefExt = wideExtension.empty() ? nullptr : wideExtension.c_str();
  choice.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&choice)) return false;
  path = narrowUtf8(buffer);
  return true;
}

bool chooseSaveFile(HWND owner, const char* filter, const char* title, const std::string& directory,
                    const char* extension, std::string& path) {
  char buffer[256] = {};
  OPENFILENAMEA choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.lpstrFilter = filter;
  choice.lpstrFile = buffer;
  choice.nMaxFile = sizeof buffer;
  choice.lpstrTitle = title;
  choice.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  choice.lpstrDefExt = extension;
  // A file chosen to be written over is replaced only when the user agrees.
  choice.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  if (!GetSaveFileNameA(&choice)) return false;
  path = buffer;
  return true;
}

namespace {
struct LineDialogState {
  const LineDialog* dialog;
  int keyboard;
  std::string text;
  bool confirmed = false;
};

INT_PTR CALLBACK lineDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<LineDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      state = reinterpret_cast<LineDialogState*>(lParam);
      centreOnOwner(dialog);
      prepareHangulEdit(dialog, state->dialog->edit, state->dialog->limit, state->keyboard);
      setInternalText(dialog, state->dialog->edit, state->text);
      SetFocus(GetDlgItem(dialog, state->dialog->edit));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        if (LOWORD(wParam) == IDOK && state != nullptr) {
          state->text = internalText(dialog, state->dialog->edit, state->dialog->limit);
          state->confirmed = true;
        }
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}
}  // namespace

bool runLineDialog(HINSTANCE instance, HWND owner, const LineDialog& dialog, int keyboard, std::string& text) {
  LineDialogState state{&dialog, keyboard, cutAtCharacter(text, dialog.limit)};
  DialogBoxParamA(instance, dialog.name, owner, lineDialogProcedure, reinterpret_cast<LPARAM>(&state));
  if (!state.confirmed) return false;
  text = state.text;
  return true;
}

}  // namespace kesta::shell
