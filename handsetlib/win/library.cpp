#include "library.h"

#include "../core/signalling.h"

#include <platform/win/thread.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace quorvex::win {

HINSTANCE moduleInstance() noexcept { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

Library& Library::instance()
{
    // Lives until the process ends; the control thread and the ACK workers use it
    // to the last.
    static Library library;
    return library;
}

BOOL Library::init(const AppTarget& target)
{
    {
        std::lock_guard<platform::win::SrwMutex> guard(lock_);
        if (dialog_)
            return TRUE; // once per process; a second call changes nothing
        dialog_ = std::make_unique<HandsetControlDialog>(target, eepromMutex_);
        HandsetControlDialog* dialog = dialog_.get();
        controlThread_ = platform::win::startThread([dialog] { dialog->run(moduleInstance()); });
    }
    startAck();
    return TRUE;
}

BOOL Library::close()
{
    std::lock_guard<platform::win::SrwMutex> guard(lock_);
    if (dialog_)
        dialog_->end();
    return TRUE;
}

int Library::buzzer(int on)
{
    performSignal(bus_, clock_, eepromMutex_, buzzerSignal(on));
    return 0;
}

void Library::led(int pattern) { performSignal(bus_, clock_, eepromMutex_, ledSignal(pattern)); }

void Library::led2(int pattern) { performSignal(bus_, clock_, eepromMutex_, led2Signal(pattern)); }

void Library::runAckWorker(HANDLE stop)
{
    do {
        ackCycle(bus_, clock_, eepromMutex_);
    } while (::WaitForSingleObject(stop, kAckPeriodMs) == WAIT_TIMEOUT);
}

HANDLE Library::startAck()
{
    auto stop = std::make_shared<platform::win::UniqueHandle>(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!*stop)
        return nullptr;
    auto thread = platform::win::startThread([this, stop] { runAckWorker(stop->get()); });
    if (!thread)
        return nullptr;
    std::lock_guard<platform::win::SrwMutex> guard(lock_);
    lastAck_ = AckWorker{std::move(thread), std::move(stop)};
    return lastAck_.thread.get();
}

void Library::stopAck()
{
    AckWorker worker;
    {
        std::lock_guard<platform::win::SrwMutex> guard(lock_);
        worker = std::move(lastAck_);
    }
    if (!worker.stop)
        return;
    // The worker ends at its next pause; waiting for it leaves the bus quiet
    // when this returns. A cycle takes at most its lock wait and 45 ms.
    ::SetEvent(worker.stop->get());
    ::WaitForSingleObject(worker.thread.get(), kAckLockWaitMs + 1000);
}

bool Library::started() const
{
    std::lock_guard<platform::win::SrwMutex> guard(lock_);
    return dialog_ != nullptr;
}

} // namespace quorvex::win
