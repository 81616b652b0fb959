#include "key_table.h"

#include <quorvex/key_codes.h>

namespace quorvex {

namespace {

constexpr std::uint16_t kReleaseBit = 0x80;

// Press scan value of each key code, index = code - 1. The high nibble is the
// key's row in the controller's scan, the low nibble its column.
constexpr std::uint16_t kPressScan[kHighestKeyCode] = {
    0x00, 0x01, 0x02, 0x03, // 1 4 7 *
    0x10, 0x11, 0x12, 0x13, // 2 5 8 0
    0x20, 0x21, 0x22, 0x23, // 3 6 9 #
    0x30, 0x31, 0x32, 0x33, // YES NO SKYPE second hang-up
    0x40, 0x41, 0x42, 0x43, // hook show/hide UP DOWN
    0x70,                   // second hook code
};

} // namespace

KeyEvent translateKeyScan(std::uint16_t scan)
{
    for (int i = 0; i < kHighestKeyCode; ++i) {
        if (scan == kPressScan[i])
            return {i + 1, true};
        if (scan == (kPressScan[i] | kReleaseBit))
            return {i + 1, false};
    }
    return {};
}

} // namespace quorvex
