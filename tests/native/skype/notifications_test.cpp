#include "recording_effects.h"

#include <skype_notifications.h>

#include <gtest/gtest.h>

using testing_support::RecordingEffects;
using Log = std::vector<std::string>;

namespace {

struct Rig {
    skype::WindowCallState window;
    skype::ProcessCallState process;
    RecordingEffects fx;

    void notify(const std::string& text, int selected = skype::kSkypeSoftphone)
    {
        skype::onNotification(text, selected, window, process, fx);
    }
    void tick(int selected = skype::kSkypeSoftphone) { skype::onKeepAliveTimer(selected, window, process, fx); }

    // The four call flags that are set, by name.
    std::string flags() const
    {
        std::string out;
        auto add = [&out](bool on, const char* name) {
            if (on)
                out += out.empty() ? name : std::string(" ") + name;
        };
        add(window.incomingRinging, "ringing");
        add(window.ringerOn, "ringerOn");
        add(window.outgoingCall, "outgoing");
        add(process.inCall, "inCall");
        return out;
    }
    void setFlags(bool ringing, bool ringerOn, bool outgoing, bool inCall)
    {
        window.incomingRinging = ringing;
        window.ringerOn = ringerOn;
        window.outgoingCall = outgoing;
        process.inCall = inCall;
    }
};

Log operator+(Log a, const Log& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Log kSearch = {"kill 7", "> SEARCH ACTIVECALLS"};
const Log kEndWithPauses = Log{"pause 50", "led 1", "pause 50", "buzzer 0", "pause 50"} + kSearch;
const Log kEndShort = Log{"led 1", "pause 50", "buzzer 0", "pause 50"} + kSearch;
const Log kEndVoicemailSent = Log{"led 1", "pause 50", "buzzer 0"} + kSearch;
const Log kNoCalls = {"led 1", "pause 50", "buzzer 0"};

} // namespace

TEST(SkypeConnect, AttachAnnouncesProtocolSetsAudioAndStartsKeepAlive)
{
    for (int selected : {skype::kSkypeSoftphone, 3, -1}) {
        SCOPED_TRACE(selected);
        Rig rig;
        skype::onConnectFinish(rig.window, rig.fx);
        EXPECT_TRUE(rig.window.skypeAttached);
        EXPECT_EQ(rig.fx.log, (Log{"status Using Skype now", "> PROTOCOL 5", "audio device", "timer 7 6000"}));
    }
}

TEST(SkypeNotification, IgnoredWhileAnotherSoftphoneIsSelected)
{
    for (int selected : {1, 5, -1, 6}) {
        SCOPED_TRACE(selected);
        Rig rig;
        rig.window.currentUserHandle = "me";
        rig.process.activeCalls = {"4"};
        for (const char* text : {"CALL 7 STATUS RINGING", "CALL 7 TYPE INCOMING_P2P", "CALL 7 STATUS FINISHED",
                                 "CALLS ", "CALLS 9", "ERROR 68", "USER me ONLINESTATUS AWAY", "USERSTATUS DND",
                                 "CURRENTUSERHANDLE other"})
            rig.notify(text, selected);
        EXPECT_TRUE(rig.fx.log.empty());
        EXPECT_EQ(rig.flags(), "");
        EXPECT_EQ(rig.process.activeCalls, Log{"4"});
        EXPECT_EQ(rig.window.userStatus, "");
        EXPECT_EQ(rig.window.currentUserHandle, "me");
    }
}

TEST(SkypeNotification, StatusRowsInOrder)
{
    struct Row {
        const char* value;
        Log log;
        const char* flags; // starting from all four set
        Log calls;         // starting from {"4"}
    };
    const Row rows[] = {
        {"ROUTING", {"timer 7 5000", "> GET CALL 7 TYPE"}, "ringing ringerOn outgoing inCall", {"4"}},
        {"RINGING", {"> GET CALL 7 TYPE"}, "ringing ringerOn outgoing inCall", {"4"}},
        {"REFUSED", kEndWithPauses, "", {"4"}},
        {"INPROGRESS", {"pause 50", "led 4", "pause 50", "buzzer 0", "pause 50", "kill 7"}, "inCall", {"4", "7"}},
        {"MISSED", kEndWithPauses, "", {"4"}},
        {"CANCELLED", kEndWithPauses, "", {"4"}},
        {"FAILED", kEndWithPauses, "", {"4"}},
        {"FINISHED", kEndWithPauses, "", {"4"}},
        {"VM_SENT", kEndVoicemailSent, "", {"4"}},
        {"BUSY", kEndShort, "", {"4"}},
        {"VM_CANCELLED", kEndWithPauses + kEndShort, "", {"4"}},
        {"VM_FAILED", kEndWithPauses + kEndShort, "", {"4"}},
        {"UNPLACED", {}, "ringing ringerOn outgoing inCall", {"4"}},
        {"EARLYMEDIA", {}, "ringing ringerOn outgoing inCall", {"4"}},
        {"finished", {}, "ringing ringerOn outgoing inCall", {"4"}},
        {"", {}, "ringing ringerOn outgoing inCall", {"4"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        Rig rig;
        rig.setFlags(true, true, true, true);
        rig.process.activeCalls = {"4"};
        rig.notify(std::string("CALL 7 STATUS ") + row.value);
        EXPECT_EQ(rig.fx.log, row.log);
        EXPECT_EQ(rig.flags(), row.flags);
        EXPECT_EQ(rig.process.activeCalls, row.calls);
    }
}

TEST(SkypeNotification, CallTypes)
{
    struct Row {
        const char* name;
        const char* type;
        const char* userStatus;
        bool inCallBefore;
        Log log;
        const char* flags;
    };
    const Log rings = {"led 3", "pause 30", "buzzer 1"}, silent = {"led 3"}, quiet = {"led 3", "pause 50", "buzzer 0"};
    const char* const ringing = "ringing ringerOn inCall";
    const Row rows[] = {
        {"incoming rings", "INCOMING_P2P", "ONLINE", false, rings, ringing},
        {"incoming PSTN rings", "INCOMING_PSTN", "", false, rings, ringing},
        {"do not disturb", "INCOMING_P2P", "DND", false, silent, ringing},
        {"second incoming call", "INCOMING_P2P", "ONLINE", true, silent, ringing},
        {"outgoing", "OUTGOING_P2P", "ONLINE", false, quiet, "outgoing inCall"},
        {"outgoing during a call", "OUTGOING_PSTN", "DND", true, quiet, "outgoing inCall"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.window.userStatus = row.userStatus;
        rig.process.inCall = row.inCallBefore;
        rig.notify(std::string("CALL 7 TYPE ") + row.type);
        EXPECT_EQ(rig.fx.log, row.log);
        EXPECT_EQ(rig.flags(), row.flags);
    }
}

TEST(SkypeNotification, OutgoingTypeEndsAnIncomingRing)
{
    Rig rig;
    rig.setFlags(true, true, false, true);
    rig.notify("CALL 7 TYPE OUTGOING_P2P");
    EXPECT_EQ(rig.flags(), "outgoing inCall");
}

TEST(SkypeNotification, CallsRebuildsTheList)
{
    struct Row {
        const char* text;
        Log log;
        Log calls;
        const char* flags; // starting from all four set
    };
    const char* const all = "ringing ringerOn outgoing inCall";
    const Row rows[] = {
        {"CALLS", kNoCalls, {}, ""},
        {"CALLS ", kNoCalls, {}, ""},
        {"CALLS 0", kNoCalls, {}, ""},
        {"CALLS 12", {"> GET CALL 12 STATUS"}, {"12"}, all},
        {"CALLS 12, 13", {"> GET CALL 12 STATUS", "> GET CALL 13 STATUS"}, {"12", "13"}, all},
        {"CALLS 12,13, 14,", {"> GET CALL 12 STATUS", "> GET CALL 13 STATUS", "> GET CALL 14 STATUS"},
         {"12", "13", "14"}, all},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Rig rig;
        rig.setFlags(true, true, true, true);
        rig.process.activeCalls = {"4", "5"};
        rig.notify(row.text);
        EXPECT_EQ(rig.fx.log, row.log);
        EXPECT_EQ(rig.process.activeCalls, row.calls);
        EXPECT_EQ(rig.flags(), row.flags);
    }
}

TEST(SkypeNotification, ACallIsListedOnce)
{
    // The status request after a rebuild answers INPROGRESS for a call already
    // listed, and so does a resume after a hold.
    Rig rig;
    rig.fx.onSend = [&rig](const std::string& command) {
        if (command == "GET CALL 12 STATUS")
            rig.notify("CALL 12 STATUS INPROGRESS");
    };
    rig.notify("CALLS 12, 13");
    rig.notify("CALL 13 STATUS LOCALHOLD");
    rig.notify("CALL 13 STATUS INPROGRESS");
    rig.notify("CALL 12 STATUS INPROGRESS");
    EXPECT_EQ(rig.process.activeCalls, (Log{"12", "13"}));
}

TEST(SkypeNotification, UserStatusAndHandle)
{
    struct Row {
        const char* text;
        const char* userStatus; // starting from "ONLINE"
        const char* handle;     // starting from "me"
    };
    const Row rows[] = {
        {"USER me ONLINESTATUS AWAY", "AWAY", "me"},
        {"USER other ONLINESTATUS AWAY", "ONLINE", "me"},
        {"USER me MOODTEXT AWAY", "ONLINE", "me"},
        {"USER me", "ONLINE", "me"},
        {"USERSTATUS DND", "DND", "me"},
        {"USERSTATUS", "", "me"},
        {"CURRENTUSERHANDLE bob", "ONLINE", "bob"},
        {"USERSTATUSES DND", "ONLINE", "me"},
        {"PONG", "ONLINE", "me"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Rig rig;
        rig.window.userStatus = "ONLINE";
        rig.window.currentUserHandle = "me";
        rig.notify(row.text);
        EXPECT_EQ(rig.window.userStatus, row.userStatus);
        EXPECT_EQ(rig.window.currentUserHandle, row.handle);
        EXPECT_TRUE(rig.fx.log.empty());
    }
}

TEST(SkypeNotification, DoNotDisturbReportedBySkypeSilencesTheNextCall)
{
    Rig rig;
    rig.notify("CURRENTUSERHANDLE me");
    rig.notify("USER me ONLINESTATUS DND");
    rig.notify("CALL 7 TYPE INCOMING_P2P");
    EXPECT_EQ(rig.fx.log, Log{"led 3"});
}

TEST(SkypeNotification, OnlyErrorSixtyEightUndoesTheRingerDecision)
{
    struct Row {
        const char* text;
        bool ringerOn;
    };
    const Row rows[] = {
        {"ERROR 68", false},   {"ERROR 68 Access denied", false}, {"ERROR 068", false}, {"ERROR 680", true},
        {"ERROR 9 Unknown", true}, {"ERROR", true},                 {"ERROR x68", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Rig rig;
        rig.setFlags(true, true, false, true);
        rig.notify(row.text);
        EXPECT_EQ(rig.window.ringerOn, row.ringerOn);
        EXPECT_EQ(rig.flags(), row.ringerOn ? "ringing ringerOn inCall" : "ringing inCall");
    }
}

TEST(SkypeKeepAlive, PingsAndRetakesAnUndoneRingerDecision)
{
    struct Row {
        const char* name;
        int selected;
        bool ringing, ringerOn, inCall;
        const char* userStatus;
        Log log;
        bool ringerOnAfter;
    };
    const Row rows[] = {
        {"idle", 0, false, false, false, "", {"> PING"}, false},
        {"decision standing", 0, true, true, true, "", {"> PING"}, true},
        {"undone, not in a call", 0, true, false, false, "", {"> PING", "buzzer 1", "pause 50"}, true},
        {"undone, in a call", 0, true, false, true, "", {"> PING"}, true},
        {"undone, do not disturb", 0, true, false, false, "DND", {"> PING"}, true},
        {"undone, another softphone", 4, true, false, true, "DND", {"> PING", "buzzer 1"}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.setFlags(row.ringing, row.ringerOn, false, row.inCall);
        rig.window.userStatus = row.userStatus;
        rig.tick(row.selected);
        EXPECT_EQ(rig.fx.log, row.log);
        EXPECT_EQ(rig.window.ringerOn, row.ringerOnAfter);
    }
}

TEST(SkypeKeepAlive, ErrorSixtyEightThenTick)
{
    Rig rig;
    rig.notify("CALL 7 TYPE INCOMING_P2P");
    rig.notify("ERROR 68");
    EXPECT_FALSE(rig.window.ringerOn);
    rig.fx.take();
    rig.tick();
    // The incoming call set inCall, so the decision is taken without ringing.
    EXPECT_EQ(rig.fx.log, Log{"> PING"});
    EXPECT_TRUE(rig.window.ringerOn);
}

TEST(SkypeNotification, RepliesNestedInsideSendsBuildOnTheOuterState)
{
    // A whole incoming call, each reply delivered inside the send that asked for it.
    Rig rig;
    rig.fx.onSend = [&rig](const std::string& command) {
        if (command == "GET CALL 7 TYPE")
            rig.notify("CALL 7 TYPE INCOMING_P2P");
        else if (command == "SEARCH ACTIVECALLS")
            rig.notify("CALLS ");
    };
    rig.notify("CALL 7 STATUS RINGING");
    EXPECT_EQ(rig.fx.take(), (Log{"> GET CALL 7 TYPE", "led 3", "pause 30", "buzzer 1"}));
    EXPECT_EQ(rig.flags(), "ringing ringerOn inCall");

    rig.notify("CALL 7 STATUS INPROGRESS");
    EXPECT_EQ(rig.flags(), "inCall");
    EXPECT_EQ(rig.process.activeCalls, Log{"7"});

    rig.fx.take();
    rig.notify("CALL 7 STATUS FINISHED");
    EXPECT_EQ(rig.fx.take(), kEndWithPauses + kNoCalls);
    EXPECT_EQ(rig.flags(), "");
    EXPECT_TRUE(rig.process.activeCalls.empty());
}

TEST(SkypeNotification, NestedEndOfCallIsNotUndoneByTheOuterHandler)
{
    // An outgoing call that fails while its type is being asked for: the
    // failure's stop of timer 7 stands.
    Rig rig;
    rig.fx.onSend = [&rig](const std::string& command) {
        if (command == "GET CALL 9 TYPE")
            rig.notify("CALL 9 STATUS FAILED");
    };
    rig.notify("CALL 9 STATUS ROUTING");
    EXPECT_EQ(rig.fx.timers.count(skype::kKeepAliveTimer), 0u);
    EXPECT_EQ(rig.flags(), "");

    // A new call listed while the search for the ended one is under way stays in the call.
    Rig second;
    second.setFlags(false, false, false, true);
    second.fx.onSend = [&second](const std::string& command) {
        if (command == "SEARCH ACTIVECALLS")
            second.notify("CALLS 11");
        else if (command == "GET CALL 11 STATUS")
            second.notify("CALL 11 STATUS INPROGRESS");
    };
    second.notify("CALL 10 STATUS FINISHED");
    EXPECT_EQ(second.flags(), "inCall");
    EXPECT_EQ(second.process.activeCalls, Log{"11"});
}
