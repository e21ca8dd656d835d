// Capturing received data to a file: screen capture takes the text the
// interpreter hands over (no escape sequences), code capture every byte as
// received. At most one runs at a time; the status bar's capture pane says
// whether one is running. A file that cannot be created is reported and
// changes nothing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/session/session_host.h"

namespace kesta::shell {

enum class CaptureKind { Screen, Code };

// Where the file chooser starts: the capture directory of the directory
// settings, or "\cap" under the home directory when none is set.
std::string captureStartDirectory(std::string_view configured, std::string_view homeDirectory);

// An open capture file; destroying it closes it.
class CaptureFile {
 public:
  virtual ~CaptureFile() = default;
  virtual void write(std::string_view bytes) = 0;
};

class CaptureFiles {
 public:
  virtual ~CaptureFiles() = default;
  // Creates the file (emptying one that exists), or returns null.
  virtual std::unique_ptr<CaptureFile> create(const std::string& path) = 0;
};

// Files through the C library, buffered.
class StdioCaptureFiles : public CaptureFiles {
 public:
  std::unique_ptr<CaptureFile> create(const std::string& path) override;
};

// Where the capture flags take effect: the interpreter's screen capture and
// the pipeline's code capture.
class CaptureTaps {
 public:
  virtual ~CaptureTaps() = default;
  virtual void tapScreen(bool on) = 0;
  virtual void tapCodes(bool on) = 0;
};

class Capture : public session::CaptureSink {
 public:
  Capture(CaptureFiles& files, CaptureTaps& taps, session::SessionWindow& window)
      : files_(files), taps_(taps), window_(window) {}
  // At shutdown the file closes with the capture, the window being gone.
  ~Capture() override = default;

  enum class Step {
    Warned,      // the other kind runs: the warning was shown, nothing changed
    Stopped,     // this kind ran and is now stopped
    ChooseFile,  // nothing runs: the user chooses a file, then start()
  };
  // The menu command of `kind` (screen capture 139, code capture 140).
  Step command(CaptureKind kind);
  // Creates the chosen file and starts capturing; when the file cannot be
  // created the user is told and nothing changes.
  bool start(CaptureKind kind, const std::string& path);
  // Closes the file (also at shutdown).
  void stop();

  std::optional<CaptureKind> running() const { return running_; }
  void writeCapture(std::string_view bytes) override;

 private:
  void tap(CaptureKind kind, bool on);

  CaptureFiles& files_;
  CaptureTaps& taps_;
  session::SessionWindow& window_;
  std::unique_ptr<CaptureFile> file_;
  std::optional<CaptureKind> running_;
};

}  // namespace kesta::shell
