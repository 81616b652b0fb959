#pragma once
// Scan values of the key report word to key codes.

#include <cstdint>

namespace quorvex {

struct KeyEvent {
    int code = 0;          // 1..21; 0: no key
    bool pressed = false;  // false: released
};

// The whole 16-bit word counts: 0x0100 and above mean nothing, as do the
// controller's status reports 0xD0..0xD5.
KeyEvent translateKeyScan(std::uint16_t scan);

} // namespace quorvex
