#pragma once
// The library's state for the life of the process: the EEPROM mutex, the
// control dialog and its thread, the ACK workers.

#include "cmhid_bus.h"
#include "control_dialog.h"

#include <platform/win/handles.h>
#include <platform/win/precise_clock.h>

#include <memory>
#include <mutex>
#include <platform/win/sync.h>

namespace quorvex::win {

class Library {
public:
    static Library& instance();

    BOOL init(const AppTarget& target);
    BOOL close();

    int buzzer(int on);
    void led(int pattern);
    void led2(int pattern);

    HANDLE startAck();
    void stopAck();

    // True once the control thread and an ACK worker run: the library must not
    // be unloaded then.
    bool started() const;

private:
    Library() = default;

    struct AckWorker {
        platform::win::UniqueHandle thread;
        std::shared_ptr<platform::win::UniqueHandle> stop;
    };

    void runAckWorker(HANDLE stop);

    EepromMutex eepromMutex_;
    CmHidBus bus_;
    platform::win::PreciseClock clock_;

    mutable platform::win::SrwMutex lock_; // guards the members below, not the bus
    std::unique_ptr<HandsetControlDialog> dialog_;
    platform::win::UniqueHandle controlThread_;
    AckWorker lastAck_;
};

HINSTANCE moduleInstance() noexcept;

} // namespace quorvex::win
