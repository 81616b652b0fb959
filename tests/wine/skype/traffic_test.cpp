// Text both ways once attached: commands out, notifications in.

#include "link_session.h"

#include <cstring>

using namespace wine_tests;
using skype_standin::Delivery;

namespace {

LRESULT sendCopyData(HWND to, HWND from, const char* text)
{
    COPYDATASTRUCT cds{0, static_cast<DWORD>(std::strlen(text) + 1), const_cast<char*>(text)};
    return ::SendMessageA(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&cds));
}

} // namespace

TEST(SkypeTraffic, CopyDataFromAnyOtherWindowIsRefusedAndNotForwarded)
{
    LinkSession s;
    ASSERT_TRUE(s.skype().setAttachMode(skype_standin::AttachMode::Refused));
    s.start();
    ASSERT_EQ(s.waitSkypeRecords(RecordKind::Attach, 2, 0, [](const Entry&) { return true; }).size(), 2u);
    HWND link = skype::win::linkWindow();
    // Not attached yet: no sender counts as the client, not even window 0.
    EXPECT_EQ(sendCopyData(link, nullptr, "CALL 1 STATUS RINGING"), 0);
    EXPECT_EQ(sendCopyData(link, s.app().hwnd(), "CALL 1 STATUS RINGING"), 0);
    EXPECT_EQ(s.arrivalCount(), 0u);

    ASSERT_TRUE(s.skype().run("attach 0"));
    ASSERT_EQ(skype::win::skypeApiWindow(), s.skype().apiWindow());
    for (HWND other : {static_cast<HWND>(nullptr), s.app().hwnd(), link}) {
        SCOPED_TRACE(reinterpret_cast<std::uintptr_t>(other));
        EXPECT_EQ(sendCopyData(link, other, "CALL 2 STATUS RINGING"), 0);
    }
    ASSERT_TRUE(s.skype().notify("USERSTATUS ONLINE"));
    EXPECT_EQ(s.events(), (std::vector<std::string>{"connect", "receive USERSTATUS ONLINE"}));
}

TEST(SkypeTraffic, CommandsCarryTheirNulAndTheUtf8FormIsTrimmedAndConverted)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "the rows are written for ANSI code page 1252, this is " << ::GetACP();
    struct Row {
        const char* name;
        bool utf8;
        const char* text;
        std::string expected; // the bytes Skype gets, cbData of them; empty: nothing sent
    };
    using namespace std::string_literals;
    const Row rows[] = {
        {"ANSI", false, "PING", "PING\0"s},
        {"ANSI untrimmed", false, "  GET USERSTATUS ", "  GET USERSTATUS \0"s},
        {"UTF-8 trimmed", true, " \tSET AUDIO_IN USB Audio Device \r\n", "SET AUDIO_IN USB Audio Device\0"s},
        {"UTF-8 from code page 1252", true, "SET AUDIO_OUT Ger\xe4t \xdc", "SET AUDIO_OUT Ger\xc3\xa4t \xc3\x9c\0"s},
        {"UTF-8 without a device name", true, "SET AUDIO_OUT ", "SET AUDIO_OUT\0"s},
        {"UTF-8 blanks only", true, " \t  ", ""},
        {"UTF-8 empty", true, "", ""},
    };
    LinkSession s;
    s.attach();
    s.waitFirstKeepAlivePing(); // the next one is 13 s away
    const std::uint64_t from = s.skype().recordCount();
    std::vector<std::string> expected;
    for (const auto& row : rows) {
        if (row.utf8)
            skype::win::SendSkypeCommandUtf8(row.text);
        else
            skype::win::SendSkypeCommand(row.text);
        if (!row.expected.empty())
            expected.push_back(row.expected);
    }
    // Sends are synchronous: every line is recorded by now.
    std::vector<std::string> received;
    for (const auto& c : s.skype().commands(from)) {
        EXPECT_EQ(c.window, skype::win::linkWindow()) << c;
        EXPECT_EQ(c.value, 1u) << c;
        EXPECT_EQ(c.size, c.bytes.size()) << c;
        received.push_back(c.bytes);
    }
    EXPECT_EQ(received, expected);
}

TEST(SkypeTraffic, NotificationsArriveIntactOncePerLine)
{
    LinkSession s;
    s.attach();
    s.waitFirstKeepAlivePing();
    const size_t from = s.arrivalCount();
    const char* const lines[] = {
        "CURRENTUSERHANDLE telvane.tester", "USERSTATUS DND",    "USER telvane.tester ONLINESTATUS AWAY",
        "ERROR 68 Access denied",           "  CALL 5 STATUS  RINGING ", "AUDIO_IN Ger\xc3\xa4t (USB)",
    };
    std::vector<std::string> expected;
    for (const char* line : lines) {
        ASSERT_TRUE(s.skype().notify(line)) << line;
        expected.push_back(std::string("receive ") + line);
    }
    // Scripted calls, with the status line sent twice as the client often did.
    ASSERT_TRUE(s.skype().run("duplicate-status on"));
    ASSERT_TRUE(s.skype().incomingCall("7"));
    ASSERT_TRUE(s.skype().callStatus("7", "INPROGRESS"));
    for (const char* line : {"CALL 7 STATUS RINGING", "CALL 7 STATUS INPROGRESS"}) {
        expected.push_back(std::string("receive ") + line);
        expected.push_back(std::string("receive ") + line);
    }
    EXPECT_EQ(s.events(from), expected);
    for (const auto& a : s.arrivals(from)) {
        EXPECT_EQ(a.cbData, a.text.size() + 1) << a.text;
        EXPECT_EQ(a.wParam, 0u);
    }
}

TEST(SkypeTraffic, AnswersReachTheMainWindowNestedInItsSendOrAfterIt)
{
    struct Row {
        const char* name;
        Delivery delivery;
        std::vector<std::string> expected;
    };
    const std::string command = "SET AUDIO_OUT Ger\xc3\xa4t";
    const std::string answer = "receive AUDIO_OUT Ger\xc3\xa4t";
    const Row rows[] = {
        {"nested", Delivery::Nested, {answer, "returned " + command}},
        {"after return", Delivery::AfterReturn, {"returned " + command, answer}},
    };
    LinkSession s;
    s.attach();
    s.waitFirstKeepAlivePing();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(s.skype().setDelivery(row.delivery));
        const size_t from = s.arrivalCount();
        s.sendFromMainWindow(command);
        ASSERT_TRUE(s.waitArrivals(from + 2));
        EXPECT_EQ(s.events(from), row.expected);
    }
}

TEST(SkypeTraffic, LineWithoutItsNulIsHandedOnTerminated)
{
    LinkSession s;
    s.attach();
    const size_t from = s.arrivalCount();
    ASSERT_TRUE(s.skype().run("notify-unterminated USERSTATUS DND"));
    const auto arrivals = s.arrivals(from);
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].text, "USERSTATUS DND");
    EXPECT_TRUE(arrivals[0].terminatedInside);
    EXPECT_EQ(arrivals[0].cbData, 15u);
}

TEST(SkypeTraffic, SendToAHungClientReturns)
{
    LinkSession s;
    s.attach();
    ASSERT_TRUE(s.skype().run("hang 15000"));
    const double before = nowMs();
    skype::win::SendSkypeCommand("PING");
    const double took = nowMs() - before;
    std::printf("a send to the hung client returned after %.0f ms\n", took);
    EXPECT_LT(took, 10000.0);
}
