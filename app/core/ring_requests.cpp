#include "ring_requests.h"

namespace app {

void RingRequests::onBuzzerOn(SoftphoneIndex selected)
{
    if (selected != kXLite)
        return;
    if (phase_ == Phase::Ending)
        host_.stopTimer(kRingBurstEndTimer);
    host_.setRingRequested(true);
    host_.turnOnBuzzer(1);
    host_.startTimer(kRingBurstHoldTimer, kRingBurstHoldMs);
    phase_ = Phase::Sounding;
}

void RingRequests::onBuzzerOff()
{
    host_.setRingRequested(false);
    host_.turnOnBuzzer(0);
    stopBurstTimers();
}

void RingRequests::onSipRing(bool on, SoftphoneIndex selected)
{
    if (selected == kXLite || selected == kEyeBeam)
        host_.turnOnBuzzer(on ? 1 : 0);
}

// Stopping a timer leaves a tick already queued; such a stale tick finds the
// burst in another phase and changes nothing.
bool RingRequests::onTimer(int id)
{
    if (id == kRingBurstHoldTimer) {
        host_.stopTimer(kRingBurstHoldTimer);
        if (phase_ == Phase::Sounding) {
            host_.startTimer(kRingBurstEndTimer, kRingBurstEndTimerMs);
            phase_ = Phase::Ending;
        }
        return true;
    }
    if (id == kRingBurstEndTimer) {
        if (phase_ == Phase::Ending) {
            host_.turnOnBuzzer(0);
            host_.setRingRequested(false);
            phase_ = Phase::Idle;
        }
        host_.stopTimer(kRingBurstEndTimer);
        return true;
    }
    return false;
}

void RingRequests::stopBurstTimers()
{
    if (phase_ == Phase::Sounding)
        host_.stopTimer(kRingBurstHoldTimer);
    else if (phase_ == Phase::Ending)
        host_.stopTimer(kRingBurstEndTimer);
    phase_ = Phase::Idle;
}

} // namespace app
