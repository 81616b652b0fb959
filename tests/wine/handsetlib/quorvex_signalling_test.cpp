// Ringer and LED requests and the ACK worker, seen by the simulated handset.

#include "quorvex_session.h"

#include <platform/win/precise_clock.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

using namespace wine_tests;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

TEST(QuorvexSignalling, RequestsWriteTheirValuesAndReturnAfterTheirWaits)
{
    QuorvexSession s;
    auto& h = s.handset();
    s.plugIn();
    struct Row {
        const char* name;
        std::function<int()> call;
        int value; // -1: nothing is written
        double settle, holdAndAfter;
    };
    const Row rows[] = {
        {"TurnOnBuzzer(1)", [] { return TurnOnBuzzer(1); }, 0x11, 15, 130},
        {"TurnOnBuzzer(0)", [] { return TurnOnBuzzer(0); }, 0x10, 15, 130},
        {"TurnOnBuzzer(256)", [] { return TurnOnBuzzer(256); }, 0x10, 15, 130},
        {"FlashLEDPattern(1)", [] { FlashLEDPattern(1); return 0; }, 0x21, 10, 100},
        {"FlashLEDPattern(2)", [] { FlashLEDPattern(2); return 0; }, 0x20, 10, 100},
        {"FlashLEDPattern(3)", [] { FlashLEDPattern(3); return 0; }, 0x23, 10, 100},
        {"FlashLEDPattern(4)", [] { FlashLEDPattern(4); return 0; }, 0x22, 10, 100},
        {"FlashLED2Pattern(1)", [] { FlashLED2Pattern(1); return 0; }, 0x29, 20, 100},
        {"FlashLED2Pattern(2)", [] { FlashLED2Pattern(2); return 0; }, 0x28, 20, 100},
        {"FlashLED2Pattern(3)", [] { FlashLED2Pattern(3); return 0; }, 0x2B, 20, 100},
        {"FlashLED2Pattern(4)", [] { FlashLED2Pattern(4); return 0; }, 0x2A, 20, 90},
        {"FlashLEDPattern(0)", [] { FlashLEDPattern(0); return 0; }, -1, 0, 70},
        {"FlashLEDPattern(5)", [] { FlashLEDPattern(5); return 0; }, -1, 0, 70},
        {"FlashLED2Pattern(0)", [] { FlashLED2Pattern(0); return 0; }, -1, 0, 70},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const DWORD me = ::GetCurrentThreadId();
        const std::uint64_t from = h.recordCount();
        const double called = nowMs();
        EXPECT_EQ(row.call(), 0);
        const double returned = nowMs();

        if (row.value < 0) {
            for (const auto& r : h.records(from))
                EXPECT_FALSE(r.record.thread == me && is(r.record, RecordKind::SetGpio)) << "no pin is touched";
            EXPECT_GE(returned - called, row.holdAndAfter);
            continue;
        }
        auto t = s.findTransaction(from, static_cast<std::uint16_t>(row.value), 0);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->thread, me) << "requests run on the caller's thread";
        EXPECT_GE(t->writeMs - t->startMs, row.settle);
        EXPECT_GE(returned - t->lowMs, row.holdAndAfter);
        auto taken = h.waitRecord(from, [&](const Record& r) { return isTaken(r, static_cast<std::uint32_t>(row.value)); }, 0);
        EXPECT_TRUE(taken) << "the controller took the command";
    }
    const auto state = h.state();
    EXPECT_EQ(state.ringer, 0u);
    EXPECT_EQ(simhandset::ledPattern(state.ledValue), 4);
}

