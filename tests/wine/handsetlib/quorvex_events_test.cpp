// Handset events through the real library: arrival, removal, keys, volume.

#include "quorvex_session.h"

#include <atomic>
#include <functional>
#include <thread>

using namespace wine_tests;
using simhandset::Notice;

namespace {

std::vector<std::string> names(const std::vector<Received>& received)
{
    std::vector<std::string> out;
    for (const auto& r : received)
        out.push_back(r.name);
    return out;
}

} // namespace

TEST(QuorvexEvents, ArrivalNotifiesThenSendsTheArrivalCommand)
{
    QuorvexSession s;
    auto& h = s.handset();

    // Detection was started with the vendor and product, and with the nine
    // notifications registered by name, in order.
    const char* const cmHidNames[] = {"zz-WM_CM_HID_DEV_ADDED",    "zz-WM_CM_HID_DEV_REMOVED",
                                      "zz-WM_CM_HID_KEY_DOWN",     "zz-WM_CM_HID_KEY_UP  ",
                                      "zz-WM_CM_HID_VOLUME_DOWN",  "zz-WM_CM_HID_VOLUME_UP",
                                      "zz-WM_CM_HID_PLAYBACK_MUTE", "zz-WM_CM_HID_RECORD_MUTE",
                                      "zz-WM_CM_HID_GPIO"};
    std::vector<std::uint32_t> expectedIds, ids;
    for (auto* n : cmHidNames)
        expectedIds.push_back(::RegisterWindowMessageA(n));
    bool started = false;
    for (const auto& r : h.records(0)) {
        if (is(r.record, RecordKind::StartDetection)) {
            started = true;
            EXPECT_EQ(r.record.a, 0x0D8Cu);
            EXPECT_EQ(r.record.b, 0x000Cu);
        }
        if (is(r.record, RecordKind::DetectionMessage)) {
            EXPECT_EQ(r.record.a, ids.size());
            ids.push_back(r.record.b);
        }
    }
    EXPECT_TRUE(started);
    EXPECT_EQ(ids, expectedIds);

    const std::uint64_t from = h.recordCount();
    const double added = s.plugIn();
    auto t = s.findTransaction(from, 0x0030);
    ASSERT_TRUE(t);
    EXPECT_GE(t->startMs - added, 50.0);        // the 50 ms pause comes first
    EXPECT_GE(t->writeMs - t->startMs, 15.0);    // settle
    EXPECT_GT(t->strobeMs, 0.0);
    EXPECT_EQ(names(s.app().received()), std::vector<std::string>{kAdded});

    // The notification came from the simulator's own thread; the control
    // thread sent the command.
    auto note = h.waitRecord(from, [](const Record& r) { return isNotify(r, Notice::DeviceAdded, 0); }, kWaitMs);
    ASSERT_TRUE(note);
    EXPECT_NE(note->record.thread, ::GetCurrentThreadId());
    EXPECT_NE(note->record.thread, t->thread);
}

TEST(QuorvexEvents, KeysAreReportedOnlyFrom1200MsAfterTheFirstArrival)
{
    QuorvexSession s;
    auto& h = s.handset();
    const double added = s.plugIn();

    // Right after the arrival command: the key is read and its pins are
    // released, and by then a message would have been sent.
    const std::uint64_t from = h.recordCount();
    s.run(h.key(0x0000));
    auto read = h.waitRecord(from, [](const Record& r) { return isRead(r, 48); }, kWaitMs);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->record.c, 1u);
    EXPECT_LT(s.ms(read->record) - added, 1200.0);
    ASSERT_TRUE(h.waitRecord(
        read->index, [&](const Record& r) { return r.thread == read->record.thread && isPins(r, 0x00); }, kWaitMs));
    EXPECT_EQ(s.app().received().size(), 1u);

    s.waitKeysEnabled(added);
    const size_t seen = s.app().received().size();
    s.run(h.key(0x0000));
    Received down;
    ASSERT_TRUE(s.app().waitFor(kKeyDown, seen, kWaitMs, &down));
    EXPECT_EQ(down.wParam, 1u);
    EXPECT_EQ(s.receivedSince(1).size(), 1u) << "the early key must not have been kept";
}

