// Finding the client and attaching to it: the link window, discover, attach replies.

#include "link_session.h"

#include <cctype>

using namespace wine_tests;
using skype_standin::AttachMode;

namespace {

bool isUuidText(const std::string& text)
{
    if (text.size() != 36)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    }
    return true;
}

bool sent(const Entry& e) { return (e.flags & skype_standin::flags::kSent) != 0; }

} // namespace

TEST(SkypeLinkWindow, HiddenTopLevelWindowWithAFreshClassOnEveryStart)
{
    LinkSession s;
    std::vector<std::string> names;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE("start " + std::to_string(round + 1));
        s.start();
        HWND window = skype::win::linkWindow();
        const std::string name = skype::win::linkClassName();
        ASSERT_EQ(name.rfind("Skype-API-Test-", 0), 0u) << name;
        EXPECT_TRUE(isUuidText(name.substr(15))) << name;
        char actual[256] = {};
        ::GetClassNameA(window, actual, sizeof actual);
        EXPECT_EQ(name, actual);

        // Broadcasts reach top-level windows only; it is never shown.
        EXPECT_FALSE(::IsWindowVisible(window));
        EXPECT_EQ(::GetParent(window), nullptr);
        EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);
        const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
        const LONG_PTR wanted = WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX;
        EXPECT_EQ(style & wanted, wanted);
        const LONG_PTR exStyle = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
        EXPECT_EQ(exStyle & (WS_EX_APPWINDOW | WS_EX_WINDOWEDGE), WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);
        RECT r{};
        ::GetWindowRect(window, &r);
        EXPECT_EQ(r.right - r.left, 128);
        EXPECT_EQ(r.bottom - r.top, 128);
        names.push_back(name);

        const double before = nowMs();
        skype::win::StopSkypeLink();
        std::printf("StopSkypeLink took %.1f ms\n", nowMs() - before);
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_EQ(skype::win::linkWindow(), nullptr);
        EXPECT_EQ(skype::win::linkClassName(), "");
    }
    EXPECT_NE(names[0], names[1]);
}

TEST(SkypeAttach, EachReplyWithStatusZeroGivesOneConnectFinish)
{
    LinkSession s;
    s.attach();
    // Both loops broadcast as soon as they start: one posts, one sends.
    const auto discovers = s.skypeRecords(RecordKind::Discover);
    ASSERT_EQ(discovers.size(), 2u);
    EXPECT_NE(sent(discovers[0]), sent(discovers[1]));
    for (const auto& d : discovers) {
        EXPECT_EQ(d.window, skype::win::linkWindow()) << d;
        EXPECT_LT(d.ms - s.startedMs(), 2000.0) << d;
    }
    // Each reply is sent, and its connect message is sent on before the reply returns.
    const auto events = s.events();
    EXPECT_EQ(events, (std::vector<std::string>{"connect", "connect"}));
    for (const auto& a : s.arrivals()) {
        EXPECT_EQ(a.wParam, 0u);
        EXPECT_EQ(a.lParam, 0);
    }
    for (const auto& reply : s.skypeRecords(RecordKind::Attach))
        EXPECT_EQ(reply.result, 1) << reply;
}

TEST(SkypeAttach, RefusalBeforeAttachLeavesTheLinkUnattached)
{
    struct Row {
        AttachMode mode;
        std::uint64_t status;
    };
    const Row rows[] = {{AttachMode::Pending, 1}, {AttachMode::Refused, 2}, {AttachMode::NotAvailable, 3}};
    LinkSession s;
    for (const auto& row : rows) {
        SCOPED_TRACE("status " + std::to_string(row.status));
        ASSERT_TRUE(s.skype().setAttachMode(row.mode));
        const std::uint64_t from = s.skype().recordCount();
        s.start();
        const auto replies = s.waitSkypeRecords(RecordKind::Attach, 2, from, [](const Entry&) { return true; });
        ASSERT_EQ(replies.size(), 2u);
        for (const auto& reply : replies) {
            EXPECT_EQ(reply.value, row.status) << reply;
            EXPECT_EQ(reply.result, 1) << reply;
        }
        EXPECT_EQ(s.arrivalCount(), 0u);
        EXPECT_EQ(skype::win::skypeApiWindow(), nullptr);
        skype::win::StopSkypeLink();
    }
}

TEST(SkypeAttach, OtherStatusAfterAttachKeepsTheApiWindow)
{
    LinkSession s;
    s.attach();
    HWND api = skype::win::skypeApiWindow();
    for (const char* status : {"1", "2", "3", "4", "0x7fff", "0x8002"}) {
        SCOPED_TRACE(status);
        // wParam 0: a link that took this window would lose the client.
        ASSERT_TRUE(s.skype().run(std::string("attach ") + status + " 0"));
        EXPECT_EQ(skype::win::skypeApiWindow(), api);
        EXPECT_EQ(s.connects(), 2u);
        const std::uint64_t from = s.skype().recordCount();
        skype::win::SendSkypeCommandUtf8("GET USERSTATUS");
        const auto command = s.skype().waitCommand("GET USERSTATUS", from);
        ASSERT_TRUE(command);
        EXPECT_EQ(command->window, skype::win::linkWindow());
    }
}

TEST(SkypeAttach, ApiAvailableAnnouncementDrawsADiscoverAtOnce)
{
    LinkSession s;
    ASSERT_TRUE(s.skype().setAttachMode(AttachMode::NotAvailable));
    s.start();
    const auto refusals = s.waitSkypeRecords(RecordKind::Attach, 2, 0, [](const Entry& e) { return e.value == 3; });
    ASSERT_EQ(refusals.size(), 2u);
    ASSERT_EQ(s.arrivalCount(), 0u);

    const std::uint64_t from = s.skype().recordCount();
    ASSERT_TRUE(s.skype().run("become-available"));
    // The next regular discover is 13 s away; this one answers the announcement.
    ASSERT_TRUE(s.waitConnects(1, kWaitMs));
    const auto discover = s.waitSkypeRecords(RecordKind::Discover, 1, from, [](const Entry&) { return true; });
    ASSERT_EQ(discover.size(), 1u);
    EXPECT_TRUE(sent(discover[0])) << discover[0];
    EXPECT_EQ(discover[0].window, skype::win::linkWindow());
    EXPECT_EQ(skype::win::skypeApiWindow(), s.skype().apiWindow());
}
