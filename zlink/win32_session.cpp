#include "zlink/win32_session.h"

#include <memory>
#include <string>

#include "zlink/protocol.h"
#include "zlink/session.h"
#include "zlink/win32_channels.h"
#include "zlink/win32_meter.h"
#include "zlink/win32_reporter.h"
#include "zlink/zlink32_resource.h"

namespace kesta::zlink {

namespace {

constexpr UINT_PTR kElapsedTimer = 2313;
constexpr WORD kCommandStartSend = 0x9990;
constexpr WORD kCommandStartReceive = 0x9991;
constexpr WORD kCommandSessionEnded = 1;
constexpr WORD kCommandCancel = 2;
constexpr DWORD kSessionStopWaitMs = 1000;  // the session notices a Cancel within one wait
// The abort listens for the peer's reply a tenth of this many 100 ms waits.
constexpr int kAbortReplyWaits = 30;

constexpr char kSendTitle[] = "Send ZLINK32s (Release 96/9/30)";
constexpr char kReceiveTitle[] = "Receive ZLINK32s (Release 96/9/30)";

// What one session runs with. It lives until the next session or until the
// library is unloaded, so a session thread still running after a Cancel
// never sees it freed.
struct Run {
  std::unique_ptr<ByteChannel> channel;
  std::unique_ptr<ByteChannel> abortChannel;  // the dialog thread's writer
  OVERLAPPED abortWrite{};
  std::unique_ptr<DialogReporter> reporter;
  std::atomic<int> state{0};
  SessionConfig config;
};

Run* gRun = nullptr;

void setStatus(HWND dialog, const char* text) { SetDlgItemTextA(dialog, IDC_ZLINK_STATUS, text); }

DWORD WINAPI sessionThread(LPVOID) {
  Library& lib = library();
  TransferSession& s = lib.session;
  const SessionConfig& config = gRun->config;
  int result = s.direction == kDirectionSend ? sendFile(config, s.filePath) : receiveFiles(config, s.directory);
  s.result = result;
  s.state = gRun->state.load();
  lib.running.store(false);
  PostMessageA(s.dialog, WM_COMMAND, MAKEWPARAM(kCommandSessionEnded, 0), 0);
  return 0;
}

void freeRun() {
  if (!gRun) return;
  if (gRun->abortWrite.hEvent) CloseHandle(gRun->abortWrite.hEvent);
  delete gRun;
  gRun = nullptr;
}

// Closes the handle of a session thread that has finished.
void reapThread(DWORD waitMs) {
  TransferSession& s = library().session;
  if (!s.thread) return;
  if (WaitForSingleObject(s.thread, waitMs) != WAIT_OBJECT_0) return;
  CloseHandle(s.thread);
  s.thread = nullptr;
}

void startSession(HWND dialog) {
  Library& lib = library();
  TransferSession& s = lib.session;
  setStatus(dialog, "Init ZMODEM session...");
  reapThread(0);
  bool haveConnection = s.telnetMode ? s.socket != INVALID_SOCKET : s.connection != nullptr;
  if (!haveConnection || !s.writeRequest.hEvent || !s.readRequest.hEvent || s.thread) {
    setStatus(dialog, "Error in Initializing...");
    return;
  }
  s.dialog = dialog;
  s.resumeAllowed = 1;
  s.streamMode = 0;
  s.result = 0;
  s.state = 0;

  freeRun();
  gRun = new Run;
  if (s.telnetMode) {
    gRun->channel = std::make_unique<TelnetChannel>(s.socket);
    gRun->abortChannel = std::make_unique<TelnetChannel>(s.socket);
  } else {
    gRun->channel = std::make_unique<SerialChannel>(s.connection, &s.writeRequest, &s.readRequest);
    gRun->abortWrite.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    gRun->abortChannel = std::make_unique<SerialChannel>(s.connection, &gRun->abortWrite, &s.readRequest);
  }
  gRun->reporter = std::make_unique<DialogReporter>(dialog);
  gRun->config.channel = gRun->channel.get();
  gRun->config.reporter = gRun->reporter.get();
  gRun->config.telnet = s.telnetMode != 0;
  gRun->config.utf8Names = lib.utf8Names;
  gRun->config.cancel = &lib.cancel;
  gRun->config.state = &gRun->state;
  lib.cancel.store(false);
  lib.running.store(true);

  s.thread = CreateThread(nullptr, 0, sessionThread, nullptr, CREATE_SUSPENDED, nullptr);
  if (!s.thread) {
    lib.running.store(false);
    setStatus(dialog, "Error in Initializing...");
    return;
  }
  SetThreadPriority(s.thread, THREAD_PRIORITY_NORMAL);
  ResumeThread(s.thread);
}

// Cancel: the session is told to stop at its next wait (at most one wait,
// 100 ms); once its thread has ended, the abort sequence goes out from this
// thread, so no two threads ever read the port. A serial abort then sends
// its ZCAN or ZABORT frames and listens briefly for the reply; a session
// thread still blocked after the bound gets the CAN bytes only.
void cancelSession() {
  Library& lib = library();
  TransferSession& s = lib.session;
  if (!gRun || !lib.running.load()) return;
  bool haveConnection = s.telnetMode ? s.socket != INVALID_SOCKET : s.connection != nullptr;
  if (!haveConnection) return;
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  lib.cancel.store(true);
  const bool sessionEnded = s.thread && WaitForSingleObject(s.thread, kSessionStopWaitMs) == WAIT_OBJECT_0;
  SessionConfig config = gRun->config;
  config.channel = gRun->abortChannel.get();
  config.cancel = sessionEnded ? nullptr : &lib.cancel;
  config.timing.waits = kAbortReplyWaits;
  abortSession(config, s.direction == kDirectionSend);
  SetCursor(previous);
}

HWND createMeterOver(HWND dialog, int placeholderId) {
  HWND placeholder = GetDlgItem(dialog, placeholderId);
  if (!placeholder) return nullptr;
  RECT r;
  GetWindowRect(placeholder, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  HWND meter = CreateWindowExA(0, kMeterClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, dialog, nullptr, library().instance, nullptr);
  if (meter) SetWindowPos(meter, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return meter;
}

void showElapsed(HWND dialog) {
  SetDlgItemTextA(dialog, IDC_ZLINK_ELAPSED, formatClock(library().elapsedSeconds).c_str());
}

INT_PTR CALLBACK progressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  Library& lib = library();
  switch (message) {
    case WM_INITDIALOG:
      lib.session.dialog = dialog;
      lib.elapsedSeconds = 0;  // this transfer's time, even when the library stays loaded
      lib.fileMeter = createMeterOver(dialog, IDC_ZLINK_FILE_METER);
      lib.totalMeter = createMeterOver(dialog, IDC_ZLINK_TOTAL_METER);
      PostMessageA(dialog, WM_COMMAND,
                   lib.session.direction == kDirectionSend ? kCommandStartSend : kCommandStartReceive, 0);
      SetTimer(dialog, kElapsedTimer, 1000, nullptr);
      return TRUE;
    case WM_TIMER:
      if (wParam == kElapsedTimer) {
        ++lib.elapsedSeconds;
        showElapsed(dialog);
      }
      return TRUE;
    case kProgressMessage:
      if (gRun && gRun->reporter) gRun->reporter->apply(lib.fileMeter, lib.totalMeter);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCommandStartSend:
          SetDlgItemTextA(dialog, IDC_ZLINK_PROTOCOL, kSendTitle);
          startSession(dialog);
          return TRUE;
        case kCommandStartReceive:
          SetDlgItemTextA(dialog, IDC_ZLINK_PROTOCOL, kReceiveTitle);
          startSession(dialog);
          return TRUE;
        case kCommandSessionEnded:
          // Enter in the dialog sends the same command: only a session
          // that started and finished closes the dialog with it.
          if (!lib.session.thread || lib.running.load()) return TRUE;
          if (gRun && gRun->reporter) gRun->reporter->apply(lib.fileMeter, lib.totalMeter);
          KillTimer(dialog, kElapsedTimer);
          EndDialog(dialog, 1);
          return TRUE;
        case kCommandCancel:
          cancelSession();
          KillTimer(dialog, kElapsedTimer);
          EndDialog(dialog, 0);
          return TRUE;
      }
      break;
    case WM_DESTROY:
      lib.fileMeter = lib.totalMeter = nullptr;
      lib.session.dialog = nullptr;
      break;
  }
  return FALSE;
}

}  // namespace

Library& library() {
  static Library lib;
  return lib;
}

void buildSession() {
  TransferSession& s = library().session;
  s = TransferSession{};
  s.socket = INVALID_SOCKET;
  s.writeRequest.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  s.readRequest.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  s.resumeAllowed = 1;
}

void tearDownSession() {
  Library& lib = library();
  TransferSession& s = lib.session;
  bool terminated = false;
  if (s.thread) {
    // A session thread still waiting after a Cancel cannot outlive the code
    // it runs.
    if (WaitForSingleObject(s.thread, 0) == WAIT_TIMEOUT) {
      TerminateThread(s.thread, 0);
      WaitForSingleObject(s.thread, 1000);
      terminated = true;
    }
    CloseHandle(s.thread);
    s.thread = nullptr;
  }
  lib.running.store(false);
  if (s.writeRequest.hEvent) CloseHandle(s.writeRequest.hEvent);
  if (s.readRequest.hEvent) CloseHandle(s.readRequest.hEvent);
  s.writeRequest.hEvent = s.readRequest.hEvent = nullptr;
  // The run of a terminated thread may hold locks of the heap; it is left
  // to the process rather than freed here.
  if (!terminated) freeRun();
}

int runProgressDialog(HWND owner) {
  Library& lib = library();
  INT_PTR result = DialogBoxParamA(lib.instance, MAKEINTRESOURCEA(IDD_ZLINK_PROGRESS), owner, progressDialogProc, 0);
  if (result == 1) {
    reapThread(5000);  // it has posted its end and is returning
    // A session that ended by itself in failure gives its result, so the
    // caller can tell the user instead of announcing a finished download.
    return lib.session.result < 0 ? lib.session.result : 1;
  }
  // After a Cancel the session stops at its next wait; a thread blocked
  // longer stays in the record and is ended when the library unloads.
  reapThread(2000);
  return 0;
}

}  // namespace kesta::zlink
