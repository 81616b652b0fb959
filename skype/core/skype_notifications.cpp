#include "skype_notifications.h"

#include "text.h"
#include "word_cursor.h"

#include <algorithm>

namespace skype {

namespace {

constexpr int kAccessDenied = 68;

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

void endCall(WindowCallState& window, ProcessCallState& process)
{
    window.incomingRinging = false;
    window.ringerOn = false;
    window.outgoingCall = false;
    process.inCall = false;
}

// A call is listed once: its INPROGRESS status comes again after a rebuild of
// the list and after a hold, and a second entry would send every tone twice.
void listCall(ProcessCallState& process, const std::string& id)
{
    auto& calls = process.activeCalls;
    if (std::find(calls.begin(), calls.end(), id) == calls.end())
        calls.push_back(id);
}

void incomingCall(WindowCallState& window, ProcessCallState& process, SkypeEffects& fx)
{
    const bool wasInCall = process.inCall;
    fx.led(3);
    if (window.userStatus != "DND" && !wasInCall) {
        fx.pause(30);
        fx.buzzer(1);
    }
    process.inCall = true;
    window.incomingRinging = true;
    window.ringerOn = true;
}

void outgoingCall(WindowCallState& window, ProcessCallState& process, SkypeEffects& fx)
{
    fx.led(3);
    fx.pause(50);
    fx.buzzer(0);
    window.incomingRinging = false;
    window.ringerOn = false;
    window.outgoingCall = true;
    process.inCall = true;
}

enum class StatusAction {
    WatchAndAskType, // outgoing call being routed
    AskType,
    EndAfterPauses,
    Progress,
    EndVoicemailSent,
    EndShort,
};

struct StatusRow {
    std::string_view text;
    StatusAction action;
};

// Tested in this order, every matching row runs: "RING" also matches RINGING,
// VM_CANCELLED and VM_FAILED end the call twice.
constexpr StatusRow kStatusRows[] = {
    {"ROUTING", StatusAction::WatchAndAskType},
    {"RING", StatusAction::AskType},
    {"REFUSED", StatusAction::EndAfterPauses},
    {"INPROGRESS", StatusAction::Progress},
    {"MISSED", StatusAction::EndAfterPauses},
    {"CANCELLED", StatusAction::EndAfterPauses},
    {"FAILED", StatusAction::EndAfterPauses},
    {"FINISH", StatusAction::EndAfterPauses},
    {"VM_SENT", StatusAction::EndVoicemailSent},
    {"BUSY", StatusAction::EndShort},
    {"VM_CANCELLED", StatusAction::EndShort},
    {"VM_FAILED", StatusAction::EndShort},
};

void showPattern(SkypeEffects& fx, int pattern)
{
    fx.pause(50);
    fx.led(pattern);
    fx.pause(50);
    fx.buzzer(0);
    fx.pause(50);
}

// State and timer change before any send, so that a notification nested in
// the send builds on them instead of being overwritten afterwards.
void runStatus(StatusAction action, const std::string& id, WindowCallState& window, ProcessCallState& process,
               SkypeEffects& fx)
{
    auto finishCall = [&] {
        endCall(window, process);
        fx.killTimer(kKeepAliveTimer);
        fx.send("SEARCH ACTIVECALLS");
    };
    switch (action) {
    case StatusAction::WatchAndAskType:
        fx.setTimer(kKeepAliveTimer, kRoutingKeepAliveMs);
        fx.send("GET CALL " + id + " TYPE");
        break;
    case StatusAction::AskType:
        fx.send("GET CALL " + id + " TYPE");
        break;
    case StatusAction::EndAfterPauses:
        showPattern(fx, 1);
        finishCall();
        break;
    case StatusAction::Progress:
        showPattern(fx, 4);
        window.incomingRinging = false;
        window.ringerOn = false;
        window.outgoingCall = false;
        process.inCall = true;
        listCall(process, trimmed(id));
        fx.killTimer(kKeepAliveTimer);
        break;
    case StatusAction::EndVoicemailSent:
        fx.led(1);
        fx.pause(50);
        fx.buzzer(0);
        finishCall();
        break;
    case StatusAction::EndShort:
        fx.led(1);
        fx.pause(50);
        fx.buzzer(0);
        fx.pause(50);
        finishCall();
        break;
    }
}

void onCall(WordCursor& words, WindowCallState& window, ProcessCallState& process, SkypeEffects& fx)
{
    const std::string id = words.nextWord();
    const std::string property = trimmed(words.nextWord());
    const std::string value = trimmed(words.nextWord());
    if (property == "TYPE") {
        if (contains(value, "INCOMING"))
            incomingCall(window, process, fx);
        else
            outgoingCall(window, process, fx);
    } else if (property == "STATUS") {
        for (const auto& row : kStatusRows) {
            if (contains(value, row.text))
                runStatus(row.action, id, window, process, fx);
        }
    }
}

// The reply to "SEARCH ACTIVECALLS": "CALLS 12, 13", or no ids at all.
void onCalls(WordCursor& items, WindowCallState& window, ProcessCallState& process, SkypeEffects& fx)
{
    process.activeCalls.clear();
    auto listAndAsk = [&](const std::string& id) {
        listCall(process, id);
        fx.send("GET CALL " + id + " STATUS");
    };
    const std::string first = items.nextItem();
    if (leadingNumber(first) <= 0) {
        endCall(window, process);
        fx.led(1);
        fx.pause(50);
        fx.buzzer(0);
        return;
    }
    listAndAsk(trimmed(first));
    do {
        const std::string item = trimmed(items.nextItem());
        if (!item.empty())
            listAndAsk(item);
    } while (items.position() > 0);
}

} // namespace

void onConnectFinish(WindowCallState& window, SkypeEffects& effects)
{
    window.skypeAttached = true;
    effects.setStatus("Using Skype now");
    effects.send("PROTOCOL 5");
    effects.selectAudioDevice();
    effects.setTimer(kKeepAliveTimer, kKeepAliveMs);
}

void onNotification(std::string_view text, int selectedSoftphone, WindowCallState& window,
                    ProcessCallState& process, SkypeEffects& effects)
{
    WordCursor words(text);
    const std::string first = words.nextWord();
    if (selectedSoftphone != kSkypeSoftphone)
        return;

    if (first == "CALL") {
        onCall(words, window, process, effects);
    } else if (first == "CALLS") {
        onCalls(words, window, process, effects);
    } else if (first == "ERROR") {
        if (leadingNumber(words.nextWord()) == kAccessDenied)
            window.ringerOn = false;
    } else if (first == "USER") {
        if (trimmed(words.nextWord()) == window.currentUserHandle && words.nextWord() == "ONLINESTATUS")
            window.userStatus = trimmed(words.nextWord());
    } else if (first == "CURRENTUSERHANDLE") {
        window.currentUserHandle = trimmed(words.nextWord());
    } else if (first == "USERSTATUS") {
        window.userStatus = trimmed(words.nextWord());
    }
}

void onKeepAliveTimer(int selectedSoftphone, WindowCallState& window, const ProcessCallState& process,
                      SkypeEffects& effects)
{
    effects.send("PING");
    if (!window.incomingRinging || window.ringerOn)
        return;
    if (selectedSoftphone != kSkypeSoftphone) {
        effects.buzzer(1);
    } else if (window.userStatus != "DND" && !process.inCall) {
        effects.buzzer(1);
        effects.pause(50);
    }
    window.ringerOn = true;
}

} // namespace skype
