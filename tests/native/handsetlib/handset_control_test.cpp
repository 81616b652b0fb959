#include "fake_chip.h"

#include <gtest/gtest.h>

using namespace testing_support;
using quorvex::AppNotice;
using quorvex::CmHidEvent;
using quorvex::Pins;
using E = BusEvent;

namespace {

constexpr int kPinsHigh = static_cast<int>(Pins::High);
constexpr int kPinsLow = static_cast<int>(Pins::Low);

void enableKeys(ControlRig& rig)
{
    rig.control.onTimer(quorvex::kKeyEnableTimer);
    rig.take();
}

} // namespace

TEST(HandsetControl, ArrivalNotifiesPausesArmsTimerAndSendsTheArrivalCommand)
{
    ControlRig rig;
    rig.control.onCmHidEvent(CmHidEvent::DeviceAdded, 0);
    const std::vector<BusEvent> expected = {
        {E::Notify, 0, static_cast<int>(AppNotice::DeviceAdded), 0},
        {E::StartTimer, 50, 5, 1200},
        {E::Lock, 50, 2000},
        {E::Pins, 50, static_cast<int>(Pins::Start)},
        {E::Write, 65, 32, 0x0030},
        {E::Pins, 65, static_cast<int>(Pins::Strobe)},
        {E::Pins, 65, kPinsLow},
        {E::Unlock, 95},
    };
    EXPECT_EQ(rig.take(), expected);
    EXPECT_FALSE(rig.control.keyReportingEnabled());

    rig.control.onTimer(quorvex::kKeyEnableTimer);
    EXPECT_TRUE(rig.control.keyReportingEnabled());
    EXPECT_EQ(rig.take(), (std::vector<BusEvent>{{E::StopTimer, 95, 5}}));
}

TEST(HandsetControl, ArrivalWithoutTheLockSkipsOnlyTheCommand)
{
    ControlRig rig;
    rig.lock.available = false;
    rig.control.onCmHidEvent(CmHidEvent::DeviceAdded, 0);
    const auto events = rig.take();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, E::Notify);
    EXPECT_EQ(events[1].kind, E::StartTimer);
}

TEST(HandsetControl, KeysAreDroppedUntilReportingIsEnabledAndNeverKept)
{
    ControlRig rig;
    rig.bus.readResults = {0x0000};
    rig.control.onCmHidEvent(CmHidEvent::Gpio, 2);
    const auto before = rig.take();
    ASSERT_EQ(before.size(), 4u); // lock, pins high, read, unlock: no notification
    EXPECT_EQ(before[2].kind, E::Read);

    enableKeys(rig);
    rig.control.onCmHidEvent(CmHidEvent::Gpio, 12); // the earlier key is not replayed
    rig.bus.readResults = {0x0080};
    rig.control.onCmHidEvent(CmHidEvent::Gpio, 2);
    const auto after = rig.take();
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back(), (BusEvent{E::Notify, 0, static_cast<int>(AppNotice::KeyUp), 1}));
    int notices = 0;
    for (const auto& e : after)
        notices += e.kind == E::Notify;
    EXPECT_EQ(notices, 1);
}

TEST(HandsetControl, PinStates)
{
    struct Row {
        unsigned state;
        std::vector<BusEvent> events;
    };
    const std::vector<BusEvent> release = {{E::Lock, 0, 500}, {E::Pins, 0, kPinsLow}, {E::Unlock, 0}};
    const std::vector<Row> rows = {
        {2, {{E::Lock, 0, 500}, {E::Pins, 0, kPinsHigh}, {E::Read, 0, 48, 0x41}, {E::Unlock, 0},
             {E::Notify, 0, static_cast<int>(AppNotice::KeyDown), 18}}},
        {7, release}, {9, release}, {12, release}, {13, release}, {14, release}, {15, release},
        {0, {}}, {1, {}}, {3, {}}, {4, {}}, {5, {}}, {6, {}}, {8, {}}, {10, {}}, {11, {}}, {16, {}}, {255, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "pin state " << row.state);
        ControlRig rig;
        enableKeys(rig);
        rig.bus.readResults = {0x41};
        rig.control.onCmHidEvent(CmHidEvent::Gpio, row.state);
        EXPECT_EQ(rig.take(), row.events);
        EXPECT_FALSE(rig.host.notifiedUnderLock);
    }
}

