#pragma once
// Tells Skype to use the handset as its audio input and output.

namespace skype::win {

// A fresh lookup of the handset's mixer device, then "SET AUDIO_IN <name>" and
// "SET AUDIO_OUT <name>" in UTF-8 (without a name when there is no device).
void selectSkypeAudioDevice();

} // namespace skype::win
