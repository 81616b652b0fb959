#include "cmhid_bus.h"

#include <cmhid/cm_hid.h>
#include <platform/win/mutex.h>

namespace quorvex::win {

void CmHidBus::setPins(Pins levels) { ::SetGPIOState(static_cast<BYTE>(levels), kPinSelection); }

bool CmHidBus::readWord(int address, std::uint16_t& value)
{
    USHORT word = 0;
    if (::ReadEEPROM(address, &word) == 0)
        return false;
    value = word;
    return true;
}

void CmHidBus::writeWord(int address, std::uint16_t value) { ::WriteEEPROM(address, value); }

EepromMutex::EepromMutex() : mutex_(::CreateMutexA(nullptr, FALSE, "TorvelPellicorDLL.EEPROM_MUtex")) {}

bool EepromMutex::acquire(std::uint32_t timeoutMs) { return platform::win::waitOwned(mutex_.get(), timeoutMs); }

void EepromMutex::release() { ::ReleaseMutex(mutex_.get()); }

} // namespace quorvex::win
