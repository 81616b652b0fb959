#include "fake_chip.h"

#include <signalling.h>

#include <gtest/gtest.h>

using namespace testing_support;
using quorvex::Pins;
using E = BusEvent;

namespace {

struct Rig {
    VirtualClock clock;
    EventLog log{clock};
    FakeBus bus{log};
    FakeLock lock{log, clock};
};

std::vector<BusEvent> handshake(double start, int value, int settle, int hold)
{
    const double w = start + settle;
    return {{E::Lock, start, 2000},
            {E::Pins, start, static_cast<int>(Pins::Start)},
            {E::Write, w, 32, value},
            {E::Pins, w, static_cast<int>(Pins::Strobe)},
            {E::Pins, w, static_cast<int>(Pins::Low)},
            {E::Unlock, w + hold}};
}

} // namespace

TEST(Signalling, RequestsWriteTheirValuesWithTheirTimings)
{
    struct Row {
        const char* name;
        quorvex::Signal signal;
        int value, settle, hold, after;
    };
    const Row rows[] = {
        {"buzzer 1", quorvex::buzzerSignal(1), 0x11, 15, 30, 100},
        {"buzzer 0", quorvex::buzzerSignal(0), 0x10, 15, 30, 100},
        {"buzzer 256 (low byte zero)", quorvex::buzzerSignal(256), 0x10, 15, 30, 100},
        {"buzzer 0x1FF", quorvex::buzzerSignal(0x1FF), 0x11, 15, 30, 100},
        {"LED 1", quorvex::ledSignal(1), 0x21, 10, 30, 70},
        {"LED 2", quorvex::ledSignal(2), 0x20, 10, 30, 70},
        {"LED 3", quorvex::ledSignal(3), 0x23, 10, 30, 70},
        {"LED 4", quorvex::ledSignal(4), 0x22, 10, 30, 70},
        {"LED2 1", quorvex::led2Signal(1), 0x29, 20, 30, 70},
        {"LED2 2", quorvex::led2Signal(2), 0x28, 20, 30, 70},
        {"LED2 3", quorvex::led2Signal(3), 0x2B, 20, 30, 70},
        {"LED2 4", quorvex::led2Signal(4), 0x2A, 20, 20, 70},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        quorvex::performSignal(rig.bus, rig.clock, rig.lock, row.signal);
        EXPECT_EQ(rig.log.events, handshake(0, row.value, row.settle, row.hold));
        EXPECT_EQ(rig.clock.nowMs(), row.settle + row.hold + row.after);
    }
}

TEST(Signalling, PatternsOutsideOneToFourOnlyDelay)
{
    for (int pattern : {0, 5, -1, 256}) {
        SCOPED_TRACE(pattern);
        for (auto signal : {quorvex::ledSignal(pattern), quorvex::led2Signal(pattern)}) {
            Rig rig;
            quorvex::performSignal(rig.bus, rig.clock, rig.lock, signal);
            // The lock is taken briefly, no pin is touched, the caller waits 70 ms.
            EXPECT_EQ(rig.log.events, (std::vector<BusEvent>{{E::Lock, 0, 2000}, {E::Unlock, 0}}));
            EXPECT_EQ(rig.clock.nowMs(), 70);
        }
    }
}

TEST(Signalling, RequestWithoutTheLockDrivesNoPin)
{
    Rig rig;
    rig.lock.available = false;
    quorvex::performSignal(rig.bus, rig.clock, rig.lock, quorvex::buzzerSignal(1));
    EXPECT_TRUE(rig.log.events.empty());
    EXPECT_EQ(rig.lock.lastTimeout, 2000u);
    EXPECT_EQ(rig.clock.nowMs(), 2000 + 100); // the whole wait, then the after time
}

TEST(Signalling, AckCycle)
{
    const int start = static_cast<int>(Pins::Start), strobe = static_cast<int>(Pins::Strobe),
              low = static_cast<int>(Pins::Low);
    struct Row {
        const char* name;
        int word; // -1: the read fails
        quorvex::AckOutcome outcome;
        bool writes;
    };
    const Row rows[] = {
        {"word already 0x0200", 0x0200, quorvex::AckOutcome::Confirmed, false},
        {"word holds a command", 0x0011, quorvex::AckOutcome::Rewritten, true},
        {"read fails", -1, quorvex::AckOutcome::Rewritten, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.bus.readResults = {row.word};
        EXPECT_EQ(quorvex::ackCycle(rig.bus, rig.clock, rig.lock), row.outcome);
        std::vector<BusEvent> expected = {{E::Lock, 0, 3000}, {E::Pins, 0, start}, {E::Read, 30, 32, row.word}};
        if (row.writes)
            expected.push_back({E::Write, 30, 32, 0x0200});
        expected.insert(expected.end(), {{E::Pins, 45, strobe}, {E::Pins, 45, low}, {E::Unlock, 45}});
        EXPECT_EQ(rig.log.events, expected);
    }
}

TEST(Signalling, AckCycleWithoutTheLockIsSkipped)
{
    Rig rig;
    rig.lock.available = false;
    EXPECT_EQ(quorvex::ackCycle(rig.bus, rig.clock, rig.lock), quorvex::AckOutcome::Skipped);
    EXPECT_TRUE(rig.log.events.empty());
    EXPECT_EQ(rig.lock.lastTimeout, 3000u);
}
