#pragma once
// Commands to the handset controller: the values, their timings and the pin
// handshake that carries them.

#include "chip.h"

#include <platform/clock.h>

#include <cstdint>
#include <optional>

namespace quorvex {

struct CommandTiming {
    std::uint16_t value;
    std::uint32_t settleMs;
    std::uint32_t holdMs;
};

// A signalling request: the command (none for a pattern outside 1..4) and the
// wait after the lock has been released.
struct Signal {
    std::optional<CommandTiming> command;
    std::uint32_t afterMs;
};

Signal buzzerSignal(int on);
Signal ledSignal(int pattern);
Signal led2Signal(int pattern);

constexpr CommandTiming kArrivalCommand{0x0030, 15, 30};
constexpr std::uint16_t kAckValue = 0x0200;

constexpr std::uint32_t kRequestLockWaitMs = 2000;
constexpr std::uint32_t kAckLockWaitMs = 3000;
constexpr std::uint32_t kAckPeriodMs = 4000;

// The pin handshake around a write of the command word. The caller holds the lock.
void writeHandsetCommand(ChipBus& bus, platform::Clock& clock, const CommandTiming& command);

// A whole request on the caller's thread. The pins are never driven without the
// lock: when it cannot be had within its wait the command is skipped, and the
// after wait still follows.
void performSignal(ChipBus& bus, platform::Clock& clock, BusLock& lock, const Signal& signal);

enum class AckOutcome {
    Skipped,     // lock not obtained: no pin touched
    Confirmed,   // word already held the ACK value
    Rewritten,   // word held something else, or could not be read
};

// One cycle of the ACK worker, without its 4 s pause.
AckOutcome ackCycle(ChipBus& bus, platform::Clock& clock, BusLock& lock);

} // namespace quorvex
