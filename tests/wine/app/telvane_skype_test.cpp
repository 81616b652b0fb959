// Skype calls through the whole program: the Skype stand-in on one side, the
// simulated handset on the other.

#include "telvane_fixture.h"

#include <algorithm>

using namespace wine_tests;
using skype_standin::StandinDriver;

namespace {

// The command lines, without the keep-alive's "PING" that may fall anywhere.
std::vector<std::string> texts(const std::vector<skype_standin::Entry>& commands)
{
    std::vector<std::string> out;
    for (const auto& c : commands)
        if (c.text() != "PING")
            out.push_back(c.text());
    return out;
}

// Without what a (further) attach sends: "PROTOCOL 5" and the audio devices.
std::vector<std::string> withoutAttach(std::vector<std::string> lines)
{
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l == "PROTOCOL 5" || l.rfind("SET AUDIO_", 0) == 0; }),
                lines.end());
    return lines;
}

// True when `expected` appears in `actual` in order, other lines allowed between.
bool inOrder(const std::vector<std::string>& actual, const std::vector<std::string>& expected)
{
    auto at = actual.begin();
    for (const auto& line : expected) {
        at = std::find(at, actual.end(), line);
        if (at == actual.end())
            return false;
        ++at;
    }
    return true;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& l : lines)
        s += "  " + l + "\n";
    return s;
}

class SkypeCallTest : public TelvaneFixture {
protected:
    void SetUp() override
    {
        TelvaneFixture::SetUp();
        deleteStoredSelection(); // Skype
        skype_ = StandinDriver::launch();
        ASSERT_TRUE(skype_);
    }

    StandinDriver& skype() { return *skype_; }

    // Every discover draws an attach, and every attach "PROTOCOL 5" and the
    // two audio device commands; waits until all of them have been sent.
    void waitAttachesDone()
    {
        const double deadline = nowMs() + kWaitMs;
        for (;;) {
            size_t discovers = 0, outs = 0;
            for (const auto& e : skype().records()) {
                discovers += e.is(skype_standin::RecordKind::Discover);
                outs += e.is(skype_standin::RecordKind::Command) && e.text().rfind("SET AUDIO_OUT", 0) == 0;
            }
            if (discovers > 0 && outs >= discovers)
                return;
            if (nowMs() >= deadline)
                throw std::runtime_error("Skype's attaches did not finish");
            ::Sleep(5);
        }
    }

    // Starts the program with the handset and waits until Skype has attached
    // and both the attach and the handset's arrival have set the audio device.
    std::unique_ptr<TelvaneProcess> startAttached()
    {
        auto p = start(true);
        if (!skype().waitCommand("PROTOCOL 5", 0, kWaitMs))
            throw std::runtime_error("Skype did not attach");
        // The handset's arrival sets the devices once more.
        auto isAudioOut = [](const skype_standin::Entry& e) {
            return e.is(skype_standin::RecordKind::Command) && e.text().rfind("SET AUDIO_OUT", 0) == 0;
        };
        std::uint64_t from = 0;
        for (int i = 0; i < 2; ++i) {
            auto out = skype().waitRecord(from, isAudioOut, kWaitMs);
            if (!out)
                throw std::runtime_error("the audio devices were not set");
            from = out->index + 1;
        }
        waitAttachesDone();
        return p;
    }

    // What the program sent Skype from `from` up to and with the first `last`.
    std::vector<std::string> sentUntil(std::uint64_t from, const std::string& last)
    {
        auto end = skype().waitCommand(last, from, kWaitMs);
        if (!end)
            return texts(skype().commands(from));
        auto all = skype().commands(from);
        all.erase(std::remove_if(all.begin(), all.end(), [&](const auto& e) { return e.index > end->index; }),
                  all.end());
        return texts(all);
    }

private:
    std::unique_ptr<StandinDriver> skype_;
};

} // namespace

