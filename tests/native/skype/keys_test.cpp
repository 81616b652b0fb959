#include "recording_effects.h"

#include <skype_keys.h>
#include <skype_notifications.h>

#include <gtest/gtest.h>

using testing_support::RecordingEffects;
using Log = std::vector<std::string>;

namespace {

struct Call {
    bool ringing = false;
    bool inCall = false;
    bool outgoing = false;
};

struct Rig {
    skype::KeyState keys;
    bool windowToggle = true;
    std::vector<std::string> calls;
    RecordingEffects fx;

    void key(int code, bool pressed, Call call = {})
    {
        skype::onKey(code, pressed, call.ringing, call.inCall, call.outgoing, keys, windowToggle, calls, fx);
    }
    void press(int code, Call call = {}) { key(code, true, call); }
    void release(int code, Call call = {}) { key(code, false, call); }

    void runUntil(double ms)
    {
        fx.runUntil(ms, [this](int id) {
            if (id == skype::kHashTimer)
                skype::onHashTimer(keys, calls, fx);
            else if (id == skype::kDownHoldTimer)
                skype::onDownHoldTimer(keys, fx);
        });
    }
};

Log operator+(Log a, const Log& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Log button(const std::string& name) { return {"> BTN_PRESSED " + name, "> BTN_RELEASED " + name}; }

// As RecordingEffects::commands() gives them.
Log plain(Log entries)
{
    for (auto& entry : entries)
        entry = entry.substr(2);
    return entries;
}

const Log kKill5 = {"kill 5"};

} // namespace

TEST(SkypeKeys, DialKeysSendTonesToEveryCallThenTheButton)
{
    const char* const symbols[] = {"1", "4", "7", "*", "2", "5", "8", "0", "3", "6", "9"};
    for (int code = 1; code <= 11; ++code) {
        const std::string symbol = symbols[code - 1];
        SCOPED_TRACE(code);
        Rig rig;
        rig.calls = {"3", "8"};
        rig.press(code, {false, true, false});
        const Log focus = code == 5 ? Log{"focus field"} : Log{};
        const Log tones = {"> SET CALL 3 DTMF " + symbol, "> SET CALL 8 DTMF " + symbol};
        EXPECT_EQ(rig.fx.take(), focus + tones + button(symbol) + kKill5);

        rig.release(code);
        EXPECT_EQ(rig.fx.take(), kKill5);

        rig.fx.visible = false;
        rig.press(code);
        EXPECT_EQ(rig.fx.take(), kKill5);
    }
}

TEST(SkypeKeys, OtherKeysBothSenses)
{
    const Call idle{}, ringing{true, true, false}, talking{false, true, false}, dialling{false, true, true};
    struct Row {
        const char* name;
        int code;
        bool pressed;
        Call call;
        bool visible;
        Log log;
    };
    const Log hookDown = Log{"> HOOK ON", "> SET CALL 3 STATUS FINISHED", "> SET CALL 8 STATUS FINISHED",
                             "clear field", "> MINIMIZE"} +
                         kKill5;
    const Log hookUp = Log{"> SET CALL 3 STATUS INPROGRESS", "> SET CALL 8 STATUS INPROGRESS", "> HOOK OFF",
                           "> FOCUS"} +
                       button("UP") + button("DOWN") + Log{"> OPEN CONTACTS"} + kKill5;
    const Row rows[] = {
        {"# in a call", 12, true, talking, true,
         Log{"> SET CALL 3 DTMF #", "> SET CALL 8 DTMF #"} + button("#") + kKill5},
        {"# hidden", 12, true, talking, false, kKill5},
        {"NO", 13, true, idle, false, Log{"> HOOK ON"} + button("NO") + Log{"clear field"}},
        {"YES ringing", 14, true, ringing, false,
         Log{"> SET CALL 3 STATUS INPROGRESS", "> SET CALL 8 STATUS INPROGRESS", "> HOOK OFF"} + kKill5},
        {"YES visible", 14, true, talking, true, button("YES") + kKill5},
        {"YES hidden", 14, true, idle, false, Log{"> FOCUS"} + kKill5},
        {"SKYPE", 15, true, idle, false, button("SKYPE") + button("DOWN") + button("UP") + kKill5},
        {"hang-up ringing", 16, true, ringing, true, Log{"> HOOK ON"} + button("NO") + kKill5},
        {"hang-up in a call", 16, true, talking, true, Log{"> HOOK ON"} + button("NO") + kKill5},
        {"hang-up dialling", 16, true, {false, false, true}, true, Log{"> HOOK ON"} + button("NO") + kKill5},
        {"hang-up idle", 16, true, idle, true,
         Log{"> HOOK ON"} + button("NO") + Log{"> HOOK ON", "clear field", "> MINIMIZE"} + kKill5},
        {"hook down", 17, true, talking, true, hookDown},
        {"hook up", 17, false, ringing, true, hookUp},
        {"second hook down", 21, true, dialling, false, hookDown},
        {"second hook up", 21, false, idle, false, hookUp},
        {"UP outside a call", 19, true, idle, true, button("UP") + kKill5},
        {"DOWN outside a call", 20, true, idle, true, Log{"timer 5 1000"} + button("DOWN")},
        {"DOWN in a call", 20, true, talking, true, Log{"timer 5 1000", "volume 22000"} + kKill5},
        {"DOWN released", 20, false, idle, true, kKill5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.calls = {"3", "8"};
        rig.fx.visible = row.visible;
        rig.key(row.code, row.pressed, row.call);
        EXPECT_EQ(rig.fx.log, row.log);
    }
}

TEST(SkypeKeys, ReleasesAndUnknownCodesSendNothing)
{
    for (int code : {0, 12, 13, 14, 15, 16, 18, 19, 22, 99, -1}) {
        SCOPED_TRACE(code);
        Rig rig;
        rig.calls = {"3"};
        rig.release(code, {true, true, true});
        if (code == 0 || code == 22 || code == 99 || code == -1)
            rig.press(code, {true, true, true});
        EXPECT_EQ(rig.fx.commands(), Log{});
        EXPECT_TRUE(rig.windowToggle);
    }
}

TEST(SkypeKeys, HookSwitchWithoutCalls)
{
    Rig rig;
    rig.release(17);
    rig.press(21);
    EXPECT_EQ(rig.fx.commands(), plain(Log{"> HOOK OFF", "> FOCUS"} + button("UP") + button("DOWN") +
                                       Log{"> OPEN CONTACTS", "> HOOK ON", "> MINIMIZE"}));
}

TEST(SkypeKeys, ShowHideAlternatesFromShowing)
{
    const Log show = Log{"> FOCUS"} + button("DOWN") + button("UP") + kKill5;
    const Log hide = Log{"> HOOK ON", "clear field", "> MINIMIZE"} + kKill5;
    Rig rig;
    for (const auto& expected : {show, hide, show, hide}) {
        rig.press(18);
        EXPECT_EQ(rig.fx.take(), expected);
        rig.release(18);
        EXPECT_EQ(rig.fx.take(), kKill5);
    }
    // The idle hang-up key hides too, so the next toggle shows again.
    rig.press(18);
    rig.press(16);
    rig.fx.take();
    rig.press(18);
    EXPECT_EQ(rig.fx.take(), show);
}

TEST(SkypeKeys, HashWaitsForASecondPress)
{
    struct Row {
        const char* name;
        double secondPressAt; // < 0: none
        Log commands;
    };
    const Row rows[] = {
        {"single", -1, button("#")},
        {"double within 400 ms", 399, button("+")},
        {"second after 400 ms", 401, button("#") + button("#")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.press(12);
        EXPECT_TRUE(rig.fx.commands().empty());
        if (row.secondPressAt >= 0) {
            rig.runUntil(row.secondPressAt);
            rig.press(12);
        }
        rig.runUntil(5000);
        EXPECT_EQ(rig.fx.commands(), plain(row.commands));
        EXPECT_FALSE(rig.keys.hashPending);
        EXPECT_TRUE(rig.fx.timers.empty());
    }
}

TEST(SkypeKeys, SingleHashIsSentWhenTimerElevenFires)
{
    Rig rig;
    rig.press(12);
    rig.runUntil(399);
    EXPECT_TRUE(rig.fx.commands().empty());
    rig.runUntil(400);
    EXPECT_EQ(rig.fx.commands(), plain(button("#")));
}

TEST(SkypeKeys, DownHeldOutsideACall)
{
    Log fortyUps;
    for (int i = 0; i < 40; ++i)
        fortyUps = fortyUps + button("UP");
    struct Row {
        const char* name;
        int otherCode; // 0: none; another key event at 500 ms
        bool otherPressed;
        double releaseAt;
        Log after; // commands after the DOWN button
    };
    const Row rows[] = {
        {"held", 0, false, 3000, fortyUps},
        {"released at 999 ms", 0, false, 999, {}},
        {"digit pressed meanwhile", 1, true, 3000, button("1")},
        {"UP released meanwhile", 19, false, 3000, {}},
        {"unknown code meanwhile", 22, true, 3000, {}},
        {"NO pressed meanwhile", 13, true, 3000, Log{"> HOOK ON"} + button("NO") + fortyUps},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.press(20);
        EXPECT_TRUE(rig.keys.downHoldPending);
        if (row.otherCode != 0) {
            rig.runUntil(500);
            rig.key(row.otherCode, row.otherPressed);
        }
        rig.runUntil(row.releaseAt);
        rig.release(20);
        rig.runUntil(5000);
        EXPECT_EQ(rig.fx.commands(), plain(button("DOWN") + row.after));
        EXPECT_FALSE(rig.keys.downHoldPending);
        EXPECT_TRUE(rig.fx.timers.empty());
    }
}

TEST(SkypeKeys, DownInACallLeavesNoHold)
{
    Rig rig;
    rig.press(20, {false, true, false});
    rig.runUntil(5000);
    EXPECT_TRUE(rig.fx.commands().empty());
    EXPECT_TRUE(rig.fx.timers.empty());
}

TEST(SkypeKeys, VolumeStepsInACall)
{
    struct Row {
        const char* name;
        int code;
        bool mixer;
        std::uint32_t volume;
        Log log;
    };
    const Row rows[] = {
        {"UP", 19, true, 30000, {"volume 38000"}},
        {"UP to exactly the top", 19, true, 57535, {"volume 65535"}},
        {"UP past the top", 19, true, 60000, {"volume 65535"}},
        {"UP from beyond the top", 19, true, 0xFFFFFFFFu, {"volume 65535"}},
        {"UP from unreadable", 19, true, 0, {"volume 8000"}},
        {"DOWN", 20, true, 30000, {"timer 5 1000", "volume 22000"}},
        {"DOWN to exactly 1000", 20, true, 9000, {"timer 5 1000", "volume 1000"}},
        {"DOWN below 1000", 20, true, 8999, {"timer 5 1000", "volume 0"}},
        {"DOWN below 0", 20, true, 3000, {"timer 5 1000", "volume 0"}},
        {"UP without a mixer device", 19, false, 30000, {}},
        {"DOWN without a mixer device", 20, false, 30000, {"timer 5 1000"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.fx.mixer = row.mixer;
        rig.fx.volume = row.volume;
        rig.press(row.code, {false, true, false});
        EXPECT_EQ(rig.fx.log, row.log + kKill5);
    }
}

TEST(SkypeKeys, CallListChangedByANestedNotificationDuringTheSends)
{
    // Hanging up the first call ends it inside the send; Skype's reply to the
    // search rebuilds the list while the hook switch is still going through it.
    skype::WindowCallState window;
    skype::ProcessCallState process;
    process.inCall = true;
    process.activeCalls = {"3", "8"};
    Rig rig;
    rig.fx.onSend = [&](const std::string& command) {
        if (command == "SET CALL 3 STATUS FINISHED")
            skype::onNotification("CALL 3 STATUS FINISHED", skype::kSkypeSoftphone, window, process, rig.fx);
        else if (command == "SEARCH ACTIVECALLS")
            skype::onNotification("CALLS 11, 12, 13, 14, 15", skype::kSkypeSoftphone, window, process, rig.fx);
    };
    skype::onKey(17, true, false, true, false, rig.keys, rig.windowToggle, process.activeCalls, rig.fx);
    EXPECT_EQ(rig.fx.commands(),
              (Log{"HOOK ON", "SET CALL 3 STATUS FINISHED", "SEARCH ACTIVECALLS", "GET CALL 11 STATUS",
                   "GET CALL 12 STATUS", "GET CALL 13 STATUS", "GET CALL 14 STATUS", "GET CALL 15 STATUS",
                   "SET CALL 8 STATUS FINISHED", "MINIMIZE"}));
    EXPECT_EQ(process.activeCalls, (Log{"11", "12", "13", "14", "15"}));
}
