#include "signalling.h"

namespace quorvex {

namespace {

constexpr std::uint32_t kBuzzerAfterMs = 100;
constexpr std::uint32_t kLedAfterMs = 70;

// Pattern numbers and low bits are crossed: 1 -> x1, 2 -> x0, 3 -> x3, 4 -> x2.
std::optional<std::uint16_t> patternValue(int pattern, std::uint16_t base)
{
    switch (pattern) {
    case 1: return static_cast<std::uint16_t>(base | 0x1);
    case 2: return base;
    case 3: return static_cast<std::uint16_t>(base | 0x3);
    case 4: return static_cast<std::uint16_t>(base | 0x2);
    default: return std::nullopt;
    }
}

} // namespace

Signal buzzerSignal(int on)
{
    const bool ringing = (on & 0xFF) != 0;
    return {CommandTiming{static_cast<std::uint16_t>(ringing ? 0x0011 : 0x0010), 15, 30}, kBuzzerAfterMs};
}

Signal ledSignal(int pattern)
{
    Signal s{std::nullopt, kLedAfterMs};
    if (auto v = patternValue(pattern, 0x0020))
        s.command = CommandTiming{*v, 10, 30};
    return s;
}

Signal led2Signal(int pattern)
{
    Signal s{std::nullopt, kLedAfterMs};
    if (auto v = patternValue(pattern, 0x0028))
        s.command = CommandTiming{*v, 20, pattern == 4 ? 20u : 30u};
    return s;
}

void writeHandsetCommand(ChipBus& bus, platform::Clock& clock, const CommandTiming& command)
{
    bus.setPins(Pins::Start);
    clock.sleepMs(command.settleMs);
    bus.writeWord(kCommandWord, command.value);
    bus.setPins(Pins::Strobe);
    bus.setPins(Pins::Low);
    clock.sleepMs(command.holdMs);
}

void performSignal(ChipBus& bus, platform::Clock& clock, BusLock& lock, const Signal& signal)
{
    {
        BusOwnership owned(lock, kRequestLockWaitMs);
        if (owned.owned() && signal.command)
            writeHandsetCommand(bus, clock, *signal.command);
    }
    clock.sleepMs(signal.afterMs);
}

AckOutcome ackCycle(ChipBus& bus, platform::Clock& clock, BusLock& lock)
{
    BusOwnership owned(lock, kAckLockWaitMs);
    if (!owned.owned())
        return AckOutcome::Skipped;

    bus.setPins(Pins::Start);
    clock.sleepMs(30);
    std::uint16_t word = 0;
    const bool read = bus.readWord(kCommandWord, word);
    // An unreadable word is restored too: 0x0200 is what it must hold either way.
    const bool rewrite = !read || word != kAckValue;
    if (rewrite)
        bus.writeWord(kCommandWord, kAckValue);
    clock.sleepMs(15);
    bus.setPins(Pins::Strobe);
    bus.setPins(Pins::Low);
    return rewrite ? AckOutcome::Rewritten : AckOutcome::Confirmed;
}

} // namespace quorvex