TEST_F(SkypeCallTest, AttachAnnouncesTheProtocolAndTheHandsetAsAudioDevice)
{
    auto p = start();
    auto protocol = skype().waitCommand("PROTOCOL 5", 0, kWaitMs);
    ASSERT_TRUE(protocol);
    auto out = skype().waitRecord(protocol->index, [](const skype_standin::Entry& e) {
        return e.is(skype_standin::RecordKind::Command) && e.text().rfind("SET AUDIO_OUT", 0) == 0;
    });
    ASSERT_TRUE(out);
    // Both loops discover at start, so Skype may attach twice, the second time
    // while the first attach is still sending; each sends its three in order.
    auto lines = texts(skype().commands(protocol->index));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "PROTOCOL 5");
    auto in = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("SET AUDIO_IN ", 0) == 0; });
    ASSERT_NE(in, lines.end()) << joined(lines);
    const std::string device = in->substr(13);
    EXPECT_NE(device.find("USB"), std::string::npos) << "the handset's mixer device";
    EXPECT_TRUE(inOrder(lines, {"PROTOCOL 5", "SET AUDIO_IN " + device, "SET AUDIO_OUT " + device})) << joined(lines);
    EXPECT_EQ(p->statusText(), L"Using Skype now");

    // Menu selection of Skype now says so too; the combo does not.
    p->command(32776);
    EXPECT_EQ(p->statusText(), L"Using Skype now");
    HWND combo = p->control(1012);
    ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
    ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    p->send(WM_NULL);
    EXPECT_EQ(p->statusText(), L"Searching For Skype");

    // Each handset arrival sends the pair again, input first. Skype may attach
    // once more meanwhile, with a pair of its own: count the attaches too.
    waitAttachesDone();
    const std::uint64_t from = skype().recordCount();
    handset().plug();
    const double deadline = nowMs() + kWaitMs;
    std::vector<std::string> sent;
    size_t protocols = 0, ins = 0, outs = 0;
    do {
        ::Sleep(5);
        sent = texts(skype().commands(from));
        protocols = static_cast<size_t>(std::count(sent.begin(), sent.end(), "PROTOCOL 5"));
        ins = static_cast<size_t>(std::count(sent.begin(), sent.end(), "SET AUDIO_IN " + device));
        outs = static_cast<size_t>(std::count(sent.begin(), sent.end(), "SET AUDIO_OUT " + device));
    } while ((outs < protocols + 1 || ins != outs) && nowMs() < deadline);
    EXPECT_EQ(ins, protocols + 1) << joined(sent);
    EXPECT_EQ(outs, protocols + 1) << joined(sent);
    auto firstAudio = std::find_if(sent.begin(), sent.end(), [](const std::string& l) { return l.rfind("SET AUDIO", 0) == 0; });
    ASSERT_NE(firstAudio, sent.end());
    EXPECT_EQ(*firstAudio, "SET AUDIO_IN " + device) << "input first";
}

