#pragma once
// What the Skype logic asks of the main window. Every call happens on the
// main window's thread.

#include <cstdint>
#include <string>

namespace skype {

class SkypeEffects {
public:
    virtual ~SkypeEffects() = default;

    // Synchronous: notifications that Skype sends in reply may be handled,
    // nested, before this returns.
    virtual void send(const std::string& command) = 0;

    virtual void buzzer(int on) = 0;
    virtual void led(int pattern) = 0;
    // Blocks the main window's thread.
    virtual void pause(std::uint32_t ms) = 0;
    virtual void setTimer(int id, std::uint32_t ms) = 0;
    virtual void killTimer(int id) = 0;
    virtual void setStatus(const std::string& text) = 0;
    virtual void selectAudioDevice() = 0;

    // True while Skype's main window is unknown, or known and visible.
    virtual bool skypeVisible() = 0;
    // Each does nothing while Skype's number field is unknown.
    virtual void focusNumberField() = 0;
    virtual void clearNumberField() = 0;

    virtual bool hasMixerDevice() = 0;
    virtual std::uint32_t handsetVolume() = 0;
    virtual void setHandsetVolume(std::uint32_t volume) = 0;
};

} // namespace skype
