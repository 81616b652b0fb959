#include "tray_dialog.h"

#include <tray_events.h>

#include <cstring>

namespace app::win {

TrayDialog::TrayDialog()
    : trayMessage_(::RegisterWindowMessageA("WM_TRAY_ICON_NOTIFY_MESSAGE")),
      taskbarCreated_(::RegisterWindowMessageA("TaskbarCreated"))
{
    // The first version of the record: the shell reads no further than szTip.
    record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record_.hWnd = nullptr; // a dialog without a parent
    record_.uID = 0;
    record_.uFlags = NIF_MESSAGE;
    record_.uCallbackMessage = trayMessage_;
}

void TrayDialog::initDialog()
{
    // The window exists: the record takes its handle and icon identifier 1.
    record_.hWnd = hwnd();
    record_.uID = 1;
    bindControls();
}

bool TrayDialog::showTrayIcon()
{
    if (trayIconShown_)
        return false;
    const bool added = ::Shell_NotifyIconA(NIM_ADD, &record_) != FALSE;
    if (added)
        trayIconShown_ = true;
    return added;
}

bool TrayDialog::hideTrayIcon()
{
    if (!trayIconShown_)
        return false;
    const bool removed = ::Shell_NotifyIconA(NIM_DELETE, &record_) != FALSE;
    if (removed)
        trayIconShown_ = false;
    return removed;
}

void TrayDialog::setTrayIcon(int iconId)
{
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId));
    if (!icon)
        return;
    record_.hIcon = icon;
    record_.uFlags |= NIF_ICON;
}

void TrayDialog::setTrayTooltip(const char* text)
{
    // szTip holds 63 characters and the zero.
    std::strncpy(record_.szTip, text, sizeof record_.szTip - 1);
    record_.szTip[sizeof record_.szTip - 1] = '\0';
    record_.uFlags |= NIF_TIP;
}

void TrayDialog::setTrayMenu(int menuId)
{
    trayMenu_.reset(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId)));
}

void TrayDialog::trayLeftDoubleClick(POINT)
{
    if (minimizeToTray_ && hideTrayIcon())
        ::ShowWindow(hwnd(), SW_SHOW);
}

void TrayDialog::dispatchTrayNotification(WPARAM wParam, LPARAM lParam)
{
    const auto operation = trayOperation(wParam, lParam);
    if (!operation)
        return;
    POINT at{};
    ::GetCursorPos(&at);
    switch (*operation) {
    case TrayOperation::LeftDown: trayLeftDown(at); break;
    case TrayOperation::LeftDoubleClick: trayLeftDoubleClick(at); break;
    case TrayOperation::RightDown: trayRightDown(at); break;
    case TrayOperation::RightDoubleClick: trayRightDoubleClick(at); break;
    case TrayOperation::MouseMove: trayMouseMove(at); break;
    }
}

void TrayDialog::openTrayPopup()
{
    POINT at{};
    ::GetCursorPos(&at);
    ::SetForegroundWindow(hwnd());
    HMENU popup = trayMenu_ ? ::GetSubMenu(trayMenu_.get(), trayPopupIndex_) : nullptr;
    if (!popup)
        return;
    ::TrackPopupMenu(popup, 0, at.x, at.y, 0, hwnd(), nullptr);
    // Lets the menu close when the user clicks elsewhere next time.
    ::PostMessageA(hwnd(), WM_NULL, 0, 0);
    ::SetMenuDefaultItem(popup, trayMenuDefaultItem_, TRUE);
}

bool TrayDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_INITDIALOG) {
        initDialog();
        result = TRUE; // the default focus
        return true;
    }
    if (message == WM_SYSCOMMAND) {
        if (systemCommandAction(wParam, minimizeToTray_) != SystemCommandAction::ToTray)
            return false;
        if (showTrayIcon())
            ::ShowWindow(hwnd(), SW_HIDE);
        result = 0;
        return true; // dropped when the icon could not be added
    }
    if (message == WM_DESTROY) {
        if (record_.hWnd && record_.uID != 0 && trayIconShown_)
            ::Shell_NotifyIconA(NIM_DELETE, &record_);
        return false;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // The shell restarted and forgot the icon; without it a hidden program
        // could not be reached any more.
        if (trayIconShown_)
            ::Shell_NotifyIconA(NIM_ADD, &record_);
        return false;
    }
    defaultProcessing(message, wParam, lParam);
    return false;
}

} // namespace app::win
