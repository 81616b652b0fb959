#include "winmm_mixer.h"

#include <optional>
#include <utility>

namespace volume::win {

// The ANSI structures as 32-bit Windows lays them out; 64-bit builds pass their
// own sizes.
static_assert(sizeof(MIXERCAPSA) == 48);
static_assert(sizeof(MIXERCONTROLA) == 148);
#ifndef _WIN64
static_assert(sizeof(MIXERLINEA) == 168);
static_assert(sizeof(MIXERLINECONTROLSA) == 24);
static_assert(sizeof(MIXERCONTROLDETAILS) == 24);
#endif

namespace {

// winmm calls answer an MMRESULT; anything but MMSYSERR_NOERROR is a failure.
bool succeeded(MMRESULT result) { return result == MMSYSERR_NOERROR; }

HMIXEROBJ object(const UniqueMixer& mixer) { return reinterpret_cast<HMIXEROBJ>(mixer.get()); }

struct VolumeControl {
    UniqueMixer mixer;
    DWORD controlId = 0;
};

// Stops at the first step that fails: with a zeroed line or control identifier
// the later calls could address some other line's control.
std::optional<VolumeControl> openSpeakerVolume(const HandsetMixerDevice& device)
{
    if (device.mixerDeviceIndex < 0)
        return std::nullopt;
    UniqueMixer mixer = openMixer(static_cast<UINT>(device.mixerDeviceIndex));
    if (!mixer)
        return std::nullopt;

    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (!succeeded(::mixerGetLineInfoA(object(mixer), &line, MIXER_GETLINEINFOF_COMPONENTTYPE)))
        return std::nullopt;

    MIXERCONTROLA control{};
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    if (!succeeded(::mixerGetLineControlsA(object(mixer), &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE)))
        return std::nullopt;

    return VolumeControl{std::move(mixer), control.dwControlID};
}

// One value for all channels.
MIXERCONTROLDETAILS detailsOf(DWORD controlId, MIXERCONTROLDETAILS_UNSIGNED& value)
{
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = controlId;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    return details;
}

} // namespace

UniqueMixer openMixer(UINT index)
{
    // The handle is taken only from a successful open.
    HMIXER handle = nullptr;
    if (!succeeded(::mixerOpen(&handle, index, 0, 0, 0)))
        return UniqueMixer();
    return UniqueMixer(handle);
}

unsigned WinmmCatalogue::deviceCount() { return ::mixerGetNumDevs(); }

bool WinmmCatalogue::productName(unsigned index, std::string& name)
{
    MIXERCAPSA caps{};
    if (!succeeded(::mixerGetDevCapsA(index, &caps, sizeof caps)))
        return false;
    name = fieldText(caps.szPname, sizeof caps.szPname);
    return true;
}

bool WinmmCatalogue::opens(unsigned index) { return static_cast<bool>(openMixer(index)); }

unsigned MixerHandsetVolume::get(const HandsetMixerDevice& device) { return getHandsetVolume(device); }

void MixerHandsetVolume::set(const HandsetMixerDevice& device, unsigned value) { setHandsetVolume(device, value); }

} // namespace volume::win

namespace volume {

HandsetMixerDevice findHandsetMixerDevice()
{
    win::WinmmCatalogue mixers;
    return findHandsetMixerDevice(mixers);
}

unsigned getHandsetVolume(const HandsetMixerDevice& device)
{
    auto control = win::openSpeakerVolume(device);
    if (!control)
        return 0;
    MIXERCONTROLDETAILS_UNSIGNED value{};
    MIXERCONTROLDETAILS details = win::detailsOf(control->controlId, value);
    if (!win::succeeded(::mixerGetControlDetailsA(win::object(control->mixer), &details,
                                                  MIXER_GETCONTROLDETAILSF_VALUE)))
        return 0;
    return value.dwValue;
}

void setHandsetVolume(const HandsetMixerDevice& device, unsigned value)
{
    auto control = win::openSpeakerVolume(device);
    if (!control)
        return;
    MIXERCONTROLDETAILS_UNSIGNED setting{};
    setting.dwValue = value;
    MIXERCONTROLDETAILS details = win::detailsOf(control->controlId, setting);
    ::mixerSetControlDetails(win::object(control->mixer), &details, MIXER_SETCONTROLDETAILSF_VALUE);
}

} // namespace volume
