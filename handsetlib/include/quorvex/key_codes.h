#pragma once
// Handset key codes: wParam of the library's key-down and key-up messages.
// The program exchanges 13 and 14 on receipt, so its handlers see YES as 14
// and NO as 13; the names here are the library's numbering.

namespace quorvex {

enum KeyCode : int {
    kKeyNone = 0,
    kKeyDigit1 = 1,
    kKeyDigit4 = 2,
    kKeyDigit7 = 3,
    kKeyStar = 4,
    kKeyDigit2 = 5,
    kKeyDigit5 = 6,
    kKeyDigit8 = 7,
    kKeyDigit0 = 8,
    kKeyDigit3 = 9,
    kKeyDigit6 = 10,
    kKeyDigit9 = 11,
    kKeyHash = 12,
    kKeyYes = 13,
    kKeyNo = 14,
    kKeySkype = 15,
    kKeySecondHangUp = 16,
    kKeyHook = 17,     // press: handset put down; release: lifted
    kKeyShowHide = 18,
    kKeyUp = 19,
    kKeyDown = 20,
    kKeyHook2 = 21,    // second hook switch code
};

constexpr int kHighestKeyCode = 21;

} // namespace quorvex
