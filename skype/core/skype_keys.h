#pragma once
// Handset keys turned into Skype commands, and the two timers that finish a
// key action: '#' waiting for a second press, DOWN held.

#include "skype_effects.h"
#include "skype_state.h"

#include <string>
#include <vector>

namespace skype {

// code as the main window delivers it (13 NO, 14 YES); pressed is false for a
// release. The call flags are the caller's values at the time of the event.
// windowToggle is the process-wide show/hide flag shared with the other
// softphones. Commands go to the calls listed when each batch of them starts,
// whatever nested notifications do to the list meanwhile.
void onKey(int code, bool pressed, bool incomingRinging, bool inCall, bool outgoingCall, KeyState& keys,
           bool& windowToggle, const std::vector<std::string>& activeCalls, SkypeEffects& effects);

// Timer 5.
void onDownHoldTimer(KeyState& keys, SkypeEffects& effects);

// Timer 11; stops itself, since only its first firing after a press counts.
void onHashTimer(KeyState& keys, const std::vector<std::string>& activeCalls, SkypeEffects& effects);

} // namespace skype