TEST(QuorvexEvents, EveryKeyPressAndReleaseArrivesAsItsCode)
{
    QuorvexSession s;
    s.waitKeysEnabled(s.plugIn());
    const std::uint16_t presses[] = {0x00, 0x01, 0x02, 0x03, 0x10, 0x11, 0x12, 0x13, 0x20, 0x21, 0x22,
                                     0x23, 0x30, 0x31, 0x32, 0x33, 0x40, 0x41, 0x42, 0x43, 0x70};
    const size_t seen = s.app().received().size();
    for (auto scan : presses) {
        s.run(s.handset().key(scan));
        s.run(s.handset().key(static_cast<std::uint16_t>(scan | 0x80)));
    }
    ASSERT_TRUE(s.app().waitCount(seen + 2 * std::size(presses), kWaitMs));
    const auto got = s.receivedSince(seen);
    for (size_t i = 0; i < std::size(presses); ++i) {
        SCOPED_TRACE(testing::Message() << "scan " << std::hex << presses[i]);
        EXPECT_EQ(got[2 * i].name, kKeyDown);
        EXPECT_EQ(got[2 * i].wParam, i + 1);
        EXPECT_EQ(got[2 * i + 1].name, kKeyUp);
        EXPECT_EQ(got[2 * i + 1].wParam, i + 1);
    }
}

