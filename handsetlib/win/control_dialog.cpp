#include "control_dialog.h"

#include <cmhid/cm_hid.h>

#include <atomic>

namespace quorvex::win {

namespace {

std::atomic<HWND> g_controlWindow{nullptr};

constexpr USHORT kVendorId = 0x0D8C;
constexpr USHORT kProductId = 0x000C;
constexpr UINT kEndRequest = WM_APP + 1;

// Registration order is the order StartDeviceDetectionProc takes them in.
constexpr const char* kCmHidMessageNames[kCmHidEventCount] = {
    "zz-WM_CM_HID_DEV_ADDED",
    "zz-WM_CM_HID_DEV_REMOVED",
    "zz-WM_CM_HID_KEY_DOWN",
    "zz-WM_CM_HID_KEY_UP  ",
    "zz-WM_CM_HID_VOLUME_DOWN",
    "zz-WM_CM_HID_VOLUME_UP",
    "zz-WM_CM_HID_PLAYBACK_MUTE",
    "zz-WM_CM_HID_RECORD_MUTE",
    "zz-WM_CM_HID_GPIO",
};

// CM_HID calls this on its own threads; it only posts.
BOOL WINAPI forwardCmHidNotification(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = g_controlWindow.load();
    if (!window)
        return FALSE;
    return ::PostMessageA(window, message, wParam, lParam);
}

} // namespace

HWND controlWindow() noexcept { return g_controlWindow.load(); }

HandsetControlDialog::HandsetControlDialog(const AppTarget& target, BusLock& lock)
    : target_(target), control_(bus_, clock_, lock, *this)
{
}

void HandsetControlDialog::run(HINSTANCE instance) { runModal(instance, kTemplateId); }

void HandsetControlDialog::end()
{
    // Posted: the caller returns at once, and whatever CM_HID posted before is
    // still handled first.
    if (HWND window = g_controlWindow.load())
        ::PostMessageA(window, kEndRequest, 0, 0);
}

void HandsetControlDialog::onInitDialog()
{
    g_controlWindow.store(hwnd());
    for (int i = 0; i < kCmHidEventCount; ++i)
        cmHidMessages_[static_cast<size_t>(i)] = ::RegisterWindowMessageA(kCmHidMessageNames[i]);
    const auto& m = cmHidMessages_;
    ::StartDeviceDetectionProc(forwardCmHidNotification, m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8],
                               kVendorId, kProductId);
    ::ShowWindow(hwnd(), SW_HIDE);
    ::SetTimer(hwnd(), kHideTimer, kHideTimerMs, nullptr);
}

void HandsetControlDialog::onDestroy() { g_controlWindow.store(nullptr); }

bool HandsetControlDialog::dispatchCmHid(UINT message, WPARAM wParam)
{
    for (int i = 0; i < kCmHidEventCount; ++i) {
        if (cmHidMessages_[static_cast<size_t>(i)] == message && message != 0) {
            control_.onCmHidEvent(static_cast<CmHidEvent>(i), wParam);
            return true;
        }
    }
    return false;
}

bool HandsetControlDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog();
        result = FALSE; // focus stays where it is
        return true;
    case WM_TIMER:
        if (wParam == kHideTimer)
            ::ShowWindow(hwnd(), SW_HIDE);
        else
            control_.onTimer(static_cast<int>(wParam));
        return true;
    case WM_COMMAND:
        // Enter and Escape must not end the dialog.
        return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
    case WM_WINDOWPOSCHANGING: {
        // The modal loop shows the dialog once when it first goes idle; that
        // show is dropped so the control window never flashes or takes the
        // activation. Later shows are undone by timer 1.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (pos->flags & SWP_SHOWWINDOW) {
            pos->flags |= SWP_NOACTIVATE;
            if (!firstShowSuppressed_) {
                firstShowSuppressed_ = true;
                pos->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
            }
        }
        return false;
    }
    case WM_DEVICECHANGE:
        ::HandleUsbDeviceChange(wParam, lParam);
        return false;
    case kEndRequest:
        ::EndDialog(hwnd(), 1);
        return true;
    default:
        dispatchCmHid(message, wParam);
        return false; // every message goes on to the default processing
    }
}

void HandsetControlDialog::notify(AppNotice notice, std::uintptr_t wParam)
{
    UINT message = 0;
    switch (notice) {
    case AppNotice::DeviceAdded: message = target_.deviceAdded; break;
    case AppNotice::DeviceRemoved: message = target_.deviceRemoved; break;
    case AppNotice::KeyDown: message = target_.keyDown; break;
    case AppNotice::KeyUp: message = target_.keyUp; break;
    case AppNotice::VolumeA: message = target_.volumeA; break;
    case AppNotice::VolumeB: message = target_.volumeB; break;
    }
    if (message != 0 && target_.window)
        ::SendMessageA(target_.window, message, static_cast<WPARAM>(wParam), 0);
}

void HandsetControlDialog::startTimer(int id, std::uint32_t periodMs)
{
    ::SetTimer(hwnd(), static_cast<UINT_PTR>(id), periodMs, nullptr);
}

void HandsetControlDialog::stopTimer(int id) { ::KillTimer(hwnd(), static_cast<UINT_PTR>(id)); }

} // namespace quorvex::win
