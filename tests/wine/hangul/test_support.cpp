#include "test_support.h"

#include <cstring>

namespace qtest {

std::string moduleDir() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of("\\/"));
}

std::vector<uint8_t> readWholeFile(const std::string& path) {
  std::vector<uint8_t> data;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return data;
  uint8_t buf[65536];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) data.insert(data.end(), buf, buf + got);
  CloseHandle(f);
  return data;
}

const std::vector<uint8_t>& hanjaBytes() {
  static const std::vector<uint8_t> bytes = readWholeFile(moduleDir() + "\\HANJA.FNT");
  return bytes;
}

const kesta::fonts::FontHeader& builtin(const char* face) {
  static kesta::fonts::FontHeader headers[kesta::fonts::kBuiltinFontCount];
  static bool made = false;
  if (!made) {
    kesta::fonts::makeBuiltinHeaders(headers);
    made = true;
  }
  return headers[kesta::fonts::builtinIndexOfFace(face)];
}

kesta::fonts::TextFonts defaultFonts() {
  kesta::fonts::TextFonts f;
  f.hangul = &builtin("InternalMyungjo");
  f.english = &builtin("InternalRoman");
  f.special = &builtin("KSSpecial");
  f.kssm = &builtin("KSSMSpecial");
  f.hanja = hanjaBytes();
  return f;
}

std::string combination(const char* utf8) {
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(kesta::fonts::utf8ToCombination(utf8, out, error)) << error;
  return std::string(out.begin(), out.end());
}

MemoryCanvas::MemoryCanvas(int width, int height, int bits) : width_(width), height_(height), bits_(bits) {
  display_ = HCreateDC("DISPLAY", nullptr, nullptr, nullptr);
  dc_ = HCreateCompatibleDC(display_);
  if (bits == 1) {
    bitmap_ = CreateBitmap(width, height, 1, 1, nullptr);
  } else {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    void* bitsPtr = nullptr;
    bitmap_ = CreateDIBSection(display_, &info, DIB_RGB_COLORS, &bitsPtr, nullptr, 0);
    dib_ = static_cast<uint8_t*>(bitsPtr);
  }
  old_ = SelectObject(dc_, bitmap_);
  RECT all{0, 0, width, height};
  FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

MemoryCanvas::~MemoryCanvas() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  HDeleteDC(dc_);
  HDeleteDC(display_);
}

void MemoryCanvas::capture() {
  GdiFlush();
  if (bits_ == 1) {
    rows_.assign(static_cast<size_t>((width_ + 15) / 16 * 2) * height_, 0);
    GetBitmapBits(bitmap_, static_cast<LONG>(rows_.size()), rows_.data());
  }
}

COLORREF MemoryCanvas::pixel(int x, int y) const {
  if (bits_ == 1) {
    const int rowBytes = (width_ + 15) / 16 * 2;
    return (rows_[y * rowBytes + x / 8] & (0x80 >> (x % 8))) ? 0xFFFFFF : 0;
  }
  const int bytes = bits_ / 8, stride = (width_ * bytes + 3) & ~3;
  const uint8_t* p = dib_ + y * stride + x * bytes;
  return rgb(p[2], p[1], p[0]);
}

COLORREF MemoryCanvas::patternAt(int x, int y) const {
  if (bits_ == 1) return ((x + y) % 3 == 0) ? 0 : 0xFFFFFF;
  return rgb((x * 7) & 0xFF, (y * 11) & 0xFF, (x * y) & 0xFF);
}

void MemoryCanvas::paintPattern() {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const COLORREF c = patternAt(x, y);
      SetPixel(dc_, x, y, RGB(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF));
    }
}

}  // namespace qtest
