#pragma once
// A chip, a lock and a window host that record what the library's logic does
// to them, stamped with virtual time.

#include "virtual_clock.h"

#include <chip.h>
#include <handset_control.h>

#include <cstdint>
#include <deque>
#include <ostream>
#include <vector>

namespace testing_support {

struct BusEvent {
    enum Kind { Pins, Read, Write, Lock, Unlock, Notify, StartTimer, StopTimer } kind;
    double at;
    int a = 0; // pins, word address, notice, timer id
    int b = 0; // value, wParam, period

    friend bool operator==(const BusEvent& x, const BusEvent& y)
    {
        return x.kind == y.kind && x.at == y.at && x.a == y.a && x.b == y.b;
    }
    friend std::ostream& operator<<(std::ostream& os, const BusEvent& e)
    {
        static const char* const kNames[] = {"Pins", "Read", "Write", "Lock", "Unlock", "Notify", "StartTimer",
                                             "StopTimer"};
        return os << kNames[e.kind] << "@" << e.at << "(" << std::hex << e.a << "," << e.b << std::dec << ")";
    }
};

class EventLog {
public:
    explicit EventLog(VirtualClock& clock) : clock_(clock) {}
    void add(BusEvent::Kind kind, int a = 0, int b = 0) { events.push_back({kind, clock_.nowMs(), a, b}); }
    std::vector<BusEvent> events;

private:
    VirtualClock& clock_;
};

class FakeBus final : public quorvex::ChipBus {
public:
    explicit FakeBus(EventLog& log) : log_(log) {}

    void setPins(quorvex::Pins levels) override { log_.add(BusEvent::Pins, static_cast<int>(levels)); }
    bool readWord(int address, std::uint16_t& value) override
    {
        if (readResults.empty()) {
            log_.add(BusEvent::Read, address, -1);
            return false;
        }
        const int next = readResults.front();
        readResults.pop_front();
        log_.add(BusEvent::Read, address, next);
        if (next < 0)
            return false;
        value = static_cast<std::uint16_t>(next);
        return true;
    }
    void writeWord(int address, std::uint16_t value) override { log_.add(BusEvent::Write, address, value); }

    // Words the next reads answer; -1 or an empty queue is a failed read.
    std::deque<int> readResults;

private:
    EventLog& log_;
};

class FakeLock final : public quorvex::BusLock {
public:
    explicit FakeLock(EventLog& log, VirtualClock& clock) : log_(log), clock_(clock) {}

    bool acquire(std::uint32_t timeoutMs) override
    {
        if (!available) {
            clock_.advance(timeoutMs); // waits its whole timeout
            lastTimeout = timeoutMs;
            return false;
        }
        held = true;
        lastTimeout = timeoutMs;
        log_.add(BusEvent::Lock, static_cast<int>(timeoutMs));
        return true;
    }
    void release() override
    {
        held = false;
        log_.add(BusEvent::Unlock);
    }

    bool available = true;
    bool held = false;
    std::uint32_t lastTimeout = 0;

private:
    EventLog& log_;
    VirtualClock& clock_;
};

class FakeHost final : public quorvex::ControlHost {
public:
    FakeHost(EventLog& log, const FakeLock& lock) : log_(log), lock_(lock) {}

    void notify(quorvex::AppNotice notice, std::uintptr_t wParam) override
    {
        if (lock_.held)
            notifiedUnderLock = true;
        log_.add(BusEvent::Notify, static_cast<int>(notice), static_cast<int>(wParam));
    }
    void startTimer(int id, std::uint32_t periodMs) override
    {
        log_.add(BusEvent::StartTimer, id, static_cast<int>(periodMs));
    }
    void stopTimer(int id) override { log_.add(BusEvent::StopTimer, id); }

    bool notifiedUnderLock = false;

private:
    EventLog& log_;
    const FakeLock& lock_;
};

// Everything wired together, as the control window has it.
struct ControlRig {
    VirtualClock clock;
    EventLog log{clock};
    FakeBus bus{log};
    FakeLock lock{log, clock};
    FakeHost host{log, lock};
    quorvex::HandsetControl control{bus, clock, lock, host};

    std::vector<BusEvent> take()
    {
        std::vector<BusEvent> out;
        out.swap(log.events);
        return out;
    }
};

} // namespace testing_support
