#pragma once
// Which mixer device is the handset's: the last one, among the first 20, whose
// product name contains "USB" and which opens.

#include <cstddef>
#include <string>

namespace volume {

struct HandsetMixerDevice {
    int mixerDeviceIndex = -1;  // -1: no handset mixer device
    std::string deviceName;     // ANSI product name, at most kMaxDeviceNameLength characters
};

constexpr unsigned kMaxMixerDevices = 20;
constexpr std::size_t kMaxDeviceNameLength = 31;

// The three mixer operations the lookup needs.
class MixerCatalogue {
public:
    virtual ~MixerCatalogue() = default;
    virtual unsigned deviceCount() = 0;
    // False when the device's capabilities cannot be read.
    virtual bool productName(unsigned index, std::string& name) = 0;
    // Opens the device and closes it again at once.
    virtual bool opens(unsigned index) = 0;
};

HandsetMixerDevice findHandsetMixerDevice(MixerCatalogue& mixers);

// The text of a fixed-size character field that should end with a NUL; a field
// without one yields no more than size - 1 characters and is never read past.
std::string fieldText(const char* field, std::size_t size);

} // namespace volume
