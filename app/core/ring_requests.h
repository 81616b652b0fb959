#pragma once
// Ring requests the main window serves itself: the X-Lite ring burst of
// "ON_BUZZER", "OFF_BUZZER", and the SIP watcher's ringer on and off for
// X-Lite and eyeBeam.

#include "softphone_index.h"

#include <cstdint>

namespace app {

class RingHost {
public:
    virtual ~RingHost() = default;
    virtual void turnOnBuzzer(int on) = 0;
    virtual void setRingRequested(bool requested) = 0;
    // Window timers; starting a running one restarts its period.
    virtual void startTimer(int id, std::uint32_t periodMs) = 0;
    virtual void stopTimer(int id) = 0;
};

// The burst rings for kRingBurstHoldMs, then switches off on the first tick of
// timer 4. The hold is a timer of its own so that the window keeps handling
// messages meanwhile; its identifier is clear of the window's timers 4, 5, 7 and 11.
constexpr int kRingBurstEndTimer = 4;
constexpr std::uint32_t kRingBurstEndTimerMs = 100;
constexpr int kRingBurstHoldTimer = 40;
constexpr std::uint32_t kRingBurstHoldMs = 5000;

class RingRequests {
public:
    explicit RingRequests(RingHost& host) : host_(host) {}

    // "ON_BUZZER": a burst, with X-Lite selected only. A request during a burst
    // starts it afresh, so the ringer sounds until about 5.1 s after the latest one.
    void onBuzzerOn(SoftphoneIndex selected);
    // "OFF_BUZZER", whatever is selected: ringer off and any burst over, so that
    // its timers cannot switch off a ringer that another source turns on later.
    void onBuzzerOff();
    // "XLite_RING_ON" / "XLite_RING_OFF": only while X-Lite or eyeBeam is selected.
    void onSipRing(bool on, SoftphoneIndex selected);
    // True when the timer was one of the burst's and has been handled.
    bool onTimer(int id);

    bool bursting() const { return phase_ != Phase::Idle; }

private:
    enum class Phase { Idle, Sounding, Ending };

    void stopBurstTimers();

    RingHost& host_;
    Phase phase_ = Phase::Idle;
};

} // namespace app
