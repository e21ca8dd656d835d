// What the push-like buttons share: state bits in a window word, input and
// the messages of the standard push button.
#pragma once

#include <windows.h>

#include <cstdint>

namespace hctl {

uint32_t stateOf(HWND window, int slotIndex);
// Stores the bits and repaints at once when they changed.
void setState(HWND window, int slotIndex, uint32_t state);

// WM_GETDLGCODE, BM_GETSTATE, BM_SETSTATE, BM_SETSTYLE, focus, WM_ENABLE,
// the space key and the mouse of a push or bitmap button. Clicks clear the
// pushed bits and send WM_COMMAND to the parent.
bool handlePushMessage(HWND window, int slotIndex, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// A push button's label given as one combination code (HCTLW32 included).
void setCodeLabel(HWND button, uint16_t code);

// WM_COMMAND (identifier, notification 0, window) to the parent.
void reportClick(HWND window);
// Whether a client point (from a mouse message's lParam) lies in the client area.
bool insideClient(HWND window, LPARAM point);

}  // namespace hctl
