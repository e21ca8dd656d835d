// ZMODEM protocol constants, the session's state numbers and its results.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kesta::zlink {

// Framing bytes.
inline constexpr uint8_t kZpad = 0x2A;  // '*', header lead-in
inline constexpr uint8_t kZdle = 0x18;  // escape and header lead-in (also CAN)
inline constexpr uint8_t kCan = 0x18;
inline constexpr uint8_t kXon = 0x11;
inline constexpr uint8_t kXoff = 0x13;
inline constexpr uint8_t kZbin = 'A';
inline constexpr uint8_t kZhex = 'B';
inline constexpr uint8_t kZbin32 = 'C';
inline constexpr uint8_t kZvbin = 'a';
inline constexpr uint8_t kZvhex = 'b';
inline constexpr uint8_t kZvbin32 = 'c';
inline constexpr uint8_t kZcrce = 'h';  // end of frame, no reply expected
inline constexpr uint8_t kZcrcg = 'i';  // frame continues, no reply expected
inline constexpr uint8_t kZcrcq = 'j';  // frame continues, ZACK expected
inline constexpr uint8_t kZcrcw = 'k';  // end of frame, ZACK expected
inline constexpr uint8_t kZrub0 = 'l';  // escaped 0x7F
inline constexpr uint8_t kZrub1 = 'm';  // escaped 0xFF

// Frame types.
enum FrameType : int {
  kZrqinit = 0,
  kZrinit = 1,
  kZsinit = 2,
  kZack = 3,
  kZfile = 4,
  kZskip = 5,
  kZnak = 6,
  kZabort = 7,
  kZfin = 8,
  kZrpos = 9,
  kZdata = 10,
  kZeof = 11,
  kZcan = 16,
};

// ZRINIT capability bits (ZF0) and the variable-header bit (ZF1).
inline constexpr uint8_t kCanFullDuplex = 0x01;
inline constexpr uint8_t kCanOverlapIo = 0x02;
inline constexpr uint8_t kCanCrc32 = 0x20;
inline constexpr uint8_t kWantsEscapedControls = 0x40;
inline constexpr uint8_t kCanVariableHeaders = 0x01;

// Positions of the four header data bytes.
inline constexpr int kZf0 = 3, kZf1 = 2, kZp0 = 0;

inline constexpr size_t kSubPacketLength = 1024;
inline constexpr size_t kAttentionLength = 120;
inline constexpr int kNullsBeforeData = 10;
inline constexpr int kMaxStartErrors = 10;    // more than this many in a row ends the start phase
inline constexpr int kMaxSilentWaits = 10;    // more time-outs than this in a row end the data phase

// The largest thing ever assembled for one write: a sub-packet whose every
// data byte is escaped, its terminator, an escaped CRC-32 and an XON.
inline constexpr size_t kOutputBufferSize = 2 * kSubPacketLength + 2 + 2 * 4 + 1;
static_assert(kOutputBufferSize >= 2048, "output buffer never smaller than the classic 2048 bytes");

// Session results.
enum Result : int {
  kResultSuccess = 0,
  kResultCannotCreate = -1,   // the received file cannot be created
  kResultFailed = -2,         // gave up: too many errors, silence, a bad end of file
  kResultCancelled = -3,      // the local user cancelled
  kResultPeerAborted = -5,    // the peer aborted or cancelled
  kResultFileError = -11,     // a file could not be read or written during data
};

// State numbers a session records for its owner.
enum State : int {
  kStateIdle = 0,
  kSendWaitZrinit = 102,
  kSendAfterZsinit = 104,
  kSendAfterZfile = 105,
  kSendData = 106,
  kSendAfterZeof = 190,
  kSendAfterZfin = 191,
  kRecvZrinitSent = 202,
  kRecvAfterZsinit = 203,
  kRecvWaitZdata = 204,
  kRecvSubPackets = 207,
  kRecvFrameEnded = 290,
  kRecvZfinSent = 292,
};

}  // namespace kesta::zlink
