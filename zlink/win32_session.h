// The transfer library's process-wide session record and the state beside
// it, shared by the exports, the progress dialog and the session thread.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstddef>

namespace kesta::zlink {

inline constexpr int kDirectionReceive = 0;
inline constexpr int kDirectionSend = 2;
// The connection handle of a telnet session: a marker, the socket is apart.
inline const HANDLE kTelnetMarker = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(255));

struct TransferSession {
  HANDLE connection;        // serial port handle, or kTelnetMarker
  OVERLAPPED writeRequest;  // serial writes, with a manual-reset event
  OVERLAPPED readRequest;   // serial reads, with a manual-reset event
  SOCKET socket;            // telnet mode only
  char directory[256];      // receive: the download directory as given
  char filePath[256];       // send: the file to send
  int direction;            // kDirectionReceive or kDirectionSend
  HWND dialog;              // the progress dialog
  HANDLE thread;            // the session thread, null when none
  int result;               // the session's Result
  int state;                // the session's state number
  int resumeAllowed;        // always 1: an existing file is continued
  int streamMode;           // always 0: every sub-packet waits for ZACK
  int telnetMode;           // 1 for the socket exports
};

#if defined(_WIN32) && !defined(_WIN64)
// The 32-bit layout the record has always had.
static_assert(offsetof(TransferSession, writeRequest) == 4);
static_assert(offsetof(TransferSession, readRequest) == 24);
static_assert(offsetof(TransferSession, socket) == 44);
static_assert(offsetof(TransferSession, directory) == 48);
static_assert(offsetof(TransferSession, filePath) == 304);
static_assert(offsetof(TransferSession, direction) == 560);
static_assert(offsetof(TransferSession, dialog) == 564);
static_assert(offsetof(TransferSession, thread) == 568);
static_assert(offsetof(TransferSession, result) == 572);
static_assert(offsetof(TransferSession, telnetMode) == 588);
static_assert(sizeof(TransferSession) == 592);
#endif

struct Library {
  HINSTANCE instance = nullptr;
  TransferSession session{};
  HWND lastOwner = nullptr;  // the owner window of the last telnet call
  HWND fileMeter = nullptr;
  HWND totalMeter = nullptr;
  long elapsedSeconds = 0;   // seconds of the open progress dialog; its timer alone shows them
  std::atomic<bool> cancel{false};
  std::atomic<bool> running{false};
  // The caller's fourth argument was 9: the host's file names are UTF-8.
  bool utf8Names = false;
};

Library& library();

// Builds the session record (both events) and tears it down.
void buildSession();
void tearDownSession();

// Runs the modal progress dialog for the session record as set up by an
// export; returns 1 when the session ended by itself, 0 on Cancel.
int runProgressDialog(HWND owner);

}  // namespace kesta::zlink
