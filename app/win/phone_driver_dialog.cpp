#include "phone_driver_dialog.h"

#include "registry_dword.h"

#include <registry_path.h>
#include <resource.h>
#include <tray_events.h>
#include <tray_menu.h>

#include <copy_data_text.h>
#include <skype_keys.h>
#include <skype_notifications.h>

#include <platform/win/mutex.h>
#include <quorvex/quorvex.h>
#include <sipwatch/sip_watcher.h>
#include <skype_audio_device.h>
#include <skype_link.h>
#include <skype_number_field.h>
#include <softphones/adapters.h>
#include <softphones/window_state.h>
#include <winmm_mixer.h>

#include <commctrl.h>

#include <array>
#include <string>

namespace app::win {

namespace {

// Both begin with a blank.
constexpr const char* kTooltip = " Dravoline R5 USB Phone Treiber V1.262";
constexpr const wchar_t* kCaption = L" Dravoline R5 USB Phone Treiber Version 1.262";
constexpr std::string_view kSearchingForSkype = "Searching For Skype";
constexpr DWORD kInstanceWaitMs = 500;

HWND asWindow(WindowHandle h) { return static_cast<HWND>(h); }

} // namespace

HANDLE instanceLock()
{
    static const platform::win::UniqueHandle lock(::CreateMutexA(nullptr, FALSE, "Hallowmere.USB.Phone.Mutex"));
    return lock.get();
}

PhoneDriverDialog::PhoneDriverDialog()
    : icon_(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN_ICON))),
      skypeConnectMutex_(::CreateMutexA(nullptr, FALSE, "skypeConnectMutex")),
      scanWindowMutex_(::CreateMutexA(nullptr, FALSE, "Velmora.ScanWindowMutex")),
      ring_(static_cast<RingHost&>(*this))
{
    softphones::windowState().ringRequested = false;
}

// --- start-up --------------------------------------------------------------

void PhoneDriverDialog::bindControls()
{
    statusLine_ = ::GetDlgItem(hwnd(), IDC_STATUS_LINE);
    markerLabel_ = ::GetDlgItem(hwnd(), IDC_MARKER_LABEL);
}

void PhoneDriverDialog::initDialog()
{
    TrayDialog::initDialog();

    if (HMENU system = ::GetSystemMenu(hwnd(), FALSE)) {
        wchar_t about[128] = {};
        if (::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, static_cast<int>(std::size(about))) > 0) {
            ::AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(system, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    // One copy at a time. A lock left abandoned by a copy that died is ours.
    if (!platform::win::waitOwned(instanceLock(), kInstanceWaitMs)) {
        ::EndDialog(hwnd(), IDOK);
        return;
    }

    setTrayIcon(IDI_MAIN_ICON);
    setTrayMenu(IDR_TRAY_MENU);
    keys_.hashPending = false;
    registerMessages();
    sipwatch::publishMainWindow(hwnd());

    createSoftphoneCombo();
    restoreSelection();

    setTrayTooltip(kTooltip);
    ::SetWindowTextW(hwnd(), kCaption);
    setStatusLine(kSearchingForSkype);

    InitCM108Control(hwnd(), messages_.added, messages_.removed, messages_.changed, messages_.keyUp,
                     messages_.keyDown);
    softphones::windowState().keypadButtons.fill(nullptr);
    skype::win::StartSkypeLink(hwnd());
    sipwatch::StartSipWatcher();
    // The softphone poller's thread starts here once window discovery exists.
}

void PhoneDriverDialog::registerMessages()
{
    messages_.onBuzzer = ::RegisterWindowMessageA("ON_BUZZER");
    messages_.offBuzzer = ::RegisterWindowMessageA("OFF_BUZZER");
    messages_.keyUp = ::RegisterWindowMessageA("KEY_UP_MESSAGE");
    messages_.keyDown = ::RegisterWindowMessageA("KEY_DOWN_MESSAGE");
    messages_.added = ::RegisterWindowMessageA("PELLICOR_ADDED");
    messages_.removed = ::RegisterWindowMessageA("PELLICOR_REMOVED");
    messages_.changed = ::RegisterWindowMessageA("PELLICOR_CHANGED");
    // Registered by their owners too; the same name gives the same identifier.
    messages_.ringOn = ::RegisterWindowMessageA("XLite_RING_ON");
    messages_.ringOff = ::RegisterWindowMessageA("XLite_RING_OFF");
    messages_.skypeReceive = skype::win::skypeMessageReceiveId();
    messages_.skypeConnect = skype::win::skypeConnectFinishId();
}

void PhoneDriverDialog::createSoftphoneCombo()
{
    softphoneCombo_ = ::CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, 0,
                                        10, 190, 190, hwnd(), reinterpret_cast<HMENU>(IDC_SOFTPHONE_COMBO),
                                        ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(softphoneCombo_, WM_SETFONT, ::SendMessageW(hwnd(), WM_GETFONT, 0, 0), FALSE);
    for (SoftphoneIndex i = 0; i < kSoftphoneCount; ++i)
        ::SendMessageA(softphoneCombo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(softphoneName(i)).c_str()));
}

void PhoneDriverDialog::restoreSelection()
{
    RegistryDword stored(std::string(kSelectionValuePath), 0, false, HKEY_CURRENT_USER);
    const DWORD value = stored.read();
    apply(app::restoreSelection(selection(), value, call_.skypeAttached));
    // The stored value is written back as it was read: a missing one is created as 0.
    stored.write();
}

// --- selection -------------------------------------------------------------

SelectionState PhoneDriverDialog::selection() const { return {selectedSoftphone(), trayPopupIndex()}; }

void PhoneDriverDialog::apply(const SelectionChange& change)
{
    setTrayPopupIndex(change.state.trayPopupIndex);
    selectedSoftphone_.store(change.state.selectedSoftphone, std::memory_order_relaxed);
    if (change.comboItem)
        ::SendMessageA(softphoneCombo_, CB_SETCURSEL, static_cast<WPARAM>(*change.comboItem), 0);
    if (change.status)
        setStatusLine(*change.status);
    if (change.stored) {
        RegistryDword value(std::string(kSelectionValuePath), 0, false, HKEY_CURRENT_USER);
        value.set(*change.stored);
        value.write(); // also when the value was already stored
    }
}

void PhoneDriverDialog::setStatusLine(std::string_view text) { ::SetWindowTextA(statusLine_, std::string(text).c_str()); }

// --- messages --------------------------------------------------------------

bool PhoneDriverDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SYSCOMMAND:
        if (systemCommandAction(wParam, true) == SystemCommandAction::Ignore) {
            result = 0;
            return true;
        }
        return TrayDialog::onMessage(message, wParam, lParam, result);
    case WM_PAINT:
        if (!::IsIconic(hwnd()))
            return false;
        onPaintMinimized();
        result = 0;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(icon_);
        return true;
    case WM_TIMER:
        onTimer(wParam);
        return false;
    case WM_CLOSE:
        // From outside: the handset and Skype are let go, the program stays.
        CloseCM108Control();
        skype::win::StopSkypeLink();
        return false; // the default processing's cancel does nothing
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            // The icon goes up before the window goes: adding it hands messages
            // on, and a double click handled meanwhile must find it there.
            showTrayIcon();
            ::ShowWindow(hwnd(), SW_HIDE);
        }
        return false;
    case WM_COMMAND:
        onCommand(wParam);
        return true;
    default:
        // Initialisation, the tray's messages and defaultProcessing.
        return TrayDialog::onMessage(message, wParam, lParam, result);
    }
}

