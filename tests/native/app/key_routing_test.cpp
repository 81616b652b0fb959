#include "virtual_clock.h"

#include <key_routing.h>

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using app::KeyDirection;
using app::KeyRouting;
using testing_support::VirtualClock;

namespace {

struct Event {
    double at;
    std::string call;

    friend bool operator==(const Event& a, const Event& b) { return a.at == b.at && a.call == b.call; }
    friend std::ostream& operator<<(std::ostream& os, const Event& e) { return os << e.call << "@" << e.at; }
};

using Events = std::vector<Event>;

app::WindowHandle const kTarget = reinterpret_cast<app::WindowHandle>(0x44);

class RecordingHost final : public app::KeyRoutingHost {
public:
    explicit RecordingHost(VirtualClock& clock) : clock_(clock) {}

    void turnOnBuzzer(int on) override { log("buzzer", on); }
    bool acquireScanWindow(std::uint32_t timeoutMs) override
    {
        if (busyWaits > 0) {
            --busyWaits;
            clock_.advance(timeoutMs);
            log("timeout", static_cast<int>(timeoutMs));
            return false;
        }
        held = true;
        log("acquire", static_cast<int>(timeoutMs));
        return true;
    }
    void releaseScanWindow() override
    {
        held = false;
        log("release");
    }
    app::SkypeCallFlags skypeCallFlags() override { return flags; }
    app::WindowHandle targetWindow() override
    {
        log("target");
        return kTarget;
    }

    void skypeKey(int code, bool pressed, const app::SkypeCallFlags& f) override
    {
        log("skype", code, pressed, f.incomingRinging, f.inCall, f.outgoingCall);
    }
    void net2PhoneKey(int code, bool released) override { adapter("net2phone", code, released); }
    void msnMessengerKey(int code, bool released) override { adapter("msn", code, released); }
    void sjPhoneKey(int code, bool released) override { adapter("sjphone", code, released); }
    void xLiteKey(int code, bool released, app::WindowHandle target) override
    {
        adapter("xlite", code, released, target == kTarget);
    }
    void eyeBeamKey(int code, bool released, app::WindowHandle target) override
    {
        adapter("eyebeam", code, released, target == kTarget);
    }

    Events events;
    app::SkypeCallFlags flags{true, false, true};
    int busyWaits = 0; // acquisitions that run out before one succeeds
    bool adapterThrows = false;
    bool held = false;

private:
    template <typename... Args>
    void adapter(const char* name, Args... args)
    {
        // An adapter outside the mutex shows up in the sequence.
        log(held ? name : "UNLOCKED", args...);
        if (adapterThrows)
            throw std::runtime_error("adapter failed");
    }

    template <typename... Args>
    void log(const char* name, Args... args)
    {
        std::ostringstream call;
        call << name;
        if constexpr (sizeof...(args) > 0) {
            const char* sep = "(";
            ((call << sep << args, sep = ","), ...);
            call << ")";
        }
        events.push_back({clock_.nowMs(), call.str()});
    }

    VirtualClock& clock_;
};

struct Rig {
    VirtualClock clock;
    RecordingHost host{clock};

    KeyRouting route(KeyDirection direction, int libraryCode, app::SoftphoneIndex selected)
    {
        return app::routeKey(host, clock, direction, libraryCode, selected);
    }
};

constexpr KeyDirection kDown = KeyDirection::Down;
constexpr KeyDirection kUp = KeyDirection::Up;

} // namespace

TEST(KeyRouting, ExchangesYesAndNoOnly)
{
    const std::pair<int, int> rows[] = {{13, 14}, {14, 13}, {16, 16}, {0, 0},    {1, 1},  {12, 12},
                                        {15, 15}, {21, 21}, {22, 22}, {255, 255}, {-1, -1}};
    for (const auto& [library, handled] : rows) {
        SCOPED_TRACE(library);
        Rig rig;
        rig.route(kUp, library, app::kSkype);
        ASSERT_EQ(rig.host.events.size(), 1u);
        EXPECT_EQ(rig.host.events[0].call, "skype(" + std::to_string(handled) + ",0,1,0,1)");
    }
}

