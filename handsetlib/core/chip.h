#pragma once
// What the library's logic needs of the chip, the EEPROM lock and the clock.

#include <cstdint>

namespace quorvex {

// Pin levels under the selection 0x0C (the pins with bit values 0x08 and 0x04).
enum class Pins : std::uint8_t {
    Low = 0x00,
    Strobe = 0x04,
    Start = 0x08,
    High = 0x0C,
};
constexpr std::uint8_t kPinSelection = 0x0C;

constexpr int kCommandWord = 32;
constexpr int kKeyReportWord = 48;

class ChipBus {
public:
    virtual ~ChipBus() = default;
    virtual void setPins(Pins levels) = 0;
    virtual bool readWord(int address, std::uint16_t& value) = 0;
    virtual void writeWord(int address, std::uint16_t value) = 0;
};

// The EEPROM mutex: serialises pin and EEPROM transactions across threads and
// processes.
class BusLock {
public:
    virtual ~BusLock() = default;
    virtual bool acquire(std::uint32_t timeoutMs) = 0;
    virtual void release() = 0;
};

class BusOwnership {
public:
    BusOwnership(BusLock& lock, std::uint32_t timeoutMs) : lock_(lock), owned_(lock.acquire(timeoutMs)) {}
    ~BusOwnership()
    {
        if (owned_)
            lock_.release();
    }
    BusOwnership(const BusOwnership&) = delete;
    BusOwnership& operator=(const BusOwnership&) = delete;
    bool owned() const { return owned_; }

private:
    BusLock& lock_;
    bool owned_;
};

} // namespace quorvex