TEST_F(SkypeCallTest, IncomingCallRingsIsAnsweredDialledIntoAndHungUp)
{
    auto p = startAttached();
    const std::uint64_t handsetFrom = handset().recordCount();
    std::uint64_t from = skype().recordCount();

    // Ringing: the program asks for the type, then flashes and rings.
    ASSERT_TRUE(skype().incomingCall("7", "INCOMING_P2P"));
    EXPECT_TRUE(skype().waitCommand("GET CALL 7 TYPE", from));
    EXPECT_EQ(commandsUntil(handsetFrom, 0x0011), (std::vector<std::uint32_t>{0x0023, 0x0011}));
    EXPECT_EQ(handset().state().ringer, 1u);

    // YES answers: the ringer stops first, Skype picks up, the LEDs show the call.
    from = skype().recordCount();
    const std::uint64_t answered = handset().recordCount();
    key(0x0030);
    key(0x00B0);
    EXPECT_TRUE(skype().waitCommand("HOOK OFF", from));
    EXPECT_EQ(commandsUntil(answered, 0x0022), (std::vector<std::uint32_t>{0x0010, 0x0022}));
    ASSERT_TRUE(waitCommand(answered, 0x0010));
    EXPECT_EQ(handset().state().ringer, 0u);

    // Digits go into the call as tones and as buttons.
    from = skype().recordCount();
    key(0x0000); // 1
    key(0x0080);
    key(0x0013); // 0
    key(0x0093);
    key(0x0023); // #: during a call at once
    key(0x00A3);
    const auto dialled = withoutAttach(sentUntil(from, "BTN_RELEASED #"));
    EXPECT_EQ(dialled, (std::vector<std::string>{"SET CALL 7 DTMF 1", "BTN_PRESSED 1", "BTN_RELEASED 1",
                                                 "SET CALL 7 DTMF 0", "BTN_PRESSED 0", "BTN_RELEASED 0",
                                                 "SET CALL 7 DTMF #", "BTN_PRESSED #", "BTN_RELEASED #"}))
        << joined(dialled);

    // Putting the handset down hangs up; the end of the call is seen through
    // the list of active calls, which comes back empty.
    from = skype().recordCount();
    const std::uint64_t hungUp = handset().recordCount();
    key(0x0040);
    const auto ending = sentUntil(from, "MINIMIZE");
    EXPECT_TRUE(inOrder(ending, {"HOOK ON", "SEARCH ACTIVECALLS", "MINIMIZE"})) << joined(ending);
    auto calls = skype().waitRecord(from, [](const skype_standin::Entry& e) {
        return e.is(skype_standin::RecordKind::Notification) && e.text().rfind("CALLS", 0) == 0;
    });
    ASSERT_TRUE(calls);
    EXPECT_EQ(calls->text(), "CALLS ");
    EXPECT_EQ(commandsUntil(hungUp, 0x0021).back(), 0x0021u);
    auto idle = handset().waitRecord(hungUp, [](const Record& r) { return isTaken(r, 0x0021); }, kWaitMs);
    ASSERT_TRUE(idle);
    EXPECT_TRUE(waitCommand(idle->index, 0x0010)) << "and the ringer off after the idle pattern";
}

TEST_F(SkypeCallTest, OutgoingCallShowsItsProgressOnTheLeds)
{
    auto p = startAttached();
    std::uint64_t handsetFrom = handset().recordCount();
    std::uint64_t from = skype().recordCount();

    ASSERT_TRUE(skype().outgoingCall("9", "OUTGOING_PSTN"));
    EXPECT_TRUE(skype().waitCommand("GET CALL 9 TYPE", from));
    // Not incoming: the ringing pattern, the ringer silent.
    EXPECT_EQ(commandsUntil(handsetFrom, 0x0010), (std::vector<std::uint32_t>{0x0023, 0x0010}));

    handsetFrom = handset().recordCount();
    ASSERT_TRUE(skype().callStatus("9", "INPROGRESS"));
    EXPECT_EQ(commandsUntil(handsetFrom, 0x0010), (std::vector<std::uint32_t>{0x0022, 0x0010}));

    // NO hangs up: the ringer pre-step, "HOOK ON" and the NO button.
    from = skype().recordCount();
    handsetFrom = handset().recordCount();
    key(0x0031);
    key(0x00B1);
    const auto ending = sentUntil(from, "BTN_RELEASED NO");
    EXPECT_TRUE(inOrder(ending, {"HOOK ON", "BTN_PRESSED NO", "BTN_RELEASED NO"})) << joined(ending);
    EXPECT_TRUE(waitCommand(handsetFrom, 0x0021)) << "the call ended";
}

TEST_F(SkypeCallTest, SilentSkypeIsDiscoveredAgain)
{
    auto p = startAttached();
    ASSERT_TRUE(skype().goSilent());
    const std::uint64_t from = skype().recordCount();
    // A cycle without a word from Skype is followed by a discover.
    auto discover = skype().waitRecord(
        from, [](const skype_standin::Entry& e) { return e.is(skype_standin::RecordKind::Discover); }, 30000);
    ASSERT_TRUE(discover);
    const std::uint64_t back = skype().recordCount();
    ASSERT_TRUE(skype().comeBack());
    EXPECT_TRUE(skype().waitCommand("PROTOCOL 5", back, 30000)) << "attached again";
}
