#pragma once
// The chip and the EEPROM mutex as the library's logic sees them.

#include "../core/chip.h"

#include <platform/win/handles.h>

#include <windows.h>

namespace quorvex::win {

class CmHidBus final : public ChipBus {
public:
    void setPins(Pins levels) override;
    bool readWord(int address, std::uint16_t& value) override;
    void writeWord(int address, std::uint16_t value) override;
};

// The named mutex "TorvelPellicorDLL.EEPROM_MUtex", shared by every process that
// loads the library.
class EepromMutex final : public BusLock {
public:
    EepromMutex();
    bool acquire(std::uint32_t timeoutMs) override;
    void release() override;

private:
    platform::win::UniqueHandle mutex_;
};

} // namespace quorvex::win
