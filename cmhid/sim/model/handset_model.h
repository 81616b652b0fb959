#pragma once
// The simulated handset: the CM108's pins and EEPROM, and the controller
// behind them that scans the keys and drives the ringer and LEDs.
//
// The state is plain data so that it can live in memory shared with the
// program that drives the simulation.

#include <cstdint>
#include <vector>

namespace simhandset {

// CM_HID notification kinds, in registration order.
enum class Notice : std::uint32_t {
    DeviceAdded,
    DeviceRemoved,
    KeyDown,
    KeyUp,
    VolumeDown,
    VolumeUp,
    PlaybackMute,
    RecordMute,
    Gpio,
};
constexpr std::uint32_t kNoticeCount = 9;

struct Notification {
    Notice notice;
    std::uint32_t wParam;
    friend bool operator==(const Notification& a, const Notification& b)
    {
        return a.notice == b.notice && a.wParam == b.wParam;
    }
};

// Where the controller stands in the pin handshake that carries a command.
enum class Handshake : std::uint32_t {
    Idle,
    Started,  // pins 0x08: the host is about to write the command word
    Written,  // the command word was written since the start
    Strobed,  // pins 0x04: the command was taken
};

// Where the controller stands with the key report in word 48. It presents the
// next key only when the host has finished with the last one, so keys pressed
// in quick succession wait rather than overwrite each other.
enum class KeyReport : std::uint32_t {
    None,
    Announced, // GPIO notification 2 raised, word 48 holds the scan value
    Read,      // the host raised both pins to read it; their release completes it
};

constexpr std::uint32_t kEepromWords = 64;
constexpr std::uint32_t kKeyQueueCapacity = 64;
constexpr int kCommandWord = 32;
constexpr int kKeyReportWord = 48;
constexpr std::uint32_t kKeyWaitingPins = 2;  // the controller's announcement line
constexpr std::uint32_t kPinsHighState = 12;  // both host pins read high

struct ModelState {
    std::uint32_t plugged;
    std::uint32_t pinLevels;     // all four GPIO levels, merged under each selection
    std::uint32_t handshake;     // Handshake
    std::uint32_t keyReport;     // KeyReport
    std::uint32_t keyQueueHead;  // keys pressed while another was being reported
    std::uint32_t keyQueueTail;
    std::uint32_t keysDropped;   // queue full
    std::uint32_t failReads;     // so many further reads fail
    std::uint32_t ringer;        // 1: ringing
    std::uint32_t ledValue;      // last LED command value, 0 before any
    std::uint32_t led2Value;
    std::uint32_t lastCommand;   // last command value taken
    std::uint32_t commandsTaken;
    std::uint16_t eeprom[kEepromWords];
    std::uint16_t keyQueue[kKeyQueueCapacity];
};

ModelState initialState();

// LED pattern number a value stands for (0x21 -> 1, 0x20 -> 2, 0x23 -> 3,
// 0x22 -> 4, the same for 0x28..0x2B); 0 for none.
int ledPattern(std::uint32_t value);

struct PinResult {
    bool ok = false;
    bool commandTaken = false;              // the strobe completed a handshake
    std::vector<Notification> notifications; // to be raised by the simulator's thread
};

struct ReadResult {
    bool ok = false;
    std::uint16_t value = 0;
};

// Calls of the handset library.
PinResult setGpio(ModelState& s, std::uint8_t levels, std::uint8_t selection);
ReadResult readEeprom(ModelState& s, int address);
bool writeEeprom(ModelState& s, int address, std::uint16_t value);

// What the person at the handset (or the test) does.
std::vector<Notification> plug(ModelState& s);
std::vector<Notification> unplug(ModelState& s);
// A key press or release: its scan value goes into word 48 and the controller
// raises its line, at once or after the keys before it. Nothing happens while
// unplugged.
std::vector<Notification> scanKey(ModelState& s, std::uint16_t scan);

} // namespace simhandset
