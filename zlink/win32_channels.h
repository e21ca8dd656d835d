// The two byte channels of the transfer library: a COM port with overlapped
// reads and writes, and a Winsock connection with the telnet byte rules.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "zlink/buffered_channel.h"
#include "zlink/carrier_watch.h"
#include "zlink/telnet.h"

namespace kesta::zlink {

// A serial port opened for overlapped I/O. The two requests (each with its
// own manual-reset event) belong to the caller and outlive the channel.
class SerialChannel : public ByteChannel {
 public:
  SerialChannel(HANDLE port, OVERLAPPED* writeRequest, OVERLAPPED* readRequest)
      : port_(port), write_(writeRequest), read_(readRequest) {}

  int readByte(int waitMs) override;
  int readSome(uint8_t* buffer, int max, int waitMs) override;
  bool write(const uint8_t* data, size_t size) override;
  void discardInput() override;
  void discardOutput() override;

 private:
  // Bytes waiting in the port's receive queue; -1 when the port is gone.
  int queued();
  int readQueued(uint8_t* buffer, int max);

  HANDLE port_;
  OVERLAPPED* write_;
  OVERLAPPED* read_;
  CarrierWatch carrier_;
};

// A connected socket. Writes double every 0xFF; reads remove telnet
// commands by their real lengths. No send or receive waits longer than the
// watchdog: a peer that takes no bytes for 5 seconds fails the write.
class TelnetChannel : public BufferedChannel {
 public:
  static constexpr int kWatchdogMs = 5000;
  static constexpr size_t kBufferSize = 32768;

  explicit TelnetChannel(SOCKET socket);

  bool write(const uint8_t* data, size_t size) override;
  void discardInput() override {}
  void discardOutput() override {}

 private:
  long readBlock(int waitMs) override;

  SOCKET socket_;
  TelnetDecoder decoder_;
};

// Sends bytes exactly as given (telnet commands), within the watchdog.
bool sendRaw(SOCKET socket, const uint8_t* data, size_t size);

}  // namespace kesta::zlink
