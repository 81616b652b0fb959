#pragma once
// What the window-driven softphones share with the rest of the program: the
// windows found of the selected softphone, and the show/hide toggle that every
// softphone's show/hide key flips.

#include <windows.h>

#include <array>

namespace softphones {

// Guarded by the scan-window mutex between the poller and the key adapters;
// targetWindow is also read by the Skype key handling.
struct SoftphoneWindowState {
    HWND targetWindow = nullptr; // the selected softphone's main window as last found
    bool net2PhoneRunning = false;
    bool msnMessengerRunning = false;
    bool sjPhoneRunning = false;
    bool xLiteRunning = false;
    bool eyeBeamRunning = false;
    bool ringRequested = false; // an incoming-call window was seen, or the X-Lite ring burst is on
    HWND net2PhoneCallWindow = nullptr;
    HWND sjPhoneCallWindow = nullptr;
    HWND acceptButton = nullptr;
    bool acceptSeen = false;
    bool brandLabelSeen = false;
    std::array<HWND, 12> keypadButtons{}; // by handset key code minus 1
    HWND dialButton = nullptr;
    HWND hangUpButton = nullptr;
    HWND numberField = nullptr;
};

// The process's one instance of each.
SoftphoneWindowState& windowState();
bool& windowToggle(); // true at start: for Skype, the next toggle shows it

} // namespace softphones
