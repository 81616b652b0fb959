// The run command's session: telvane.exe under Wine with the simulated handset
// and the Skype stand-in, driven as a user and Skype would, with a timeline of
// what the program, the handset and Skype did.

#include "timeline.h"

#include <app_window.h>
#include <driver.h>
#include <standin_driver.h>
#include <telvane_process.h>

#include <platform/win/precise_clock.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

constexpr DWORD kWaitMs = 10000;

using simhandset::Record;
using simhandset::RecordKind;
using wine_tests::nowMs;
using wine_tests::TelvaneProcess;

std::string narrow(const std::wstring& w)
{
    std::string s;
    for (wchar_t c : w)
        s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
}

// What Skype saw and said, in the words of its API.
std::string skypeLine(const skype_standin::Entry& e)
{
    using skype_standin::RecordKind;
    if (e.is(RecordKind::Command))
        return "<- " + e.text();
    if (e.is(RecordKind::Notification))
        return "-> " + e.text();
    if (e.is(RecordKind::Discover))
        return "discover broadcast from a client";
    if (e.is(RecordKind::Attach))
        return "attach reply, status " + std::to_string(e.value);
    return skype_standin::describe(e);
}

class Session {
public:
    Session() : timeline_(nowMs()) {}

    int run()
    {
        auto handset = simhandset::HandsetDriver::connect();
        if (!handset)
            throw std::runtime_error("no simulated handset channel");
        handset_.emplace(std::move(*handset));
        firstRecord_ = handset_->recordCount();
        wine_tests::deleteStoredSelection();

        step("Skype is running (the stand-in)");
        skype_ = skype_standin::StandinDriver::launch();
        if (!skype_)
            throw std::runtime_error("the Skype stand-in did not start");

        step("telvane starts");
        auto p = launch();
        if (!skype_->waitCommand("PROTOCOL 5", 0, kWaitMs))
            throw std::runtime_error("Skype did not attach");
        program(*p, "Skype attached");

        step("a second copy of telvane is started");
        {
            const double started = nowMs();
            auto second = TelvaneProcess::launch(false);
            DWORD code = 0;
            const bool ended = second->waitExit(kWaitMs, &code);
            timeline_.add(nowMs(), "program",
                          ended ? "the second copy ended by itself after " +
                                      std::to_string(static_cast<int>(nowMs() - started)) + " ms, exit code " +
                                      std::to_string(code)
                                : "the second copy is still running");
        }

        step("the handset is plugged in");
        handset_->waitExecuted(handset_->plug(), kWaitMs);
        waitTaken(0x0030);
        pause(2000); // keys are reported from 1200 ms after the arrival

        step("X-Lite is chosen from the tray menu (popup 0, item 4)");
        chooseFromTray(*p, 4);
        program(*p, "after the choice");

        step("telvane is closed from its tray menu and started again");
        p->command(32775);
        p->waitExit(kWaitMs);
        timeline_.add(nowMs(), "program", "ended");
        restart_ = handset_->recordCount();
        p = launch();
        timeline_.add(nowMs(), "program", "combo box shows \"" + narrow(p->controlText(1012)) + "\"");
        // The handset is still plugged in: the library reports it at once.
        waitTaken(0x0030, restart_);
        pause(2000);

        step("another program sends ON_BUZZER: the ring burst for X-Lite");
        const std::uint64_t burst = handset_->recordCount();
        p->sendRegistered("ON_BUZZER");
        waitTaken(0x0011, burst);
        waitTaken(0x0010, burst, 15000);

        step("Skype is chosen from the tray menu (popup 4, item 0)");
        chooseFromTray(*p, 0);
        program(*p, "after the choice");

        step("an incoming Skype call: call 7 rings");
        std::uint64_t mark = handset_->recordCount();
        skype_->incomingCall("7", "INCOMING_P2P");
        waitTaken(0x0011, mark);
        pause(1500);

        step("the user lifts the handset");
        mark = handset_->recordCount();
        key(0x00C0);
        skype_->waitCommand("OPEN CONTACTS", 0, kWaitMs);
        waitTaken(0x0022, mark);

        step("the user dials 1, 2, 3 into the call");
        for (std::uint16_t scan : {0x0000, 0x0010, 0x0020}) {
            key(scan);
            key(static_cast<std::uint16_t>(scan | 0x80));
        }
        skype_->waitCommand("BTN_RELEASED 3", 0, kWaitMs);
        pause(500);

        step("the user puts the handset down");
        mark = handset_->recordCount();
        key(0x0040);
        skype_->waitCommand("MINIMIZE", 0, kWaitMs);
        waitTaken(0x0021, mark);
        pause(300);

        step("telvane is closed from its tray menu");
        p->command(32797);
        p->waitExit(kWaitMs);
        timeline_.add(nowMs(), "program", "ended");

        print();
        return 0;
    }

