#pragma once
// The Skype call and key state. Plain values owned by the caller: the main
// window holds the window and key members, the process-wide values live
// beside it. Everything is read and written on the main window's thread.

#include <cstdint>
#include <string>
#include <vector>

namespace skype {

// SoftphoneIndex of Skype.
constexpr int kSkypeSoftphone = 0;

// Main window timers.
constexpr int kDownHoldTimer = 5;
constexpr int kKeepAliveTimer = 7;
constexpr int kHashTimer = 11;

constexpr std::uint32_t kDownHoldMs = 1000;
constexpr std::uint32_t kHashRepeatMs = 400;
constexpr std::uint32_t kKeepAliveMs = 6000;
constexpr std::uint32_t kRoutingKeepAliveMs = 5000;

// Members of the main window.
struct WindowCallState {
    bool incomingRinging = false;
    bool ringerOn = false; // the ringer decision for the current incoming call is taken
    bool outgoingCall = false;
    bool skypeAttached = false; // at least once; never cleared
    std::string userStatus;
    std::string currentUserHandle;
};

// Process-wide.
struct ProcessCallState {
    bool inCall = false;
    // Calls that commands are addressed to, in the order they became known.
    std::vector<std::string> activeCalls;
};

struct KeyState {
    bool hashPending = false;     // main window member
    bool downHoldPending = false; // process-wide
};

} // namespace skype
