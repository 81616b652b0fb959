#pragma once
// Handset keys to the handler of the selected softphone, with the ringer
// silenced before the answer and hang-up keys.

#include "softphone_index.h"

#include <platform/clock.h>

#include <cstdint>
#include <ostream>

namespace app {

// A window handle, opaque to the logic.
using WindowHandle = void*;

struct SkypeCallFlags {
    bool incomingRinging = false;
    bool inCall = false;
    bool outgoingCall = false;

    friend bool operator==(const SkypeCallFlags& a, const SkypeCallFlags& b)
    {
        return a.incomingRinging == b.incomingRinging && a.inCall == b.inCall && a.outgoingCall == b.outgoingCall;
    }
};

class KeyRoutingHost {
public:
    virtual ~KeyRoutingHost() = default;
    virtual void turnOnBuzzer(int on) = 0;
    // The scan-window mutex. True when it is owned, also when it was abandoned.
    virtual bool acquireScanWindow(std::uint32_t timeoutMs) = 0;
    virtual void releaseScanWindow() = 0;
    virtual SkypeCallFlags skypeCallFlags() = 0;
    // The selected softphone's main window as the poller last found it.
    virtual WindowHandle targetWindow() = 0;

    // Skype is told whether the key is pressed, the other adapters whether it is released.
    virtual void skypeKey(int code, bool pressed, const SkypeCallFlags& flags) = 0;
    virtual void net2PhoneKey(int code, bool released) = 0;
    virtual void msnMessengerKey(int code, bool released) = 0;
    virtual void sjPhoneKey(int code, bool released) = 0;
    virtual void xLiteKey(int code, bool released, WindowHandle target) = 0;
    virtual void eyeBeamKey(int code, bool released, WindowHandle target) = 0;
};

enum class KeyDirection { Down, Up };

enum class KeyRouting {
    Skype,
    Adapter,
    NoSoftphone, // selection outside 0..5
    Dropped,     // the scan-window mutex could not be had
};

inline std::ostream& operator<<(std::ostream& os, KeyRouting r)
{
    static const char* const kNames[] = {"Skype", "Adapter", "NoSoftphone", "Dropped"};
    return os << kNames[static_cast<int>(r)];
}

constexpr std::uint32_t kAnswerKeyPauseMs = 350;
constexpr std::uint32_t kScanWindowWaitMs = 2000;
// The poller holds the mutex only briefly, but runs below normal priority and
// can be starved while holding it on a busy machine until the scheduler boosts
// it (about 4 s). Waiting three times covers that; a mutex held longer than
// 6 s is taken as stuck and the key dropped, so the window never hangs on it.
constexpr int kScanWindowWaitAttempts = 3;

// YES and NO arrive from the library as 13 and 14; every handler sees them exchanged.
constexpr int exchangeYesNo(int libraryCode)
{
    return libraryCode == 13 ? 14 : libraryCode == 14 ? 13 : libraryCode;
}

// Every code is passed on, 0 and codes above 21 included; handlers ignore what
// they do not know. The adapters never run without the scan-window mutex, which
// is released even when an adapter throws.
KeyRouting routeKey(KeyRoutingHost& host, platform::Clock& clock, KeyDirection direction, int libraryCode,
                    SoftphoneIndex selected);

} // namespace app
