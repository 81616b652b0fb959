#pragma once
// The hidden control dialog (template 20000) that runs on the control thread,
// receives CM_HID's notifications and tells the application.

#include "../core/handset_control.h"
#include "cmhid_bus.h"

#include <platform/win/dialog.h>
#include <platform/win/precise_clock.h>

#include <array>

namespace quorvex::win {

struct AppTarget {
    HWND window = nullptr;
    UINT deviceAdded = 0;
    UINT deviceRemoved = 0;
    UINT deviceChanged = 0; // kept; nothing of this kind is ever sent
    UINT keyUp = 0;
    UINT keyDown = 0;
    UINT volumeA = 0; // 0: not supplied, nothing is sent
    UINT volumeB = 0;
};

class HandsetControlDialog final : public platform::win::Dialog, private ControlHost {
public:
    HandsetControlDialog(const AppTarget& target, BusLock& lock);

    // Runs the modal loop on the calling thread until EndDialog.
    void run(HINSTANCE instance);
    // Any thread: ends the modal loop.
    void end();

    // Identifier of the control dialog template.
    static constexpr int kTemplateId = 20000;

private:
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onDestroy() override;

    void notify(AppNotice notice, std::uintptr_t wParam) override;
    void startTimer(int id, std::uint32_t periodMs) override;
    void stopTimer(int id) override;

    void onInitDialog();
    bool dispatchCmHid(UINT message, WPARAM wParam);

    AppTarget target_;
    std::array<UINT, kCmHidEventCount> cmHidMessages_{};
    CmHidBus bus_;
    platform::win::PreciseClock clock_;
    HandsetControl control_;
    bool firstShowSuppressed_ = false;
};

// The control window's handle once it has initialised; null before and after.
HWND controlWindow() noexcept;

} // namespace quorvex::win