// Settle and hold times hold to about 2 ms; Sleep's default granularity would
// make every one of them 15.6 ms coarse.
TEST(QuorvexSignalling, SettleAndHoldTimesArePrecise)
{
    QuorvexSession s;
    auto& h = s.handset();
    s.plugIn();
    StopACK(); // only the requests below touch the bus

    std::vector<double> buzzerSettle, ledSettle, buzzerHold, led2FourTail, led2OneTail;
    for (int i = 0; i < 8; ++i) {
        const std::uint64_t from = h.recordCount();
        const std::uint16_t buzzerValue = (i % 2) ? 0x10 : 0x11;
        std::atomic<DWORD> requester{0};
        std::thread first([&] {
            requester = ::GetCurrentThreadId();
            TurnOnBuzzer(i % 2 ? 0 : 1);
        });
        // A second request queued behind the first starts when the first
        // releases the lock, that is after its hold.
        auto started = h.waitRecord(
            from, [&](const Record& r) { return r.thread == requester.load() && isPins(r, 0x08); }, kWaitMs);
        ASSERT_TRUE(started);
        FlashLEDPattern(3);
        first.join();
        auto a = s.findTransaction(from, buzzerValue);
        auto b = s.findTransaction(from, 0x23);
        ASSERT_TRUE(a && b);
        buzzerSettle.push_back(a->writeMs - a->startMs);
        ledSettle.push_back(b->writeMs - b->startMs);
        buzzerHold.push_back(b->startMs - a->lowMs);

        for (int pattern : {4, 1}) {
            const std::uint64_t at = h.recordCount();
            FlashLED2Pattern(pattern);
            const double returned = nowMs();
            auto t = s.findTransaction(at, pattern == 4 ? 0x2A : 0x29, 0);
            ASSERT_TRUE(t);
            (pattern == 4 ? led2FourTail : led2OneTail).push_back(returned - t->lowMs);
        }
    }
    StartACK();

    struct Figure {
        const char* name;
        const std::vector<double>& samples;
        double nominal;
    };
    const Figure figures[] = {
        {"buzzer settle", buzzerSettle, 15}, {"LED settle", ledSettle, 10}, {"buzzer hold", buzzerHold, 30},
        {"LED2 4 hold+after", led2FourTail, 90}, {"LED2 1 hold+after", led2OneTail, 100},
    };
    for (const auto& f : figures) {
        SCOPED_TRACE(f.name);
        const double lo = *std::min_element(f.samples.begin(), f.samples.end());
        const double hi = *std::max_element(f.samples.begin(), f.samples.end());
        std::printf("%-20s nominal %5.1f ms: min %6.2f, median %6.2f, max %6.2f\n", f.name, f.nominal, lo,
                    median(f.samples), hi);
        EXPECT_GE(lo, f.nominal); // never short
        EXPECT_LE(lo, f.nominal + 2.0);
        EXPECT_LE(median(f.samples), f.nominal + 5.0);
    }
    // LED2 pattern 4 holds 20 ms where the others hold 30.
    EXPECT_LT(*std::min_element(led2FourTail.begin(), led2FourTail.end()),
              *std::min_element(led2OneTail.begin(), led2OneTail.end()) - 5.0);
}

TEST(QuorvexSignalling, AckCycleWithAndWithoutItsWrite)
{
    QuorvexSession s;
    auto& h = s.handset();
    s.plugIn(); // the command word now holds the arrival command 0x0030
    StopACK();  // the worker started by InitCM108Control

    auto cycle = [&](bool expectWrite) {
        const std::uint64_t from = h.recordCount();
        HANDLE worker = StartACK();
        ASSERT_NE(worker, nullptr);
        const DWORD id = ::GetThreadId(worker);
        auto low = h.waitRecord(from, [&](const Record& r) { return r.thread == id && isPins(r, 0x00); }, kWaitMs);
        ASSERT_TRUE(low);
        std::vector<Record> mine;
        for (const auto& r : h.records(from))
            if (r.record.thread == id && r.index <= low->index && !is(r.record, RecordKind::CommandTaken))
                mine.push_back(r.record);
        std::string dump;
        for (const auto& r : mine)
            dump += simhandset::describe(r) + "\n";
        ASSERT_EQ(mine.size(), expectWrite ? 5u : 4u) << dump;
        EXPECT_TRUE(isPins(mine[0], 0x08));
        EXPECT_TRUE(isRead(mine[1], 32));
        EXPECT_GE(s.ms(mine[1]) - s.ms(mine[0]), 30.0);
        if (expectWrite) {
            EXPECT_TRUE(isWrite(mine[2], 32, 0x0200));
        }
        const Record& strobe = mine[mine.size() - 2];
        EXPECT_TRUE(isPins(strobe, 0x04));
        EXPECT_GE(s.ms(strobe) - s.ms(mine[1]), 15.0);
        EXPECT_TRUE(isPins(mine.back(), 0x00));
        StopACK();
    };
    cycle(true);
    EXPECT_EQ(h.state().eeprom[32], 0x0200);
    cycle(false);
}

TEST(QuorvexSignalling, RequestWaitsForAnAckCycleUnderWay)
{
    QuorvexSession s;
    auto& h = s.handset();
    s.plugIn();
    StopACK();

    const std::uint64_t from = h.recordCount();
    HANDLE worker = StartACK();
    const DWORD id = ::GetThreadId(worker);
    ASSERT_TRUE(h.waitRecord(from, [&](const Record& r) { return r.thread == id && isPins(r, 0x08); }, kWaitMs));
    TurnOnBuzzer(1);
    auto ackEnd = h.waitRecord(from, [&](const Record& r) { return r.thread == id && isPins(r, 0x00); }, kWaitMs);
    auto buzzer = s.findTransaction(from, 0x11);
    ASSERT_TRUE(ackEnd && buzzer);
    EXPECT_GE(buzzer->startMs, s.ms(ackEnd->record)) << "the request starts after the ACK cycle";
}
