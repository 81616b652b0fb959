#include "handset_mixer_device.h"

#include <algorithm>
#include <cstring>

namespace volume {

HandsetMixerDevice findHandsetMixerDevice(MixerCatalogue& mixers)
{
    HandsetMixerDevice found;
    const unsigned count = std::min(mixers.deviceCount(), kMaxMixerDevices);
    for (unsigned index = 0; index < count; ++index) {
        std::string name;
        if (!mixers.productName(index, name) || name.find("USB") == std::string::npos)
            continue;
        // A handset that is listed but will not open ends the search; what an
        // earlier index gave stands.
        if (!mixers.opens(index))
            break;
        found.mixerDeviceIndex = static_cast<int>(index);
        found.deviceName = std::move(name);
    }
    return found;
}

std::string fieldText(const char* field, std::size_t size)
{
    if (size == 0)
        return {};
    const void* end = std::memchr(field, '\0', size - 1);
    const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size - 1;
    return std::string(field, length);
}

} // namespace volume
