// Wine's own winmm over the null ALSA devices of alsa-mixers.conf, listed as
// "Out: <name>" and "In: <name>" mixers. An "Out:" mixer has a speakers
// destination with a settable volume; an "In:" mixer has none.

#include <winmm_mixer.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using volume::HandsetMixerDevice;

namespace {

const std::vector<std::string> kSessionMixers = {
    "Out: USB Audio Device", "Out: Second USB Handset", "Out: usb speaker",
    "In: USB Audio Device",  "In: Second USB Handset",  "In: usb speaker",
};

std::vector<std::string> mixerNames()
{
    std::vector<std::string> names;
    const UINT count = ::mixerGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
        MIXERCAPSA caps{};
        names.push_back(::mixerGetDevCapsA(i, &caps, sizeof caps) == MMSYSERR_NOERROR ? caps.szPname : "<no caps>");
    }
    return names;
}

HandsetMixerDevice device(int index) { return {index, index < 0 ? "" : kSessionMixers.at(index)}; }

// The volume of destination 0 of every mixer, read without the code under test.
std::vector<DWORD> destinationVolumes()
{
    std::vector<DWORD> volumes;
    for (UINT i = 0; i < kSessionMixers.size(); ++i) {
        HMIXER mixer = nullptr;
        DWORD value = 0xFFFFFFFF;
        if (::mixerOpen(&mixer, i, 0, 0, 0) == MMSYSERR_NOERROR) {
            const auto object = reinterpret_cast<HMIXEROBJ>(mixer);
            MIXERLINEA line{};
            line.cbStruct = sizeof line;
            line.dwDestination = 0;
            MIXERCONTROLA control{};
            MIXERLINECONTROLSA controls{};
            controls.cbStruct = sizeof controls;
            controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
            controls.cControls = 1;
            controls.cbmxctrl = sizeof control;
            controls.pamxctrl = &control;
            MIXERCONTROLDETAILS_UNSIGNED detail{};
            MIXERCONTROLDETAILS details{};
            details.cbStruct = sizeof details;
            details.cChannels = 1;
            details.cbDetails = sizeof detail;
            details.paDetails = &detail;
            if (::mixerGetLineInfoA(object, &line, MIXER_GETLINEINFOF_DESTINATION) == MMSYSERR_NOERROR) {
                controls.dwLineID = line.dwLineID;
                if (::mixerGetLineControlsA(object, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) == MMSYSERR_NOERROR) {
                    details.dwControlID = control.dwControlID;
                    if (::mixerGetControlDetailsA(object, &details, MIXER_GETCONTROLDETAILSF_VALUE) ==
                        MMSYSERR_NOERROR)
                        value = detail.dwValue;
                }
            }
            ::mixerClose(mixer);
        }
        volumes.push_back(value);
    }
    return volumes;
}

class WinmmMixer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(mixerNames(), kSessionMixers)
            << "the Wine session lists other mixers than scripts/lib/prefix-setup/alsa-mixers.sh sets up";
    }
};

} // namespace

TEST_F(WinmmMixer, LookupTakesTheLastUsbDeviceThatOpens)
{
    const auto found = volume::findHandsetMixerDevice();
    std::printf("chosen: %d \"%s\"\n", found.mixerDeviceIndex, found.deviceName.c_str());
    // Not 0, 1 or 3 (earlier matches) nor 2 or 5 (lower-case "usb").
    EXPECT_EQ(found.mixerDeviceIndex, 4);
    EXPECT_EQ(found.deviceName, "In: Second USB Handset");
}

TEST_F(WinmmMixer, SpeakerVolumeSetsAndReadsBackOnItsOwnDevice)
{
    volume::win::MixerHandsetVolume mixerVolume;
    volume::HandsetVolume& speaker = mixerVolume;
    const auto handset = device(1);
    const auto before = destinationVolumes();

    for (unsigned value : {40000u, 0u, 65535u, 12345u}) {
        SCOPED_TRACE(value);
        speaker.set(handset, value);
        EXPECT_EQ(speaker.get(handset), value);
        EXPECT_EQ(volume::getHandsetVolume(handset), value);
    }

    auto expected = before;
    expected[1] = 12345;
    EXPECT_EQ(destinationVolumes(), expected);
}

TEST_F(WinmmMixer, WithoutASpeakerVolumeReadsZeroAndSetsNothing)
{
    const auto before = destinationVolumes();
    ASSERT_EQ(before[0], 65535u) << "a fresh process starts at full volume";

    struct Row {
        const char* name;
        HandsetMixerDevice device;
    };
    const Row rows[] = {
        {"no handset mixer device", device(-1)},
        {"a device that does not open", {99, "Out: USB Gone"}},
        {"a capture mixer without a speakers destination", device(4)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(volume::getHandsetVolume(row.device), 0u);
        volume::setHandsetVolume(row.device, 1234);
        EXPECT_EQ(volume::getHandsetVolume(row.device), 0u);
        EXPECT_EQ(destinationVolumes(), before);
    }
}

TEST_F(WinmmMixer, OpenFailureEndsTheLookup)
{
    GTEST_SKIP() << "Wine opens every mixer device it lists, so a listed handset that does not open cannot be "
                    "arranged; volume_native_tests covers it";
}

TEST_F(WinmmMixer, DevicesFromIndex20AreNeverChosen)
{
    GTEST_SKIP() << "the session lists " << kSessionMixers.size()
                 << " mixer devices; 21 or more would cost every Wine test that uses winmm about a second "
                    "(about 70 ms per ALSA device); volume_native_tests covers it";
}
