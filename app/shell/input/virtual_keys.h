// The virtual-key codes of the keys the views take, and which view takes a
// key when both the chat window and the passed-screen view are open.
#pragma once

namespace kesta::shell {

inline constexpr int kVirtualKeyPageUp = 0x21;
inline constexpr int kVirtualKeyPageDown = 0x22;
inline constexpr int kVirtualKeyEnd = 0x23;
inline constexpr int kVirtualKeyHome = 0x24;
inline constexpr int kVirtualKeyLeft = 0x25;
inline constexpr int kVirtualKeyUp = 0x26;
inline constexpr int kVirtualKeyRight = 0x27;
inline constexpr int kVirtualKeyDown = 0x28;
inline constexpr int kVirtualKeyDelete = 0x2E;

enum class KeyRoute { None, PassedScreenView, ChatLine };

// The view takes PgUp, PgDn, Up and Down before the chat line does: with
// both open, Up and Down scroll the view and leave the chat history alone.
KeyRoute routeKeyDown(int virtualKey, bool viewOpen, bool chatOpen);

}  // namespace kesta::shell
