// One user's end of the host, as the menus see it: text out, lines in and
// the two transfers. The socket connection implements it; tests use a
// scripted double.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace kesta::host {

class Connection {
 public:
  virtual ~Connection() = default;

  // Sends UTF-8 text, converted to the user's code.
  virtual void write(const std::string& utf8) = 0;
  // Waits for the next typed line (UTF-8). Calls onWake whenever something
  // else may need showing meanwhile (a chat line arrived). False when the
  // user left, stayed idle too long or the host is stopping.
  virtual bool readLine(std::string* line, const std::function<void()>& onWake) = 0;

  virtual int codeType() const = 0;
  // False when the type is not 1..8.
  virtual bool setCodeType(int type) = 0;
  virtual std::string terminalType() const = 0;
  // A descriptor that others write a byte to so that readLine calls onWake
  // (-1: none; onWake is then called only between lines).
  virtual int wakeFd() const { return -1; }

  // Sends "rz\r" and the file by ZMODEM; true when it arrived.
  virtual bool download(const std::filesystem::path& file) = 0;
  // Receives files by ZMODEM into the directory; true when the session succeeded.
  virtual bool upload(const std::filesystem::path& directory) = 0;
  // True when the last upload was stopped for being larger than allowed.
  virtual bool uploadTooLarge() const { return false; }
};

}  // namespace kesta::host
