#include "handset_control.h"

#include "signalling.h"

namespace quorvex {

namespace {

bool asksForPinRelease(std::uintptr_t pinState)
{
    switch (pinState) {
    case 7:
    case 9:
    case 12:
    case 13:
    case 14:
    case 15:
        return true;
    default:
        return false;
    }
}

constexpr std::uintptr_t kKeyWaiting = 2;

} // namespace

void HandsetControl::onCmHidEvent(CmHidEvent event, std::uintptr_t wParam)
{
    switch (event) {
    case CmHidEvent::DeviceAdded:
        onArrival();
        break;
    case CmHidEvent::DeviceRemoved:
        host_.notify(AppNotice::DeviceRemoved, 0);
        break;
    case CmHidEvent::VolumeDown:
        onVolume(wParam, 0);
        break;
    case CmHidEvent::VolumeUp:
        onVolume(wParam, 1);
        break;
    case CmHidEvent::Gpio:
        readKeyReport(wParam);
        break;
    case CmHidEvent::KeyDown:
    case CmHidEvent::KeyUp:
    case CmHidEvent::PlaybackMute:
    case CmHidEvent::RecordMute:
        break;
    }
}

void HandsetControl::onTimer(int id)
{
    if (id != kKeyEnableTimer)
        return;
    keyReportingEnabled_ = true;
    host_.stopTimer(kKeyEnableTimer);
}

void HandsetControl::onArrival()
{
    host_.notify(AppNotice::DeviceAdded, 0);
    clock_.sleepMs(kArrivalPauseMs);
    host_.startTimer(kKeyEnableTimer, kKeyEnableDelayMs);
    // Under the lock, so that its handshake cannot interleave with an ACK cycle
    // or a request on another thread.
    BusOwnership owned(lock_, kRequestLockWaitMs);
    if (owned.owned())
        writeHandsetCommand(bus_, clock_, kArrivalCommand);
}

void HandsetControl::onVolume(std::uintptr_t kind, std::uintptr_t direction)
{
    if (kind == 2)
        host_.notify(AppNotice::VolumeB, direction);
    else if (kind == 1)
        host_.notify(AppNotice::VolumeA, direction);
}

void HandsetControl::readKeyReport(std::uintptr_t pinState)
{
    if (pinState == kKeyWaiting) {
        BusOwnership owned(lock_, kKeyReadLockWaitMs);
        if (owned.owned()) {
            bus_.setPins(Pins::High);
            keyReportValid_ = bus_.readWord(kKeyReportWord, keyReportWord_);
        }
    } else if (asksForPinRelease(pinState)) {
        // Also under the lock: a release in the middle of another thread's
        // handshake would corrupt its command.
        BusOwnership owned(lock_, kKeyReadLockWaitMs);
        if (owned.owned())
            bus_.setPins(Pins::Low);
    }

    if (keyReportValid_) {
        keyReportValid_ = false;
        deliver(translateKeyScan(keyReportWord_));
    }
}

void HandsetControl::deliver(KeyEvent key)
{
    if (!keyReportingEnabled_ || key.code <= 0)
        return;
    host_.notify(key.pressed ? AppNotice::KeyDown : AppNotice::KeyUp, static_cast<std::uintptr_t>(key.code));
}

} // namespace quorvex
