#pragma once
// The program's main window: every handset event, ring request, Skype
// notification and tray click reaches it, and it routes each one.

#include "tray_dialog.h"

#include <key_routing.h>
#include <ring_requests.h>
#include <softphone_selection.h>

#include <handset_mixer_device.h>
#include <skype_effects.h>
#include <skype_state.h>

#include <platform/win/handles.h>
#include <platform/win/precise_clock.h>

#include <atomic>
#include <optional>

namespace app::win {

class PhoneDriverDialog final : public TrayDialog,
                                private KeyRoutingHost,
                                private RingHost,
                                private skype::SkypeEffects {
public:
    PhoneDriverDialog();

    // The selection as the poller and other threads read it.
    SoftphoneIndex selectedSoftphone() const { return selectedSoftphone_.load(std::memory_order_relaxed); }

private:
    // TrayDialog's dialog operations, in their slot order.
    void bindControls() override;
    void defaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) override;
    void initDialog() override;

    // The window's own handlers; every other message goes to defaultProcessing.
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    void registerMessages();
    void createSoftphoneCombo();
    void restoreSelection();
    void apply(const SelectionChange& change);
    void onCommand(WPARAM wParam);
    void onTimer(UINT_PTR id);
    void onPaintMinimized();
    void handsetReady();
    void close();
    void setStatusLine(std::string_view text);
    SelectionState selection() const;

    // KeyRoutingHost
    void turnOnBuzzer(int on) override;
    bool acquireScanWindow(std::uint32_t timeoutMs) override;
    void releaseScanWindow() override;
    SkypeCallFlags skypeCallFlags() override;
    WindowHandle targetWindow() override;
    void skypeKey(int code, bool pressed, const SkypeCallFlags& flags) override;
    void net2PhoneKey(int code, bool released) override;
    void msnMessengerKey(int code, bool released) override;
    void sjPhoneKey(int code, bool released) override;
    void xLiteKey(int code, bool released, WindowHandle target) override;
    void eyeBeamKey(int code, bool released, WindowHandle target) override;

    // RingHost
    void setRingRequested(bool requested) override;
    void startTimer(int id, std::uint32_t periodMs) override;
    void stopTimer(int id) override;

    // skype::SkypeEffects
    void send(const std::string& command) override;
    void buzzer(int on) override;
    void led(int pattern) override;
    void pause(std::uint32_t ms) override;
    void setTimer(int id, std::uint32_t ms) override;
    void killTimer(int id) override;
    void setStatus(const std::string& text) override;
    void selectAudioDevice() override;
    bool skypeVisible() override;
    void focusNumberField() override;
    void clearNumberField() override;
    bool hasMixerDevice() override;
    std::uint32_t handsetVolume() override;
    void setHandsetVolume(std::uint32_t volume) override;

    struct Messages {
        UINT onBuzzer = 0, offBuzzer = 0, keyUp = 0, keyDown = 0, added = 0, removed = 0, changed = 0;
        UINT ringOn = 0, ringOff = 0, skypeReceive = 0, skypeConnect = 0;
    };

    HICON icon_;
    bool pollerRinging_ = false;
    HWND softphoneCombo_ = nullptr;
    std::atomic<SoftphoneIndex> selectedSoftphone_{kSkype};
    skype::WindowCallState call_;
    skype::ProcessCallState process_;
    skype::KeyState keys_;
    HWND statusLine_ = nullptr;
    HWND markerLabel_ = nullptr;
    platform::win::UniqueHandle pollerThread_;

    platform::win::UniqueHandle skypeConnectMutex_;
    platform::win::UniqueHandle scanWindowMutex_;
    Messages messages_;
    std::optional<volume::HandsetMixerDevice> mixerDevice_;
    RingRequests ring_;
    platform::win::PreciseClock clock_;
};

// The instance lock, created or opened by every copy before its window exists.
HANDLE instanceLock();

} // namespace app::win
