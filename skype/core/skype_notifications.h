#pragma once
// The main window's handling of the Skype link: the attach, each received
// notification and the keep-alive timer.

#include "skype_effects.h"
#include "skype_state.h"

#include <string_view>

namespace skype {

// Whatever softphone is selected.
void onConnectFinish(WindowCallState& window, SkypeEffects& effects);

// One notification line. Ignored unless Skype is the selected softphone.
// Re-entrant: a notification may arrive nested inside one of the sends made
// here and sees the state as far as the outer one has changed it. The text
// must stay valid until this returns.
void onNotification(std::string_view text, int selectedSoftphone, WindowCallState& window,
                    ProcessCallState& process, SkypeEffects& effects);

// Timer 7: "PING", and the ringer decision that an access error undid.
void onKeepAliveTimer(int selectedSoftphone, WindowCallState& window, const ProcessCallState& process,
                      SkypeEffects& effects);

} // namespace skype
