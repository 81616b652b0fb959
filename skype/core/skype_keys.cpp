#include "skype_keys.h"

#include <cstdint>

namespace skype {

namespace {

constexpr int kVolumeStep = 8000;
constexpr std::int64_t kVolumeMax = 65535;
constexpr std::int64_t kVolumeFloor = 1000;
constexpr int kDownHoldUpPresses = 40;

enum Code {
    kHash = 12,
    kNo = 13,
    kYes = 14,
    kSkypeKey = 15,
    kHangUp = 16,
    kHook = 17,
    kShowHide = 18,
    kUp = 19,
    kDown = 20,
    kHook2 = 21,
};

// Codes 1 to 11: the key's symbol, both its button name and its tone.
constexpr const char* kDialSymbols[] = {"1", "4", "7", "*", "2", "5", "8", "0", "3", "6", "9"};

void button(SkypeEffects& fx, const std::string& name)
{
    fx.send("BTN_PRESSED " + name);
    fx.send("BTN_RELEASED " + name);
}

// A copy of the list: a send can nest a notification that rebuilds it.
void toAllCalls(SkypeEffects& fx, const std::vector<std::string>& activeCalls, const std::string& suffix)
{
    const std::vector<std::string> calls = activeCalls;
    for (const auto& id : calls)
        fx.send("SET CALL " + id + suffix);
}

void tone(SkypeEffects& fx, const std::vector<std::string>& activeCalls, const std::string& symbol)
{
    toAllCalls(fx, activeCalls, " DTMF " + symbol);
}

void volumeStep(SkypeEffects& fx, int step)
{
    if (!fx.hasMixerDevice())
        return;
    std::int64_t v = static_cast<std::int64_t>(fx.handsetVolume()) + step;
    if (v > kVolumeMax)
        v = kVolumeMax;
    else if (v < kVolumeFloor)
        v = 0;
    fx.setHandsetVolume(static_cast<std::uint32_t>(v));
}

void hookDown(SkypeEffects& fx, const std::vector<std::string>& activeCalls)
{
    fx.send("HOOK ON");
    toAllCalls(fx, activeCalls, " STATUS FINISHED");
    fx.clearNumberField();
    fx.send("MINIMIZE");
}

void hookUp(SkypeEffects& fx, const std::vector<std::string>& activeCalls)
{
    toAllCalls(fx, activeCalls, " STATUS INPROGRESS");
    fx.send("HOOK OFF");
    fx.send("FOCUS");
    button(fx, "UP");
    button(fx, "DOWN");
    fx.send("OPEN CONTACTS");
}

void hide(SkypeEffects& fx, bool& windowToggle)
{
    fx.clearNumberField();
    fx.send("MINIMIZE");
    windowToggle = true;
}

void keyDown(int code, bool incomingRinging, bool inCall, bool outgoingCall, KeyState& keys, bool& windowToggle,
             const std::vector<std::string>& activeCalls, SkypeEffects& fx)
{
    if (code >= 1 && code <= 11) {
        if (!fx.skypeVisible())
            return;
        if (code == 5)
            fx.focusNumberField();
        const std::string symbol = kDialSymbols[code - 1];
        tone(fx, activeCalls, symbol);
        button(fx, symbol);
        return;
    }
    switch (code) {
    case kHash:
        if (!fx.skypeVisible())
            break;
        if (inCall) {
            tone(fx, activeCalls, "#");
            button(fx, "#");
        } else if (keys.hashPending) {
            keys.hashPending = false;
            fx.killTimer(kHashTimer);
            button(fx, "+");
        } else {
            keys.hashPending = true;
            fx.setTimer(kHashTimer, kHashRepeatMs);
        }
        break;
    case kNo:
        fx.send("HOOK ON");
        button(fx, "NO");
        fx.clearNumberField();
        break;
    case kYes:
        if (incomingRinging) {
            toAllCalls(fx, activeCalls, " STATUS INPROGRESS");
            fx.send("HOOK OFF");
        } else if (fx.skypeVisible()) {
            button(fx, "YES");
        } else {
            fx.send("FOCUS");
        }
        break;
    case kSkypeKey:
        button(fx, "SKYPE");
        button(fx, "DOWN");
        button(fx, "UP");
        break;
    case kHangUp:
        fx.send("HOOK ON");
        button(fx, "NO");
        if (!incomingRinging && !inCall && !outgoingCall) {
            fx.send("HOOK ON");
            hide(fx, windowToggle);
        }
        break;
    case kHook:
    case kHook2:
        hookDown(fx, activeCalls);
        break;
    case kShowHide:
        if (windowToggle) {
            fx.send("FOCUS");
            button(fx, "DOWN");
            button(fx, "UP");
            windowToggle = false;
        } else {
            fx.send("HOOK ON");
            hide(fx, windowToggle);
        }
        break;
    case kUp:
        if (inCall)
            volumeStep(fx, kVolumeStep);
        else
            button(fx, "UP");
        break;
    case kDown:
        keys.downHoldPending = true;
        fx.setTimer(kDownHoldTimer, kDownHoldMs);
        if (inCall)
            volumeStep(fx, -kVolumeStep);
        else
            button(fx, "DOWN");
        break;
    default:
        break;
    }
}

void keyUp(int code, KeyState& keys, const std::vector<std::string>& activeCalls, SkypeEffects& fx)
{
    switch (code) {
    case kHook:
    case kHook2:
        hookUp(fx, activeCalls);
        break;
    case kDown:
        keys.downHoldPending = false;
        break;
    default:
        break;
    }
}

} // namespace

void onKey(int code, bool pressed, bool incomingRinging, bool inCall, bool outgoingCall, KeyState& keys,
           bool& windowToggle, const std::vector<std::string>& activeCalls, SkypeEffects& effects)
{
    if (pressed)
        keyDown(code, incomingRinging, inCall, outgoingCall, keys, windowToggle, activeCalls, effects);
    else
        keyUp(code, keys, activeCalls, effects);

    // Any other key event ends a DOWN hold; so does a DOWN press in a call.
    const bool keepsHold = pressed && (code == kNo || (code == kDown && !inCall));
    if (!keepsHold)
        effects.killTimer(kDownHoldTimer);
}

// Flags and timers settle before the sends: a key event can arrive nested in
// a send and must find them as they will stay.
void onDownHoldTimer(KeyState& keys, SkypeEffects& effects)
{
    const bool held = keys.downHoldPending;
    keys.downHoldPending = false;
    effects.killTimer(kDownHoldTimer);
    if (held) {
        for (int i = 0; i < kDownHoldUpPresses; ++i)
            button(effects, "UP");
    }
}

void onHashTimer(KeyState& keys, const std::vector<std::string>& activeCalls, SkypeEffects& effects)
{
    const bool pending = keys.hashPending;
    keys.hashPending = false;
    effects.killTimer(kHashTimer);
    if (pending) {
        tone(effects, activeCalls, "#");
        button(effects, "#");
    }
}

} // namespace skype
