#pragma once
// The SIP call watcher: it rings the handset for X-Lite and eyeBeam when it sees
// an INVITE reach this host, and silences it on the next SIP message.

#include <windows.h>

namespace sipwatch {

// The window the watcher's ring messages go to. Published before the start.
void publishMainWindow(HWND window);
HWND mainWindow();

// Registers "XLite_RING_ON" and "XLite_RING_OFF" and starts watching.
void StartSipWatcher();

} // namespace sipwatch
