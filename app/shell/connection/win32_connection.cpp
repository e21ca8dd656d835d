// The main window's two connections: the serial port, drained on
// WM_COMMNOTIFY, and the telnet socket, read on its notification. Both feed
// the receive pipeline; sending goes to the socket while telnet is open,
// else to the serial port.
#include "app/settings/modem_settings.h"
#include "app/shell/connection/serial_device.h"
#include "app/shell/window/win32_shell.h"
#include "app/shell/window/win32_text.h"

namespace kesta::shell {

namespace {
// The drawing of one drain or one socket read takes its device contexts once.
struct DrawingBatch {
  explicit DrawingBatch(Win32DrawTarget& t) : target(t) { target.beginBatch(); }
  ~DrawingBatch() { target.endBatch(); }
  Win32DrawTarget& target;
};

SerialLine lineFrom(const settings::ModemSettings& modem) {
  SerialLine line;
  line.port = modem.port;
  line.baudRate = modem.rate;
  line.byteSize = modem.dataBits;
  line.parity = modem.parity;
  line.stopBits = modem.stopBits;
  return line;
}
}  // namespace

void openSerialAtStart(Shell& shell) {
  const settings::ModemSettings modem = settings::loadModemSettingsForStartup(shell.files);
  openSerial(shell, modem);
  const std::string command = modem.initialCommand + "\r";
  if (shell.serial) shell.serial->write(command.data(), command.size());
}

bool openSerial(Shell& shell, const settings::ModemSettings& modem) {
  shell.serial = std::make_unique<SerialPort>(shell.window, lineFrom(modem));
  SetWindowLongPtrA(shell.window, 0, reinterpret_cast<LONG_PTR>(shell.serial.get()));
  if (!shell.serial->usable()) {
    shell.serial.reset();
    SetWindowLongPtrA(shell.window, 0, 0);
    return false;
  }
  if (!shell.serial->open()) return false;
  shell.holds.serialOpened();
  // Bytes the modem queued before the reader thread began to wait raise no
  // event of their own: they are shown now.
  drainSerial(shell, nullptr);
  return true;
}

void closeSerial(Shell& shell) {
  SetWindowLongPtrA(shell.window, 0, 0);
  shell.serial.reset();  // closes the port and waits for its thread
}

void drainSerial(Shell& shell, HANDLE notifiedHandle) {
  SerialPort* port = shell.serial.get();
  // A notification of a port that has been closed, or one queued before
  // reading was paused, reads nothing: the resume drains once.
  if (port == nullptr || !port->connected() || shell.holds.paused()) return;
  if (notifiedHandle != nullptr && notifiedHandle != port->handle()) return;
  DrawingBatch batch(shell.target);
  char buffer[kSerialBlock + 2];
  for (;;) {
    std::string lineError;
    const int count = port->readBlock(buffer, kSerialBlock, lineError);
    if (!lineError.empty()) shell.pipeline.receive(lineError.data(), lineError.size());
    if (count <= 0) break;
    shell.pipeline.receive(buffer, static_cast<std::size_t>(count));
    // The pipeline may have run a transfer or closed the port meanwhile.
    if (shell.serial.get() != port || shell.holds.paused()) return;
    // A flood never drains: typed keys and clicks that wait go first, and
    // the rest is read when this notification, posted again, comes round.
    if (HIWORD(GetQueueStatus(QS_INPUT)) != 0) {
      PostMessageA(shell.window, WM_COMMNOTIFY, reinterpret_cast<WPARAM>(port->handle()), 0);
      return;
    }
  }
  port->allowNextNotification();
}

bool openTelnet(Shell& shell, const std::string& hostText) {
  closeTelnet(shell);  // a second connect never leaks the first socket
  const session::HostAndPort target = session::parseHostText(hostText);
  if (!shell.socket.open(target.host, target.port, shell.window)) return false;
  shell.holds.telnetOpened();
  shell.telnetProtocol.connectionOpened();
  return true;
}

void closeTelnet(Shell& shell) { shell.socket.close(); }

namespace {
// One receive from the socket into a buffer of this call's own: a message box
// shown while the data are handled lets the next notification in, and that
// read must not overwrite bytes still being walked.
TelnetSocket::ReadResult readSocket(Shell& shell) {
  char buffer[session::kTelnetReadSize];
  int count = 0;
  const TelnetSocket::ReadResult result = shell.socket.receive(buffer, sizeof buffer, count);
  if (result == TelnetSocket::ReadResult::Data) {
    DrawingBatch batch(shell.target);
    shell.telnetReader.received(reinterpret_cast<const std::uint8_t*>(buffer), static_cast<std::size_t>(count));
  }
  return result;
}

void connectionClosed(Shell& shell) {
  closeTelnet(shell);
  shell.telnetReader.closed();
}
}  // namespace

void socketNotification(Shell& shell, WPARAM socket, LPARAM event) {
  // An old socket's FD_CLOSE must not end a newer connection.
  if (!shell.socket.isOpen() || static_cast<SOCKET>(socket) != shell.socket.socket()) return;
  switch (WSAGETSELECTEVENT(event)) {
    case FD_READ:
      if (!shell.holds.paused() && readSocket(shell) == TelnetSocket::ReadResult::Closed) connectionClosed(shell);
      break;
    case FD_CLOSE:
      // What the host sent before closing is still shown.
      while (shell.socket.isOpen() && readSocket(shell) == TelnetSocket::ReadResult::Data) {
      }
      if (shell.socket.isOpen()) connectionClosed(shell);
      break;
    default:
      break;
  }
}

void sendToConnection(Shell& shell, std::string_view bytes) {
  if (bytes.empty()) return;
  if (shell.socket.isOpen()) {
    shell.socket.sendData(bytes);
  } else if (shell.serial) {
    shell.serial->write(bytes.data(), bytes.size());
  }
}

}  // namespace kesta::shell
