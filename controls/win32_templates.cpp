// CreateDialogHeader and CreateDialogItem: templates in a GlobalAlloc block
// (GPTR, so the pointer is the handle; free it with GlobalFree).
#include <cstring>
#include <string>

#include "controls/dialog_template.h"
#include "controls/hctl.h"
#include "controls/win32_library.h"
#include "controls/win32_templates.h"

namespace hctl {

std::u16string ansiToUtf16(const char* text) {
  if (text == nullptr || *text == 0) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
  wide.resize(static_cast<size_t>(n - 1));
  return std::u16string(wide.begin(), wide.end());
}

kesta::controls::BaseUnits baseUnits() {
  return kesta::controls::BaseUnits{static_cast<unsigned>(g_baseX), static_cast<unsigned>(g_baseY)};
}

}  // namespace hctl

using namespace hctl;

HCTL_API LPVOID WINAPI CreateDialogHeader(DWORD style, DWORD extendedStyle, DWORD* size, int x, int y, int cx,
                                          int cy, LPCSTR menu, LPCSTR className, LPCSTR caption) {
  if (size == nullptr) return nullptr;
  const auto bytes = kesta::controls::dialogHeader(style, extendedStyle, {x, y, cx, cy}, baseUnits(),
                                                   ansiToUtf16(menu), ansiToUtf16(className), ansiToUtf16(caption));
  void* block = GlobalAlloc(GPTR, bytes.size());
  if (block == nullptr) {
    MessageBoxA(nullptr, "Winalloc error", "CreateDialogHeader", MB_OK);
    return nullptr;
  }
  std::memcpy(block, bytes.data(), bytes.size());
  *size = static_cast<DWORD>(bytes.size());
  return block;
}

HCTL_API LPVOID WINAPI CreateDialogItem(LPVOID dialogTemplate, DWORD* size, WORD id, DWORD style,
                                        DWORD extendedStyle, LPCSTR className, int x, int y, int cx, int cy,
                                        LPCSTR text) {
  if (dialogTemplate == nullptr || size == nullptr) return nullptr;
  // The caller's size must lie within the block and cover a header.
  const SIZE_T capacity = GlobalSize(dialogTemplate);
  if (*size < kesta::controls::kHeaderFixedBytes || *size > capacity) return nullptr;
  uint16_t count = 0;
  std::span<uint8_t> old(static_cast<uint8_t*>(dialogTemplate), *size);
  if (!kesta::controls::templateItemCount(old, &count) || count == 0xFFFF) return nullptr;
  const auto item = kesta::controls::dialogItem(id, style, extendedStyle, {x, y, cx, cy}, baseUnits(),
                                                ansiToUtf16(className), ansiToUtf16(text));
  const size_t start = (*size + 3) & ~size_t{3};  // items begin on a 4-byte boundary
  const size_t total = start + item.size();
  void* grown = GlobalReAlloc(dialogTemplate, total, GMEM_MOVEABLE | GMEM_ZEROINIT);
  if (grown == nullptr) {
    MessageBoxA(nullptr, "realloc error", "CreateDialogItem", MB_OK);
    return nullptr;
  }
  uint8_t* bytes = static_cast<uint8_t*>(grown);
  std::memset(bytes + *size, 0, start - *size);
  std::memcpy(bytes + start, item.data(), item.size());
  kesta::controls::setTemplateItemCount(std::span<uint8_t>(bytes, total), static_cast<uint16_t>(count + 1));
  *size = static_cast<DWORD>(total);
  return grown;
}
