// Turns a file name received from a peer into a bare name that can only
// land inside the download directory.
#pragma once

#include <string>
#include <string_view>

namespace kesta::zlink {

// Drops every path part up to the last "\", "/" or ":"; replaces characters
// that Windows forbids in names, control characters and trailing dots and
// blanks with "_"; turns "", "." and ".." into underscores and prefixes
// device names (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with or without
// an extension) with "_"; keeps at most 255 bytes.
std::string safeFileName(std::string_view received);
// The same for a name in UTF-8: bytes that are no well-formed character
// become '_' too (so does a character cut by the length limit).
std::string safeUtf8FileName(std::string_view received);

}  // namespace kesta::zlink
