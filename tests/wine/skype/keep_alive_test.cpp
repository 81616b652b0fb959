// The keep-alive and discover loops on their real 13 s cycle. Each test spans
// one or two cycles.

#include "link_session.h"

using namespace wine_tests;

namespace {

constexpr DWORD kCycleMs = 13000;
constexpr DWORD kPingMs = 4000;

bool sent(const Entry& e) { return (e.flags & skype_standin::flags::kSent) != 0; }

double firstDiscoverMs(LinkSession& s)
{
    const auto discovers = s.skypeRecords(RecordKind::Discover);
    return discovers.empty() ? 0 : discovers.front().ms;
}

} // namespace

TEST(SkypeKeepAlive, AnsweredPingsEveryCycleAndNoDiscoverWhileTheClientTalks)
{
    LinkSession s;
    s.attach();
    const double cycleStart = firstDiscoverMs(s);
    const auto ping1 = s.skype().waitCommand("PING", 0, kPingMs + kWaitMs);
    ASSERT_TRUE(ping1);
    const auto ping2 = s.skype().waitCommand("PING", ping1->index + 1, kCycleMs + kWaitMs);
    ASSERT_TRUE(ping2);
    std::printf("PING %.0f ms after the first discover, the next %.0f ms later\n", ping1->ms - cycleStart,
                ping2->ms - ping1->ms);
    EXPECT_GE(ping1->ms - cycleStart, kPingMs - kToleranceMs);
    EXPECT_GE(ping2->ms - ping1->ms, kCycleMs - kToleranceMs);
    EXPECT_EQ(ping1->window, skype::win::linkWindow());

    // The PONG of each cycle counts as heard: neither loop broadcasts again.
    EXPECT_EQ(s.skypeRecords(RecordKind::Discover).size(), 2u);
    EXPECT_EQ(s.connects(), 2u);
}

TEST(SkypeKeepAlive, SilentClientIsDiscoveredAgainAfterACycle)
{
    LinkSession s;
    s.attach();
    const double cycleStart = firstDiscoverMs(s);
    ASSERT_TRUE(s.skype().goSilent());
    const auto ping = s.skype().waitCommand("PING", 0, kPingMs + kWaitMs);
    ASSERT_TRUE(ping);
    EXPECT_NE(ping->flags & skype_standin::flags::kUnanswered, 0u) << *ping;
    ASSERT_TRUE(s.skype().comeBack());

    // Nothing came from the client in this cycle, so the next one begins with a discover.
    const auto again = s.waitSkypeRecords(RecordKind::Discover, 1, ping->index, [](const Entry&) { return true; },
                                          kCycleMs + kWaitMs);
    ASSERT_EQ(again.size(), 1u);
    std::printf("discovered again %.0f ms after the first discover\n", again[0].ms - cycleStart);
    EXPECT_GE(again[0].ms - cycleStart, kCycleMs - kToleranceMs);
    EXPECT_EQ(again[0].window, skype::win::linkWindow());
    EXPECT_TRUE(s.waitConnects(3));
    EXPECT_EQ(skype::win::skypeApiWindow(), s.skype().apiWindow());
}

TEST(SkypeKeepAlive, WindowThatTakesNoMessagesDoesNotHoldTheDiscoverLoop)
{
    HungWindow hung;
    ASSERT_NE(hung.hwnd(), nullptr);
    LinkSession s;
    // Nothing is ever heard: the discover loop sends a discover every cycle.
    ASSERT_TRUE(s.skype().setAttachMode(skype_standin::AttachMode::Refused));
    s.start();
    const auto discovers = s.waitSkypeRecords(RecordKind::Discover, 2, 0, sent, kCycleMs + 3 * kWaitMs);
    ASSERT_EQ(discovers.size(), 2u) << "the discover loop's broadcast did not come back";
    std::printf("sent discovers %.0f and %.0f ms after the start\n", discovers[0].ms - s.startedMs(),
                discovers[1].ms - s.startedMs());
    EXPECT_GE(discovers[1].ms - discovers[0].ms, kCycleMs - kToleranceMs);
}