// Recognition in this order; the first match is handled, and every message
// then gets the default dialog processing.
void PhoneDriverDialog::defaultProcessing(UINT message, WPARAM wParam, LPARAM lParam)
{
    const Messages& m = messages_;
    if (message == 0)
        return;
    if (message == m.removed) {
        mixerDevice_.reset();
    } else if (message == m.ringOn || message == m.ringOff) {
        ring_.onSipRing(message == m.ringOn, selectedSoftphone());
    } else if (message == WM_LBUTTONDBLCLK) {
        if (hideTrayIcon())
            ::ShowWindow(hwnd(), SW_RESTORE);
    } else if (message == trayMessage()) {
        dispatchTrayNotification(wParam, lParam);
    } else if (message == WM_DEVICECHANGE) {
        // nothing beyond the default processing
    } else if (message == m.keyUp || message == m.keyDown) {
        routeKey(*this, clock_, message == m.keyDown ? KeyDirection::Down : KeyDirection::Up,
                 static_cast<int>(wParam), selectedSoftphone());
    } else if (message == m.added) {
        handsetReady();
    } else if (message == m.skypeConnect) {
        skype::onConnectFinish(call_, *this);
    } else if (message == m.skypeReceive) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data) {
            const std::string text = skype::copyDataText(data->lpData, data->cbData);
            skype::onNotification(text, selectedSoftphone(), call_, process_, *this);
        }
    } else if (message == m.onBuzzer) {
        ring_.onBuzzerOn(selectedSoftphone());
    } else if (message == m.offBuzzer) {
        ring_.onBuzzerOff();
    }
}

void PhoneDriverDialog::onCommand(WPARAM wParam)
{
    const UINT id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL)
        return; // neither Enter nor Escape ends the program
    if (id == IDC_SOFTPHONE_COMBO) {
        const int current = static_cast<int>(::SendMessageA(softphoneCombo_, CB_GETCURSEL, 0, 0));
        if (HIWORD(wParam) == CBN_CLOSEUP)
            apply(takeComboSelection(selection(), current));
        else if (HIWORD(wParam) == CBN_EDITUPDATE)
            apply(followComboSelection(selection(), current));
        return;
    }
    if (auto index = softphoneForCommand(id)) {
        apply(selectSoftphone(selection(), *index, call_.skypeAttached));
        return;
    }
    if (isCloseCommand(id))
        close();
}

void PhoneDriverDialog::onTimer(UINT_PTR id)
{
    const int timer = static_cast<int>(id);
    if (ring_.onTimer(timer))
        return;
    switch (timer) {
    case skype::kDownHoldTimer: skype::onDownHoldTimer(keys_, *this); break;
    case skype::kKeepAliveTimer: skype::onKeepAliveTimer(selectedSoftphone(), call_, process_, *this); break;
    case skype::kHashTimer: skype::onHashTimer(keys_, process_.activeCalls, *this); break;
    default: break;
    }
}