// Arguments: code, then pressed (Skype) or released (adapters), then whether the
// adapter got the target window; Skype also gets ringing, in call, outgoing.
TEST(KeyRouting, BySelectionWithTheAnswerKeyPreStep)
{
    struct Row {
        const char* name;
        KeyDirection direction;
        int libraryCode;
        app::SoftphoneIndex selected;
        KeyRouting routing;
        Events expected;
    };
    const Row rows[] = {
        {"Skype press", kDown, 5, 0, KeyRouting::Skype, {{0, "skype(5,1,1,0,1)"}}},
        {"Skype release", kUp, 5, 0, KeyRouting::Skype, {{0, "skype(5,0,1,0,1)"}}},
        {"Net2Phone press", kDown, 5, 1, KeyRouting::Adapter,
         {{0, "acquire(2000)"}, {0, "net2phone(5,0)"}, {0, "release"}}},
        {"Net2Phone release", kUp, 5, 1, KeyRouting::Adapter,
         {{0, "acquire(2000)"}, {0, "net2phone(5,1)"}, {0, "release"}}},
        {"MSN press", kDown, 5, 2, KeyRouting::Adapter, {{0, "acquire(2000)"}, {0, "msn(5,0)"}, {0, "release"}}},
        {"SJ Phone release", kUp, 5, 3, KeyRouting::Adapter,
         {{0, "acquire(2000)"}, {0, "sjphone(5,1)"}, {0, "release"}}},
        {"X-Lite reads the target under the mutex", kDown, 5, 4, KeyRouting::Adapter,
         {{0, "acquire(2000)"}, {0, "target"}, {0, "xlite(5,0,1)"}, {0, "release"}}},
        {"eyeBeam release", kUp, 5, 5, KeyRouting::Adapter,
         {{0, "acquire(2000)"}, {0, "target"}, {0, "eyebeam(5,1,1)"}, {0, "release"}}},
        {"no softphone", kDown, 5, -1, KeyRouting::NoSoftphone, {}},
        {"beyond the table", kUp, 5, 6, KeyRouting::NoSoftphone, {}},

        // YES, NO and the second hang-up key silence the ringer 350 ms before the key goes on.
        {"YES to Skype", kDown, 13, 0, KeyRouting::Skype, {{0, "buzzer(0)"}, {350, "skype(14,1,1,0,1)"}}},
        {"NO to Net2Phone", kDown, 14, 1, KeyRouting::Adapter,
         {{0, "buzzer(0)"}, {350, "acquire(2000)"}, {350, "net2phone(13,0)"}, {350, "release"}}},
        {"hang-up to eyeBeam", kDown, 16, 5, KeyRouting::Adapter,
         {{0, "buzzer(0)"}, {350, "acquire(2000)"}, {350, "target"}, {350, "eyebeam(16,0,1)"}, {350, "release"}}},
        {"hang-up with no softphone", kDown, 16, -1, KeyRouting::NoSoftphone, {{0, "buzzer(0)"}}},
        {"YES beyond the table", kDown, 13, 6, KeyRouting::NoSoftphone, {{0, "buzzer(0)"}}},
        {"release of YES", kUp, 13, 0, KeyRouting::Skype, {{0, "skype(14,0,1,0,1)"}}},
        {"release of hang-up", kUp, 16, -1, KeyRouting::NoSoftphone, {}},
        {"SKYPE key", kDown, 15, 0, KeyRouting::Skype, {{0, "skype(15,1,1,0,1)"}}},
        {"hook", kDown, 17, 0, KeyRouting::Skype, {{0, "skype(17,1,1,0,1)"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        EXPECT_EQ(rig.route(row.direction, row.libraryCode, row.selected), row.routing);
        EXPECT_EQ(rig.host.events, row.expected);
    }
}

TEST(KeyRouting, ScanWindowWaitIsRetriedThenTheKeyDropped)
{
    Rig late;
    late.host.busyWaits = 2;
    EXPECT_EQ(late.route(kUp, 17, app::kNet2Phone), KeyRouting::Adapter);
    EXPECT_EQ(late.host.events, (Events{{2000, "timeout(2000)"},
                                        {4000, "timeout(2000)"},
                                        {4000, "acquire(2000)"},
                                        {4000, "net2phone(17,1)"},
                                        {4000, "release"}}));

    Rig stuck;
    stuck.host.busyWaits = 3;
    EXPECT_EQ(stuck.route(kDown, 14, app::kXLite), KeyRouting::Dropped);
    EXPECT_EQ(stuck.host.events, (Events{{0, "buzzer(0)"},
                                         {2350, "timeout(2000)"},
                                         {4350, "timeout(2000)"},
                                         {6350, "timeout(2000)"}}));
}

TEST(KeyRouting, FailingAdapterReleasesTheMutex)
{
    Rig rig;
    rig.host.adapterThrows = true;
    EXPECT_THROW(rig.route(kDown, 1, app::kSjPhone), std::runtime_error);
    EXPECT_FALSE(rig.host.held);
    EXPECT_EQ(rig.host.events.back().call, "release");

    rig.host.adapterThrows = false;
    rig.host.events.clear();
    rig.route(kUp, 1, app::kSjPhone);
    EXPECT_EQ(rig.host.events, (Events{{0, "acquire(2000)"}, {0, "sjphone(1,1)"}, {0, "release"}}));
}
