#pragma once
// The control window's decisions: what each CM_HID notification and timer
// does, with the chip, the clock, the lock and the window behind interfaces.

#include "chip.h"
#include "key_table.h"

#include <platform/clock.h>

#include <cstdint>

namespace quorvex {

// CM_HID's notifications, in the order their messages are registered and
// handed to StartDeviceDetectionProc.
enum class CmHidEvent {
    DeviceAdded,
    DeviceRemoved,
    KeyDown,
    KeyUp,
    VolumeDown,
    VolumeUp,
    PlaybackMute,
    RecordMute,
    Gpio,
};
constexpr int kCmHidEventCount = 9;

// What the library tells the application window.
enum class AppNotice {
    DeviceAdded,
    DeviceRemoved,
    KeyDown,
    KeyUp,
    VolumeA,
    VolumeB,
};

class ControlHost {
public:
    virtual ~ControlHost() = default;
    // Synchronous: returns once the application has handled it. Never called
    // with the bus lock held, so the application may signal from its handler.
    virtual void notify(AppNotice notice, std::uintptr_t wParam) = 0;
    virtual void startTimer(int id, std::uint32_t periodMs) = 0;
    virtual void stopTimer(int id) = 0;
};

constexpr int kHideTimer = 1;
constexpr std::uint32_t kHideTimerMs = 100;
constexpr int kKeyEnableTimer = 5;
constexpr std::uint32_t kKeyEnableDelayMs = 1200;
constexpr std::uint32_t kArrivalPauseMs = 50;

// A key read that finds a transaction under way waits for it instead of losing
// the key; a transaction holds the lock for well under 100 ms.
constexpr std::uint32_t kKeyReadLockWaitMs = 500;

class HandsetControl {
public:
    HandsetControl(ChipBus& bus, platform::Clock& clock, BusLock& lock, ControlHost& host)
        : bus_(bus), clock_(clock), lock_(lock), host_(host)
    {
    }

    void onCmHidEvent(CmHidEvent event, std::uintptr_t wParam);
    // Timer 5 only; timer 1 (re-hiding) is the window's own business.
    void onTimer(int id);

    bool keyReportingEnabled() const { return keyReportingEnabled_; }

private:
    void onArrival();
    void onVolume(std::uintptr_t kind, std::uintptr_t direction);
    void readKeyReport(std::uintptr_t pinState);
    void deliver(KeyEvent key);

    ChipBus& bus_;
    platform::Clock& clock_;
    BusLock& lock_;
    ControlHost& host_;

    std::uint16_t keyReportWord_ = 0;
    bool keyReportValid_ = false;
    bool keyReportingEnabled_ = false;
};

} // namespace quorvex