    void print()
    {
        if (handset_)
            timeline_.addHandsetRecords(*handset_, handset_->records(firstRecord_), false);
        if (skype_) {
            for (const auto& e : skype_->records()) {
                using skype_standin::RecordKind;
                if (e.is(RecordKind::Script))
                    continue;
                if (e.text() == "PING" || e.text() == "PONG")
                    continue; // the keep-alive, every 13 s
                timeline_.add(e.ms, "skype", skypeLine(e));
            }
        }
        std::printf("skype <- a command the program sent; skype -> what Skype answered or told it\n");
        timeline_.print();
        if (handset_) {
            const auto s = handset_->state();
            std::printf("\nhandset at the end: ringer %s, LED pattern %d, %u commands taken\n", s.ringer ? "on" : "off",
                        simhandset::ledPattern(s.ledValue), s.commandsTaken);
        }
        DWORD stored = 0;
        if (wine_tests::storedSelection(&stored))
            std::printf("stored selection: %ld\n", static_cast<long>(stored));
    }

private:
    std::unique_ptr<TelvaneProcess> launch()
    {
        auto p = TelvaneProcess::launch();
        timeline_.add(nowMs(), "program", "main window \" Dravoline R5 USB Phone Treiber Version 1.262\" is up");
        program(*p, "after start");
        return p;
    }

    void program(const TelvaneProcess& p, const char* when)
    {
        timeline_.add(nowMs(), "program", std::string(when) + ": status \"" + narrow(p.statusText()) + "\"");
    }

    void step(const char* text) { timeline_.add(nowMs(), "script", text); }

    static void pause(std::uint32_t ms) { platform::win::sleepPreciseMs(ms); }

    void key(std::uint16_t scan) { handset_->waitExecuted(handset_->key(scan), kWaitMs); }

    void waitTaken(std::uint32_t value, std::uint64_t from = 0, DWORD timeoutMs = kWaitMs)
    {
        handset_->waitRecord(
            from ? from : firstRecord_,
            [&](const Record& r) { return r.kind == static_cast<std::uint32_t>(RecordKind::CommandTaken) && r.a == value; },
            timeoutMs);
    }

    // Right click on the icon, then the keyboard down to the item and Return;
    // returns once the posted command has changed the status line.
    void chooseFromTray(const TelvaneProcess& p, int item)
    {
        const std::wstring before = p.statusText();
        ::PostMessageA(p.mainWindow(), ::RegisterWindowMessageA("WM_TRAY_ICON_NOTIFY_MESSAGE"), 1, WM_RBUTTONDOWN);
        HWND popup = nullptr;
        const double deadline = nowMs() + kWaitMs;
        while (!(popup = ::FindWindowA("#32768", nullptr)) && nowMs() < deadline)
            ::Sleep(5);
        if (!popup)
            throw std::runtime_error("the tray menu did not open");
        for (int i = 0; i <= item; ++i)
            ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
        while (::IsWindowVisible(popup) && nowMs() < deadline)
            ::Sleep(5);
        while (p.statusText() == before && nowMs() < deadline)
            ::Sleep(5);
    }

    sessions::Timeline timeline_;
    std::optional<simhandset::HandsetDriver> handset_;
    std::unique_ptr<skype_standin::StandinDriver> skype_;
    std::uint64_t firstRecord_ = 0;
    std::uint64_t restart_ = 0;
};

} // namespace

int main()
{
    const std::string channel = "telvane-session-" + std::to_string(::GetCurrentProcessId());
    ::SetEnvironmentVariableA("TELVANE_SIMHANDSET", channel.c_str());
    Session session;
    try {
        return session.run();
    } catch (const std::exception& e) {
        session.print();
        std::fprintf(stderr, "\nsession failed: %s\n", e.what());
        return 1;
    }
}
