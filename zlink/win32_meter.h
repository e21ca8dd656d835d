// The "Meter" control: a bar from the left edge to position / range, with
// the percentage centred and drawn in swapped colours over the bar.
#pragma once

#include <windows.h>

namespace kesta::zlink {

inline constexpr char kMeterClass[] = "Meter";
inline constexpr UINT kMeterSetRange = 0x0400;     // lParam: the range
inline constexpr UINT kMeterGetRange = 0x0401;
inline constexpr UINT kMeterSetPosition = 0x0402;  // lParam: the position
inline constexpr UINT kMeterGetPosition = 0x0403;

bool registerMeterClass(HINSTANCE instance);
void unregisterMeterClass(HINSTANCE instance);

}  // namespace kesta::zlink
