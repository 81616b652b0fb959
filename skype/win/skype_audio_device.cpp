#include "skype_audio_device.h"

#include "skype_link.h"

#include <winmm_mixer.h>

#include <string>

namespace skype::win {

void selectSkypeAudioDevice()
{
    const volume::HandsetMixerDevice device = volume::findHandsetMixerDevice();
    // The UTF-8 send trims, so an empty name leaves "SET AUDIO_IN" alone.
    SendSkypeCommandUtf8(("SET AUDIO_IN " + device.deviceName).c_str());
    SendSkypeCommandUtf8(("SET AUDIO_OUT " + device.deviceName).c_str());
}

} // namespace skype::win
