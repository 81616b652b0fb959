#include "key_routing.h"

namespace app {

namespace {

class ScanWindowOwnership {
public:
    explicit ScanWindowOwnership(KeyRoutingHost& host) : host_(host)
    {
        for (int attempt = 0; attempt < kScanWindowWaitAttempts && !owned_; ++attempt)
            owned_ = host_.acquireScanWindow(kScanWindowWaitMs);
    }
    ~ScanWindowOwnership()
    {
        if (owned_)
            host_.releaseScanWindow();
    }
    ScanWindowOwnership(const ScanWindowOwnership&) = delete;
    ScanWindowOwnership& operator=(const ScanWindowOwnership&) = delete;
    bool owned() const { return owned_; }

private:
    KeyRoutingHost& host_;
    bool owned_ = false;
};

bool silencesRinger(int code)
{
    return code == 13 || code == 14 || code == 16;
}

} // namespace

KeyRouting routeKey(KeyRoutingHost& host, platform::Clock& clock, KeyDirection direction, int libraryCode,
                    SoftphoneIndex selected)
{
    const int code = exchangeYesNo(libraryCode);
    const bool down = direction == KeyDirection::Down;

    // Whatever is selected: the ringer must stop before the call is answered or ended.
    if (down && silencesRinger(code)) {
        host.turnOnBuzzer(0);
        clock.sleepMs(kAnswerKeyPauseMs);
    }

    if (selected == kSkype) {
        host.skypeKey(code, down, host.skypeCallFlags());
        return KeyRouting::Skype;
    }
    if (!isSoftphone(selected))
        return KeyRouting::NoSoftphone;

    ScanWindowOwnership owned(host);
    if (!owned.owned())
        return KeyRouting::Dropped;

    const bool released = !down;
    switch (selected) {
    case kNet2Phone: host.net2PhoneKey(code, released); break;
    case kMsnMessenger: host.msnMessengerKey(code, released); break;
    case kSjPhone: host.sjPhoneKey(code, released); break;
    case kXLite: host.xLiteKey(code, released, host.targetWindow()); break;
    case kEyeBeam: host.eyeBeamKey(code, released, host.targetWindow()); break;
    default: break;
    }
    return KeyRouting::Adapter;
}

} // namespace app
