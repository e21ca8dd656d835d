// State bits of the library's buttons and how input changes them. The
// window procedures keep the bits in a window word, feed events here and
// repaint, capture and notify as the result says.
#pragma once

#include <cstdint>

namespace kesta::controls {

// Push and bitmap buttons.
namespace push {
inline constexpr uint32_t kDisabled = 1, kFocused = 2, kPushed = 4, kTracking = 8, kOutside = 16, kDefault = 32;
}
// Check boxes and radio buttons.
namespace check {
inline constexpr uint32_t kTracking = 1, kChecked = 2, kThird = 4, kPushed = 8, kFocused = 16, kInside = 32;
}

// Button styles (low four bits of the window style).
inline constexpr uint32_t kBsDefPushButton = 1, kBsCheckBox = 2, kBsAutoCheckBox = 3, kBsRadioButton = 4,
                          kBsThreeState = 5, kBsAutoThreeState = 6, kBsAutoRadioButton = 9;

// What an event asks of the window besides the new bits.
struct Outcome {
  uint32_t state = 0;
  bool click = false;        // report WM_COMMAND (after the check below)
  bool capture = false;      // take the mouse capture
  bool release = false;      // release it
  bool takeFocus = false;
  int setCheck = -1;         // send itself BM_SETCHECK with this value first (-1: none)
};

enum class Input { SpaceDown, SpaceUp, MouseDown, MouseMove, MouseUp };

// Push and bitmap buttons. `inside`: the pointer lies in the client area.
Outcome pushInput(uint32_t state, Input input, bool inside);
// The state after a click: pushed, tracking and outside cleared.
inline uint32_t pushClicked(uint32_t state) { return state & ~(push::kPushed | push::kTracking | push::kOutside); }
// Whether the pushed face shows.
inline bool pushShowsPushed(uint32_t state) {
  return (state & (push::kPushed | push::kTracking)) != 0 && !(state & push::kOutside);
}

// Check boxes and radio buttons; `style` is the low four bits of the window style.
Outcome checkInput(uint32_t state, uint32_t style, Input input, bool inside);
// BM_SETCHECK on a check box or radio button.
uint32_t checkSetCheck(uint32_t state, uint32_t style, uintptr_t value);
// BM_GETCHECK: 1 checked, 2 third state, 0 otherwise.
int checkGetCheck(uint32_t state);

// The radio buttons of one dialog group, in sibling order: `groupStart[i]`
// says that sibling i begins a group (WS_GROUP). Returns into `members` the
// indices of the other siblings of `self`'s group, at most `capacity`; the
// walk never passes either edge of the group or the list, so it ends for
// hidden and disabled buttons too.
int groupMembers(const bool* groupStart, int count, int self, int* members, int capacity);

}  // namespace kesta::controls
