#pragma once
// The handset's mixer device and its speaker volume through winmm. Every
// operation opens the mixer itself and closes it before it returns.

#include <handset_mixer_device.h>
#include <handset_volume.h>

#include <platform/win/handles.h>

namespace volume::win {

using platform::win::UniqueMixer;

// Mixer device index, no callback, flags 0; empty when the device does not open.
UniqueMixer openMixer(UINT index);

class WinmmCatalogue final : public MixerCatalogue {
public:
    unsigned deviceCount() override;
    bool productName(unsigned index, std::string& name) override;
    bool opens(unsigned index) override;
};

class MixerHandsetVolume final : public HandsetVolume {
public:
    unsigned get(const HandsetMixerDevice& device) override;
    void set(const HandsetMixerDevice& device, unsigned value) override;
};

} // namespace volume::win

namespace volume {

HandsetMixerDevice findHandsetMixerDevice();

// The volume control of the speakers destination of the device's mixer.
unsigned getHandsetVolume(const HandsetMixerDevice& device);
void setHandsetVolume(const HandsetMixerDevice& device, unsigned value);

} // namespace volume