TEST(QuorvexEvents, WhatSendsNothing)
{
    QuorvexSession s;
    auto& h = s.handset();
    s.waitKeysEnabled(s.plugIn());

    struct Row {
        const char* name;
        std::function<void()> act;
        bool reads;         // a read of word 48 happens
        int pinReleases;    // SetGPIOState(0x00) calls
    };
    const Row rows[] = {
        {"status report D3", [&] { s.run(h.key(0x00D3)); }, true, 1},
        {"word 0044", [&] { s.run(h.key(0x0044)); }, true, 1},
        {"word 00F1", [&] { s.run(h.key(0x00F1)); }, true, 1},
        {"word 0100", [&] { s.run(h.key(0x0100)); }, true, 1},
        {"failed read", [&] { s.run(h.failReads(1)); s.run(h.key(0x0000)); }, true, 1},
        {"pin state 3", [&] { s.run(h.notify(Notice::Gpio, 3)); }, false, 0},
        {"pin state 12", [&] { s.run(h.notify(Notice::Gpio, 12)); }, false, 1},
        {"chip key down", [&] { s.run(h.notify(Notice::KeyDown, 1)); }, false, 0},
        {"chip key up", [&] { s.run(h.notify(Notice::KeyUp, 1)); }, false, 0},
        {"playback mute", [&] { s.run(h.notify(Notice::PlaybackMute, 0)); }, false, 0},
        {"record mute", [&] { s.run(h.notify(Notice::RecordMute, 0)); }, false, 0},
        {"volume without identifiers", [&] { s.run(h.notify(Notice::VolumeUp, 1)); }, false, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // A key held back by an earlier read must not show up either.
        s.sync();
        const size_t seen = s.app().received().size();
        const std::uint64_t from = h.recordCount();
        row.act();
        s.sync();
        const auto got = s.receivedSince(seen);
        ASSERT_EQ(got.size(), 1u) << "only the marker key";

        // Count what the library did to the chip between the two markers.
        bool reads = false;
        int releases = 0;
        const auto records = h.records(from);
        for (const auto& r : records) {
            if (isRead(r.record, 48) && r.record.c == 1 && r.record.b == 0x41)
                break; // the closing marker's read
            reads |= isRead(r.record, 48);
            releases += isPins(r.record, 0x00);
        }
        EXPECT_EQ(reads, row.reads);
        EXPECT_EQ(releases, row.pinReleases);
    }
}

TEST(QuorvexEvents, VolumeNotificationsWithTheirIdentifiers)
{
    QuorvexSession s(true);
    auto& h = s.handset();
    s.plugIn();
    struct Row {
        Notice notice;
        std::uint32_t kind;
        const char* message; // nullptr: nothing arrives
        WPARAM wParam;
    };
    const Row rows[] = {
        {Notice::VolumeUp, 1, kVolumeA, 1},   {Notice::VolumeDown, 1, kVolumeA, 0},
        {Notice::VolumeUp, 2, kVolumeB, 1},   {Notice::VolumeDown, 2, kVolumeB, 0},
        {Notice::VolumeUp, 3, nullptr, 0},    {Notice::VolumeDown, 0, nullptr, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << row.kind);
        const size_t seen = s.app().received().size();
        s.run(h.notify(row.notice, row.kind));
        // The removal notice closes the row: whatever the volume sent is before it.
        s.run(h.notify(Notice::DeviceRemoved, 0));
        ASSERT_TRUE(s.app().waitFor(kRemoved, seen, kWaitMs));
        const auto got = s.receivedSince(seen);
        if (row.message) {
            ASSERT_EQ(got.size(), 2u);
            EXPECT_EQ(got[0].name, row.message);
            EXPECT_EQ(got[0].wParam, row.wParam);
        } else {
            EXPECT_EQ(got.size(), 1u);
        }
    }
}

TEST(QuorvexEvents, ReArrivalNeedsNoNewPause)
{
    QuorvexSession s;
    auto& h = s.handset();
    const std::uint64_t from = h.recordCount();
    const double first = s.plugIn();
    s.waitKeysEnabled(first);
    s.run(h.unplug());
    ASSERT_TRUE(s.app().waitFor(kRemoved, 0, kWaitMs));
    s.plugIn();
    // At once after the second arrival, well inside its 1200 ms.
    s.run(h.key(0x0042));
    ASSERT_TRUE(s.app().waitFor(kKeyDown, 0, kWaitMs));
    const auto got = s.app().received();
    EXPECT_EQ(names(got), (std::vector<std::string>{kAdded, kRemoved, kAdded, kKeyDown}));
    EXPECT_EQ(got.back().wParam, 19u);

    int arrivalCommands = 0;
    for (const auto& r : h.records(from))
        arrivalCommands += isTaken(r.record, 0x0030);
    EXPECT_EQ(arrivalCommands, 2);
}

TEST(QuorvexEvents, KeyReadWaitsForATransactionUnderWay)
{
    QuorvexSession s;
    auto& h = s.handset();
    s.waitKeysEnabled(s.plugIn());

    const std::uint64_t from = h.recordCount();
    std::atomic<DWORD> requester{0};
    std::thread request([&] {
        requester = ::GetCurrentThreadId();
        TurnOnBuzzer(1);
    });
    // As soon as the request has started its handshake, press a key.
    auto start = h.waitRecord(
        from, [&](const Record& r) { return r.thread == requester.load() && isPins(r, 0x08); }, kWaitMs);
    ASSERT_TRUE(start);
    const size_t seen = s.app().received().size();
    s.run(h.key(0x0010));
    request.join();

    Received down;
    ASSERT_TRUE(s.app().waitFor(kKeyDown, seen, kWaitMs, &down));
    EXPECT_EQ(down.wParam, 5u);
    auto t = s.findTransaction(from, 0x0011);
    ASSERT_TRUE(t);
    auto read = h.waitRecord(from, [](const Record& r) { return isRead(r, 48); }, kWaitMs);
    ASSERT_TRUE(read);
    EXPECT_GT(read->index, t->lowIndex) << "the read must not interleave with the handshake";
    auto taken = h.waitRecord(from, [](const Record& r) { return isTaken(r, 0x0011); }, kWaitMs);
    EXPECT_TRUE(taken) << "the command reached the controller intact";
}

TEST(QuorvexEvents, ApplicationMaySignalFromItsKeyHandler)
{
    QuorvexSession s;
    auto& h = s.handset();
    s.waitKeysEnabled(s.plugIn());
    s.app().setHandler([&](const Received& r) {
        if (r.name == kKeyDown)
            TurnOnBuzzer(0);
    });
    const std::uint64_t from = h.recordCount();
    s.run(h.key(0x0030));
    EXPECT_TRUE(h.waitRecord(from, [](const Record& r) { return isTaken(r, 0x0010); }, kWaitMs));
}

TEST(QuorvexEvents, CloseStopsEventsButNotSignalling)
{
    QuorvexSession s;
    auto& h = s.handset();
    s.waitKeysEnabled(s.plugIn());
    EXPECT_TRUE(CloseCM108Control());

    // The control window goes away; notifications then find no window.
    const double deadline = nowMs() + kWaitMs;
    while (QuorvexSession::controlWindow() && nowMs() < deadline)
        ::Sleep(5);
    ASSERT_EQ(QuorvexSession::controlWindow(), nullptr);
    const std::uint64_t from = h.recordCount();
    s.run(h.key(0x0000));
    auto note = h.waitRecord(from, [](const Record& r) { return isNotify(r, Notice::Gpio, 2); }, kWaitMs);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->record.c, 0u) << "the forwarding callback answers 0 without a window";
    EXPECT_EQ(s.app().received().size(), 1u);

    const std::uint64_t before = h.recordCount();
    EXPECT_EQ(TurnOnBuzzer(1), 0);
    EXPECT_TRUE(h.waitRecord(before, [](const Record& r) { return isTaken(r, 0x0011); }, kWaitMs));
}
