#pragma once
// The speaker volume of the handset's mixer device, behind a seam so that the
// key handling that steps it can be tested without a mixer.

#include "handset_mixer_device.h"

namespace volume {

class HandsetVolume {
public:
    virtual ~HandsetVolume() = default;
    // 0 when the volume cannot be read, as with no handset mixer device.
    virtual unsigned get(const HandsetMixerDevice& device) = 0;
    // No effect when the device has no volume to set.
    virtual void set(const HandsetMixerDevice& device, unsigned value) = 0;
};

} // namespace volume
