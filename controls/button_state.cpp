#include "controls/button_state.h"

namespace kesta::controls {

Outcome pushInput(uint32_t state, Input input, bool inside) {
  Outcome o;
  o.state = state;
  switch (input) {
    case Input::SpaceDown:
      if (!(state & (push::kTracking | push::kPushed))) o.state |= push::kPushed;
      break;
    case Input::SpaceUp:
      if (state & push::kPushed) {
        o.click = true;
        o.state = pushClicked(state);
      }
      break;
    case Input::MouseDown:
      if (inside && !(state & push::kPushed)) {
        o.takeFocus = true;
        o.capture = true;
        o.state |= push::kTracking;
        o.state &= ~push::kOutside;
      }
      break;
    case Input::MouseMove:
      if (state & push::kTracking) o.state = inside ? state & ~push::kOutside : state | push::kOutside;
      break;
    case Input::MouseUp:
      if (state & push::kTracking) {
        o.release = true;
        o.click = !(state & push::kOutside);
        o.state = pushClicked(state);
      }
      break;
  }
  return o;
}

namespace {

bool isAutomatic(uint32_t style) {
  return style == kBsAutoCheckBox || style == kBsAutoThreeState || style == kBsAutoRadioButton;
}

bool isRadio(uint32_t style) { return style == kBsRadioButton || style == kBsAutoRadioButton; }

// The click of a check box or radio button: the check the automatic styles take.
void click(uint32_t state, uint32_t style, Outcome& o) {
  if (isRadio(style)) {
    if (style == kBsAutoRadioButton) o.setCheck = 1;
  } else if (isAutomatic(style)) {
    o.setCheck = (state & check::kChecked) ? 0 : 1;
  }
  o.click = true;
}

}  // namespace

Outcome checkInput(uint32_t state, uint32_t style, Input input, bool inside) {
  Outcome o;
  o.state = state;
  switch (input) {
    case Input::MouseDown:
      o.capture = true;
      o.takeFocus = true;
      o.state |= check::kTracking | check::kPushed | check::kInside;
      break;
    case Input::MouseMove:
      if (state & check::kTracking) {
        if (inside) o.state |= check::kPushed | check::kInside;
        else o.state &= ~(check::kPushed | check::kInside);
      }
      break;
    case Input::MouseUp:
      if (state & check::kTracking) {
        o.release = true;
        o.state &= ~(check::kTracking | check::kPushed | check::kInside);
        if (inside) click(state, style, o);
      }
      break;
    case Input::SpaceDown:
      o.state |= check::kPushed;
      break;
    case Input::SpaceUp:
      if (state & check::kPushed) {
        o.state &= ~check::kPushed;
        click(state, style, o);
        o.click = (state & check::kFocused) != 0;  // the check changes; only a focused box reports it
      }
      break;
  }
  return o;
}

uint32_t checkSetCheck(uint32_t state, uint32_t style, uintptr_t value) {
  if (style == kBsThreeState || style == kBsAutoThreeState) {
    state &= ~(check::kChecked | check::kThird);
    if (value == 1) state |= check::kChecked;
    else if (value == 2) state |= check::kThird;
    return state;
  }
  return value != 0 ? state | check::kChecked : state & ~check::kChecked;
}

int checkGetCheck(uint32_t state) {
  if (state & check::kChecked) return 1;
  if (state & check::kThird) return 2;
  return 0;
}

int groupMembers(const bool* groupStart, int count, int self, int* members, int capacity) {
  if (self < 0 || self >= count) return 0;
  int first = self;
  while (first > 0 && !groupStart[first]) --first;
  int n = 0;
  for (int i = first; i < count && n < capacity; ++i) {
    if (i > first && groupStart[i]) break;  // the next group begins
    if (i != self) members[n++] = i;
  }
  return n;
}

}  // namespace kesta::controls