void PhoneDriverDialog::onPaintMinimized()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd(), &ps);
    ::SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const auto at = minimizedIconOrigin(client.right - client.left, client.bottom - client.top,
                                        ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    ::DrawIcon(dc, at.x, at.y, icon_);
    ::EndPaint(hwnd(), &ps);
}

void PhoneDriverDialog::handsetReady()
{
    TurnOnBuzzer(0);
    mixerDevice_ = volume::findHandsetMixerDevice();
    FlashLEDPattern(1);
    selectAudioDevice();
}

void PhoneDriverDialog::close()
{
    hideTrayIcon();
    ::ShowWindow(hwnd(), SW_HIDE);
    CloseCM108Control();
    hideTrayIcon();
    ::ShowWindow(hwnd(), SW_HIDE);
    ::EndDialog(hwnd(), IDOK);
}

// --- key routing -----------------------------------------------------------

void PhoneDriverDialog::turnOnBuzzer(int on) { TurnOnBuzzer(on); }

bool PhoneDriverDialog::acquireScanWindow(std::uint32_t timeoutMs)
{
    return platform::win::waitOwned(scanWindowMutex_.get(), timeoutMs);
}

void PhoneDriverDialog::releaseScanWindow() { ::ReleaseMutex(scanWindowMutex_.get()); }

SkypeCallFlags PhoneDriverDialog::skypeCallFlags()
{
    return {call_.incomingRinging, process_.inCall, call_.outgoingCall};
}

WindowHandle PhoneDriverDialog::targetWindow() { return softphones::windowState().targetWindow; }

void PhoneDriverDialog::skypeKey(int code, bool pressed, const SkypeCallFlags& flags)
{
    skype::onKey(code, pressed, flags.incomingRinging, flags.inCall, flags.outgoingCall, keys_,
                 softphones::windowToggle(), process_.activeCalls, *this);
}

void PhoneDriverDialog::net2PhoneKey(int code, bool released) { softphones::net2PhoneKey(code, released); }
void PhoneDriverDialog::msnMessengerKey(int code, bool released) { softphones::msnMessengerKey(code, released); }
void PhoneDriverDialog::sjPhoneKey(int code, bool released) { softphones::sjPhoneKey(code, released); }
void PhoneDriverDialog::xLiteKey(int code, bool released, WindowHandle target)
{
    softphones::xLiteKey(code, released, asWindow(target));
}
void PhoneDriverDialog::eyeBeamKey(int code, bool released, WindowHandle target)
{
    softphones::eyeBeamKey(code, released, asWindow(target));
}

// --- ring requests ---------------------------------------------------------

void PhoneDriverDialog::setRingRequested(bool requested) { softphones::windowState().ringRequested = requested; }

void PhoneDriverDialog::startTimer(int id, std::uint32_t periodMs)
{
    ::SetTimer(hwnd(), static_cast<UINT_PTR>(id), periodMs, nullptr);
}

void PhoneDriverDialog::stopTimer(int id) { ::KillTimer(hwnd(), static_cast<UINT_PTR>(id)); }

// --- Skype -----------------------------------------------------------------

void PhoneDriverDialog::send(const std::string& command) { skype::win::SendSkypeCommand(command.c_str()); }
void PhoneDriverDialog::buzzer(int on) { TurnOnBuzzer(on); }
void PhoneDriverDialog::led(int pattern) { FlashLEDPattern(pattern); }
void PhoneDriverDialog::pause(std::uint32_t ms) { clock_.sleepMs(ms); }
void PhoneDriverDialog::setTimer(int id, std::uint32_t ms) { startTimer(id, ms); }
void PhoneDriverDialog::killTimer(int id) { stopTimer(id); }
void PhoneDriverDialog::setStatus(const std::string& text) { setStatusLine(text); }
void PhoneDriverDialog::selectAudioDevice() { skype::win::selectSkypeAudioDevice(); }

bool PhoneDriverDialog::skypeVisible()
{
    HWND target = softphones::windowState().targetWindow;
    return !target || ::IsWindowVisible(target);
}

void PhoneDriverDialog::focusNumberField()
{
    if (HWND field = skype::win::skypeNumberField()) {
        ::SetFocus(field);
        ::SetActiveWindow(field);
    }
}

void PhoneDriverDialog::clearNumberField()
{
    if (HWND field = skype::win::skypeNumberField())
        ::SendMessageA(field, WM_SETTEXT, 0, 0);
}

bool PhoneDriverDialog::hasMixerDevice() { return mixerDevice_.has_value(); }

std::uint32_t PhoneDriverDialog::handsetVolume() { return mixerDevice_ ? volume::getHandsetVolume(*mixerDevice_) : 0; }

void PhoneDriverDialog::setHandsetVolume(std::uint32_t value)
{
    if (mixerDevice_)
        volume::setHandsetVolume(*mixerDevice_, value);
}

} // namespace app::win
