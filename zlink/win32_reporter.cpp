#include "zlink/win32_reporter.h"

#include <cstdio>

#include "zlink/win32_meter.h"
#include "zlink/win32_session.h"
#include "zlink/zlink32_resource.h"

namespace kesta::zlink {

namespace {
std::string bytesText(long bytes) {
  char text[40];
  std::snprintf(text, sizeof text, "%ld bytes", bytes);
  return text;
}
}  // namespace

void DialogReporter::notify() {
  if (!posted_.exchange(true)) PostMessageA(dialog_, kProgressMessage, 0, 0);
}

void DialogReporter::setField(int id, std::string text) {
  int i = id - kFirstField;
  if (i < 0 || i >= kFieldCount) return;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (texts_[i] == text && !changed_[i]) return;
    texts_[i] = std::move(text);
    changed_[i] = true;
  }
  notify();
}

void DialogReporter::setMeter(Meter& meter, long range, long position) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (meter.range == range && meter.position == position) return;
    meter.range = range;
    meter.position = position;
    meter.changed = true;
  }
  notify();
}

void DialogReporter::status(std::string_view text) { setField(IDC_ZLINK_STATUS, std::string(text)); }
void DialogReporter::fileName(std::string_view name) { setField(IDC_ZLINK_FILE_NAME, std::string(name)); }
void DialogReporter::fileSize(long size) { setField(IDC_ZLINK_FILE_SIZE, bytesText(size)); }
void DialogReporter::fileNumber(int number, int count) {
  setField(IDC_ZLINK_FILE_NUMBER, formatFileNumber(number, count));
}
void DialogReporter::totalSize(long size) { setField(IDC_ZLINK_TOTAL_SIZE, bytesText(size)); }
void DialogReporter::thisFileBytes(long bytes) { setField(IDC_ZLINK_THIS_BYTES, bytesText(bytes)); }
void DialogReporter::allBytes(long bytes) { setField(IDC_ZLINK_ALL_BYTES, bytesText(bytes)); }
void DialogReporter::packetLength(long bytes) { setField(IDC_ZLINK_PACKET_LENGTH, bytesText(bytes)); }
void DialogReporter::subPacketLength(int bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%d bytes", bytes);
  setField(IDC_ZLINK_SUB_PACKET_LENGTH, text);
}
void DialogReporter::cps(int value) {
  char text[32];
  std::snprintf(text, sizeof text, "%d CPS", value);
  setField(IDC_ZLINK_CPS, text);
}
void DialogReporter::errors(int consecutive, int total) {
  setField(IDC_ZLINK_ERRORS, formatErrors(consecutive, total));
}
void DialogReporter::estimated(long seconds) { setField(IDC_ZLINK_ESTIMATED, formatClock(seconds)); }
void DialogReporter::fileMeter(long range, long position) { setMeter(file_, range, position); }
void DialogReporter::totalMeter(long range, long position) { setMeter(total_, range, position); }

void DialogReporter::apply(HWND fileMeterWindow, HWND totalMeterWindow) {
  posted_.store(false);
  std::array<std::string, kFieldCount> texts;
  std::array<bool, kFieldCount> changed;
  Meter file, total;
  {
    std::lock_guard<std::mutex> guard(lock_);
    texts = texts_;
    changed = changed_;
    changed_.fill(false);
    file = file_;
    total = total_;
    file_.changed = total_.changed = false;
  }
  for (int i = 0; i < kFieldCount; ++i) {
    if (!changed[i]) continue;
    if (kFirstField + i == IDC_ZLINK_FILE_NAME && library().utf8Names) {
      // A UTF-8 host's name shows as the host spelled it.
      wchar_t wide[512];
      if (MultiByteToWideChar(CP_UTF8, 0, texts[i].c_str(), -1, wide, 512) > 0) {
        SetDlgItemTextW(dialog_, kFirstField + i, wide);
        continue;
      }
    }
    SetDlgItemTextA(dialog_, kFirstField + i, texts[i].c_str());
  }
  if (file.changed && fileMeterWindow) {
    SendMessageA(fileMeterWindow, kMeterSetRange, 0, file.range);
    SendMessageA(fileMeterWindow, kMeterSetPosition, 0, file.position);
  }
  if (total.changed && totalMeterWindow) {
    SendMessageA(totalMeterWindow, kMeterSetRange, 0, total.range);
    SendMessageA(totalMeterWindow, kMeterSetPosition, 0, total.position);
  }
}

}  // namespace kesta::zlink
