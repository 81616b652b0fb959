#pragma once
// Effects that record what the Skype logic asks for, in order, and keep
// window timers on a virtual clock.

#include "virtual_clock.h"

#include <skype_effects.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

class RecordingEffects final : public skype::SkypeEffects {
public:
    // Commands appear as "> COMMAND"; everything else as a lower-case word.
    std::vector<std::string> log;

    bool visible = true;
    bool mixer = true;
    std::uint32_t volume = 30000;

    // Runs after a send is logged, as a reply nested inside the send would.
    std::function<void(const std::string&)> onSend;

    VirtualClock clock;

    struct Timer {
        std::uint32_t period;
        double due;
    };
    std::map<int, Timer> timers;

    void send(const std::string& command) override
    {
        log.push_back("> " + command);
        if (onSend)
            onSend(command);
    }
    void buzzer(int on) override { log.push_back("buzzer " + std::to_string(on)); }
    void led(int pattern) override { log.push_back("led " + std::to_string(pattern)); }
    void pause(std::uint32_t ms) override { log.push_back("pause " + std::to_string(ms)); }
    void setTimer(int id, std::uint32_t ms) override
    {
        log.push_back("timer " + std::to_string(id) + " " + std::to_string(ms));
        timers[id] = {ms, clock.nowMs() + ms};
    }
    void killTimer(int id) override
    {
        log.push_back("kill " + std::to_string(id));
        timers.erase(id);
    }
    void setStatus(const std::string& text) override { log.push_back("status " + text); }
    void selectAudioDevice() override { log.push_back("audio device"); }
    bool skypeVisible() override { return visible; }
    void focusNumberField() override { log.push_back("focus field"); }
    void clearNumberField() override { log.push_back("clear field"); }
    bool hasMixerDevice() override { return mixer; }
    std::uint32_t handsetVolume() override { return volume; }
    void setHandsetVolume(std::uint32_t v) override
    {
        log.push_back("volume " + std::to_string(v));
        volume = v;
    }

    // Moves time to atMs, firing every timer that falls due on the way, as
    // the window's timers would.
    void runUntil(double atMs, const std::function<void(int)>& fire)
    {
        for (;;) {
            auto next = timers.end();
            for (auto it = timers.begin(); it != timers.end(); ++it) {
                if (it->second.due <= atMs && (next == timers.end() || it->second.due < next->second.due))
                    next = it;
            }
            if (next == timers.end())
                break;
            const int id = next->first;
            clock.advance(next->second.due - clock.nowMs());
            next->second.due += next->second.period;
            fire(id);
        }
        clock.advance(atMs - clock.nowMs());
    }

    // The commands only, without their marker.
    std::vector<std::string> commands() const
    {
        std::vector<std::string> out;
        for (const auto& entry : log) {
            if (entry.rfind("> ", 0) == 0)
                out.push_back(entry.substr(2));
        }
        return out;
    }

    std::vector<std::string> take()
    {
        std::vector<std::string> out;
        out.swap(log);
        return out;
    }
};

} // namespace testing_support
