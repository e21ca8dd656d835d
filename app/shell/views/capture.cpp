#include "app/shell/views/capture.h"

#include <cstdio>

#include "app/shell/window/shell_texts.h"

namespace kesta::shell {

namespace {

class StdioCaptureFile : public CaptureFile {
 public:
  explicit StdioCaptureFile(std::FILE* file) : file_(file) {}
  ~StdioCaptureFile() override { std::fclose(file_); }
  void write(std::string_view bytes) override { std::fwrite(bytes.data(), 1, bytes.size(), file_); }

 private:
  std::FILE* file_;
};

Language languageOf(session::SessionWindow& window) {
  return window.koreanInterface() ? Language::Korean : Language::English;
}

}  // namespace

std::string captureStartDirectory(std::string_view configured, std::string_view homeDirectory) {
  if (!configured.empty()) return std::string(configured);
  std::string directory(homeDirectory);
  if (!directory.empty() && (directory.back() == '\\' || directory.back() == '/')) directory.pop_back();
  return directory + "\\cap";
}

std::unique_ptr<CaptureFile> StdioCaptureFiles::create(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return nullptr;
  return std::make_unique<StdioCaptureFile>(file);
}

Capture::Step Capture::command(CaptureKind kind) {
  if (running_ && *running_ != kind) {
    const CaptureTexts& texts = captureTexts(languageOf(window_));
    window_.messageBox(texts.otherRunning, texts.warningTitle);
    return Step::Warned;
  }
  if (running_) {
    stop();
    return Step::Stopped;
  }
  return Step::ChooseFile;
}

bool Capture::start(CaptureKind kind, const std::string& path) {
  if (running_) return false;
  std::unique_ptr<CaptureFile> file = files_.create(path);
  const Language language = languageOf(window_);
  if (!file) {
    window_.messageBox(captureTexts(language).cannotCreate, captureTexts(language).warningTitle);
    return false;
  }
  file_ = std::move(file);
  running_ = kind;
  tap(kind, true);
  window_.setStatusText(kPaneCapture, shellTexts(language).capturing);
  return true;
}

void Capture::stop() {
  if (!running_) return;
  tap(*running_, false);
  running_.reset();
  file_.reset();
  window_.setStatusText(kPaneCapture, shellTexts(languageOf(window_)).captured);
}

void Capture::writeCapture(std::string_view bytes) {
  if (file_) file_->write(bytes);
}

void Capture::tap(CaptureKind kind, bool on) {
  if (kind == CaptureKind::Screen) taps_.tapScreen(on);
  else taps_.tapCodes(on);
}

}  // namespace kesta::shell
