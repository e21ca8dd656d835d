// The byte layout of QUILF32.CFG: a 50-byte header text (49 characters and
// NUL), one byte 0x1A, then one 260-byte zero-padded file name per module.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kesta::fonts {

inline constexpr char kFontListHeader[] = "Quil Font External Manager Program Configuration.";
inline constexpr size_t kFontListHeaderBytes = 50;
inline constexpr size_t kFontListPreambleBytes = 51;
inline constexpr size_t kFontListRecordBytes = 260;
inline constexpr char kFontListFileName[] = "QUILF32.CFG";
inline constexpr char kFontListMutexName[] = "QUILF32MUTEX";

// Whether the first 50 bytes (with byte 49 taken as NUL) are the header text.
bool fontListHeaderMatches(std::span<const uint8_t> first50);
// The file name of one 260-byte record; empty when the record holds no
// name or its name does not end inside the record.
std::string fontListRecordName(std::span<const uint8_t> record);
// The whole file: the module names registered from it, in order. A wrong
// header or a short preamble gives none; a trailing partial record is ignored.
std::vector<std::string> parseFontList(std::span<const uint8_t> file);
// The file written for these module names.
std::vector<uint8_t> buildFontList(const std::vector<std::string>& files);

}  // namespace kesta::fonts
