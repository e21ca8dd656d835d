// Sending macro n (Ctrl+1 to Ctrl+9): the table is read afresh, the macro
// converted from the internal code to the host's code and sent as it is,
// without any line end. The caller supplies the conversion and the sender
// (socket when telnet is open, else the serial port).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/settings/settings_files.h"

namespace kesta::settings {

// Converts internal-code text to the code with the given number (1-7).
using ToHostCode = std::function<std::string(std::string_view internalText, int codeNumber)>;
using SendBytes = std::function<void(std::string_view bytes)>;

// n is 1-9; hostCodeNumber is the Hangul settings' code number. Returns the
// number of bytes sent: 0 when n is out of range, when there is no macro
// file, or when the macro (or its conversion) is empty; nothing is sent then.
std::size_t sendMacro(const SettingsFiles& files, int n, int hostCodeNumber, const ToHostCode& toHostCode,
                      const SendBytes& send);

}  // namespace kesta::settings
