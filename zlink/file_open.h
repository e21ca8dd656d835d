// Opening the files of a transfer. Paths are bytes as the caller gave them;
// a session with UTF-8 names (a host that speaks UTF-8) keeps every path in
// UTF-8 and, on Windows, opens it through the wide-character functions, so
// a name reaches the disk as the host spelled it whatever the code page.
#pragma once

#include <cstdio>
#include <string>

namespace kesta::zlink {

std::FILE* openTransferFile(const std::string& path, const char* mode, bool utf8);

// UTF-8 as UTF-16; a malformed sequence becomes U+FFFD.
std::u16string utf8ToUtf16(const std::string& utf8);

// Whether the text is well-formed UTF-8 (no overlong forms or surrogates).
bool isWellFormedUtf8(const std::string& text);

}  // namespace kesta::zlink