TEST(HandsetControl, FailedReadSendsNothingEvenAfterAGoodOne)
{
    ControlRig rig;
    enableKeys(rig);
    rig.bus.readResults = {0x30, -1};
    rig.control.onCmHidEvent(CmHidEvent::Gpio, 2);
    ASSERT_EQ(rig.take().back().kind, E::Notify);
    rig.control.onCmHidEvent(CmHidEvent::Gpio, 2);
    for (const auto& e : rig.take())
        EXPECT_NE(e.kind, E::Notify) << e;
}

TEST(HandsetControl, KeyReadWaitsForABusyLockAndNeverDrivesPinsWithoutIt)
{
    ControlRig rig;
    enableKeys(rig);
    rig.lock.available = false;
    rig.bus.readResults = {0x30};
    rig.control.onCmHidEvent(CmHidEvent::Gpio, 2);
    rig.control.onCmHidEvent(CmHidEvent::Gpio, 12);
    EXPECT_TRUE(rig.take().empty());
    EXPECT_EQ(rig.lock.lastTimeout, quorvex::kKeyReadLockWaitMs);
}

TEST(HandsetControl, StatusReportsAndUnknownWordsSendNothing)
{
    for (int word : {0xD0, 0xD3, 0xD5, 0x44, 0xF1, 0x100}) {
        SCOPED_TRACE(word);
        ControlRig rig;
        enableKeys(rig);
        rig.bus.readResults = {word};
        rig.control.onCmHidEvent(CmHidEvent::Gpio, 2);
        for (const auto& e : rig.take())
            EXPECT_NE(e.kind, E::Notify);
    }
}

TEST(HandsetControl, VolumeAndIgnoredNotifications)
{
    struct Row {
        CmHidEvent event;
        unsigned wParam;
        std::vector<BusEvent> events;
    };
    const std::vector<Row> rows = {
        {CmHidEvent::VolumeDown, 1, {{E::Notify, 0, static_cast<int>(AppNotice::VolumeA), 0}}},
        {CmHidEvent::VolumeUp, 1, {{E::Notify, 0, static_cast<int>(AppNotice::VolumeA), 1}}},
        {CmHidEvent::VolumeDown, 2, {{E::Notify, 0, static_cast<int>(AppNotice::VolumeB), 0}}},
        {CmHidEvent::VolumeUp, 2, {{E::Notify, 0, static_cast<int>(AppNotice::VolumeB), 1}}},
        {CmHidEvent::VolumeUp, 0, {}},
        {CmHidEvent::VolumeDown, 3, {}},
        {CmHidEvent::KeyDown, 0, {}},
        {CmHidEvent::KeyUp, 0, {}},
        {CmHidEvent::PlaybackMute, 0, {}},
        {CmHidEvent::RecordMute, 0, {}},
        {CmHidEvent::DeviceRemoved, 0, {{E::Notify, 0, static_cast<int>(AppNotice::DeviceRemoved), 0}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "event " << static_cast<int>(row.event) << " wParam " << row.wParam);
        ControlRig rig;
        rig.control.onCmHidEvent(row.event, row.wParam);
        EXPECT_EQ(rig.take(), row.events);
    }
}

TEST(HandsetControl, ReArrivalKeepsKeysFlowing)
{
    ControlRig rig;
    rig.control.onCmHidEvent(CmHidEvent::DeviceAdded, 0);
    enableKeys(rig);
    rig.control.onCmHidEvent(CmHidEvent::DeviceRemoved, 0);
    rig.control.onCmHidEvent(CmHidEvent::DeviceAdded, 0);
    rig.take();
    EXPECT_TRUE(rig.control.keyReportingEnabled());
    rig.bus.readResults = {0x00};
    rig.control.onCmHidEvent(CmHidEvent::Gpio, 2);
    EXPECT_EQ(rig.take().back(), (BusEvent{E::Notify, rig.clock.nowMs(), static_cast<int>(AppNotice::KeyDown), 1}));
    rig.control.onTimer(quorvex::kKeyEnableTimer); // the second timer's expiry changes nothing
    EXPECT_TRUE(rig.control.keyReportingEnabled());
}

TEST(HandsetControl, OtherTimersDoNothing)
{
    ControlRig rig;
    for (int id : {0, 1, 2, 4, 6, 7, 11}) {
        rig.control.onTimer(id);
        EXPECT_FALSE(rig.control.keyReportingEnabled());
    }
    EXPECT_TRUE(rig.take().empty());
}
