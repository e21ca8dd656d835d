// The toolbar and the status bar. Both are made again on every WM_SIZE; the
// status bar keeps its five texts in the shell record so they survive.
#include <winsock2.h>
#include <windows.h>

#include <commctrl.h>

#include <ctime>

#include "app/shell/input/command_ids.h"
#include "app/shell/window/win32_shell.h"
#include "app/shell/window/win32_text.h"

namespace kesta::shell {

namespace {
struct ToolbarEntry {
  int image;    // -1: a separator
  int command;
};
constexpr ToolbarEntry kToolbar[24] = {
    {0, IDM_DOMAIN_NAME},  {1, IDM_PHONE_NUMBER},  {2, IDM_CLOSE},         {-1, 0},
    {3, IDM_SEND_FILE},    {4, IDM_RECEIVE_FILE},  {-1, 0},                {5, IDM_SEND_SELECTION},
    {6, IDM_COPY},         {7, IDM_PASTE},         {-1, 0},                {8, IDM_CHAT_WINDOW},
    {-1, 0},               {9, IDM_PASSED_SCREEN}, {10, IDM_SCREEN_CAPTURE}, {-1, 0},
    {11, IDM_SETTING_MODEM}, {-1, 0},              {12, IDM_DEFINE_MACRO}, {-1, 0},
    {13, IDM_SEARCH_STRING}, {14, IDM_AUTO_TRANSFER}, {-1, 0},            {15, IDM_ABOUT},
};
}  // namespace

void createBars(Shell& shell) {
  if (shell.toolbar != nullptr) DestroyWindow(shell.toolbar);
  if (shell.statusBar != nullptr) DestroyWindow(shell.statusBar);

  TBBUTTON buttons[24] = {};
  for (int i = 0; i < 24; ++i) {
    const ToolbarEntry& e = kToolbar[i];
    buttons[i].iBitmap = e.image < 0 ? 0 : e.image;
    buttons[i].idCommand = e.command;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = e.image < 0 ? BTNS_SEP : BTNS_BUTTON;
  }
  shell.toolbar = CreateToolbarEx(shell.window, WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS, IDC_TOOLBAR, 24,
                                  shell.instance, IDR_TOOLBAR_BITMAP, buttons, 24, 0, 0, 16, 16, sizeof(TBBUTTON));

  shell.statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, shell.window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUSBAR)), shell.instance,
                                    nullptr);
  RECT client{};
  GetClientRect(shell.window, &client);
  int edges[kPaneCount];
  for (int i = 0; i < kPaneCount; ++i) edges[i] = paneRightEdge(client.right, i);
  SendMessageW(shell.statusBar, SB_SETPARTS, kPaneCount, reinterpret_cast<LPARAM>(edges));
  std::time_t now = std::time(nullptr);
  shell.paneTexts[kPaneClock] = timeOfDayText(*std::localtime(&now));
  for (int i = 0; i < kPaneCount; ++i) setPaneText(shell, i, shell.paneTexts[i]);
}

void setPaneText(Shell& shell, int pane, std::string_view utf8) {
  if (pane < 0 || pane >= kPaneCount) return;
  shell.paneTexts[pane] = std::string(utf8);
  if (shell.statusBar != nullptr) {
    const std::wstring text = widen(utf8);
    SendMessageW(shell.statusBar, SB_SETTEXTW, pane, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

bool answerTooltip(Shell& shell, LPARAM notification) {
  auto* header = reinterpret_cast<NMHDR*>(notification);
  if (header->code == TTN_NEEDTEXTW) {
    static std::wstring text;  // must outlive the call: the tooltip reads it afterwards
    auto* request = reinterpret_cast<NMTTDISPINFOW*>(notification);
    text = widen(tooltipText(static_cast<int>(header->idFrom), shell.language));
    request->lpszText = text.empty() ? nullptr : text.data();
    return true;
  }
  if (header->code == TTN_NEEDTEXTA) {
    static std::string text;
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(notification);
    // The A form carries the interface's code page: Korean texts as CP949.
    const std::wstring wide = widen(tooltipText(static_cast<int>(header->idFrom), shell.language));
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    text.assign(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text.data(), n, nullptr, nullptr);
    request->lpszText = wide.empty() ? nullptr : text.data();
    return true;
  }
  return false;
}

}  // namespace kesta::shell
