// A scripted session with the simulated handset: the program plays the
// application, initialises the real Quorvex.dll and drives the handset as a
// person would, then prints what both sides saw.

#include "timeline.h"

#include <app_window.h>
#include <driver.h>
#include <quorvex/quorvex.h>

#include <platform/win/precise_clock.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kWaitMs = 5000;

struct Step {
    const char* what;
    std::uint16_t scan;
};

class Session {
public:
    Session()
        : app_({"PELLICOR_ADDED", "PELLICOR_REMOVED", "PELLICOR_CHANGED", "KEY_UP_MESSAGE", "KEY_DOWN_MESSAGE"}),
          handset_(simhandset::HandsetDriver::connect()), timeline_(wine_tests::nowMs())
    {
    }

    int run()
    {
        if (!handset_) {
            std::fprintf(stderr, "no simulated handset channel\n");
            return 1;
        }
        first_ = handset_->recordCount();
        note("InitCM108Control");
        InitCM108Control(app_.hwnd(), app_.id("PELLICOR_ADDED"), app_.id("PELLICOR_REMOVED"),
                         app_.id("PELLICOR_CHANGED"), app_.id("KEY_UP_MESSAGE"), app_.id("KEY_DOWN_MESSAGE"));
        if (!wait([](const simhandset::Record& r) { return r.kind == unsigned(simhandset::RecordKind::StartDetection); }))
            return fail("the library did not start detection");

        note("the handset is plugged in");
        handset_->plug();
        if (!app_.waitFor("PELLICOR_ADDED", 0, kWaitMs, &added_))
            return fail("no arrival reached the application");
        if (!wait([](const simhandset::Record& r) {
                return r.kind == unsigned(simhandset::RecordKind::CommandTaken) && r.a == 0x0030;
            }))
            return fail("no arrival command");

        note("YES pressed 300 ms after arrival: too early, keys start 1200 ms after it");
        pauseUntil(added_.atMs + 300);
        press(0x0030);
        pauseUntil(added_.atMs + 2000);

        const Step keys[] = {{"YES pressed", 0x0030}, {"YES released", 0x00B0}, {"digit 5 pressed", 0x0011},
                             {"digit 5 released", 0x0091}, {"hook switch: handset put down", 0x0040}};
        for (const auto& k : keys) {
            note(k.what);
            const size_t seen = app_.received().size();
            press(k.scan);
            app_.waitCount(seen + 1, kWaitMs);
        }

        note("TurnOnBuzzer(1): ring");
        TurnOnBuzzer(1);
        note("FlashLEDPattern(3): ringing pattern");
        FlashLEDPattern(3);
        pause(1500);
        note("TurnOnBuzzer(0): silence");
        TurnOnBuzzer(0);
        note("FlashLEDPattern(1): idle pattern");
        FlashLEDPattern(1);

        note("the handset is pulled out");
        handset_->unplug();
        app_.waitFor("PELLICOR_REMOVED", 0, kWaitMs);

        for (const auto& r : app_.received())
            timeline_.add(r.atMs, "app", describe(r));
        timeline_.addHandsetRecords(*handset_, handset_->records(first_), true);
        timeline_.print();

        const auto state = handset_->state();
        std::printf("\nhandset at the end: %s, ringer %s, LED pattern %d, %u commands taken\n",
                    state.plugged ? "plugged in" : "unplugged", state.ringer ? "on" : "off",
                    simhandset::ledPattern(state.ledValue), state.commandsTaken);
        return 0;
    }

private:
    template <typename Match>
    bool wait(Match match)
    {
        return handset_->waitRecord(first_, match, kWaitMs).has_value();
    }

    void press(std::uint16_t scan) { handset_->waitExecuted(handset_->key(scan), kWaitMs); }

    void note(const char* text) { timeline_.add(wine_tests::nowMs(), "script", text); }

    static void pause(std::uint32_t ms) { platform::win::sleepPreciseMs(ms); }

    static void pauseUntil(double atMs)
    {
        const double left = atMs - wine_tests::nowMs();
        if (left > 0)
            pause(static_cast<std::uint32_t>(left));
    }

    static std::string describe(const wine_tests::Received& r)
    {
        if (r.name == "KEY_DOWN_MESSAGE" || r.name == "KEY_UP_MESSAGE")
            return r.name + " code " + std::to_string(r.wParam);
        return r.name;
    }

    int fail(const char* why)
    {
        std::fprintf(stderr, "session failed: %s\n", why);
        timeline_.addHandsetRecords(*handset_, handset_->records(first_), true);
        timeline_.print();
        return 1;
    }

    wine_tests::AppWindow app_;
    std::optional<simhandset::HandsetDriver> handset_;
    sessions::Timeline timeline_;
    std::uint64_t first_ = 0;
    wine_tests::Received added_{};
};

} // namespace

int main()
{
    // A channel of this session's own, whatever else runs in the prefix.
    const std::string channel = "telvane-session-" + std::to_string(::GetCurrentProcessId());
    ::SetEnvironmentVariableA("TELVANE_SIMHANDSET", channel.c_str());
    Session session;
    return session.run();
}
