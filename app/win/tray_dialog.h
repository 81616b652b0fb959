#pragma once
// A dialog that lives in the notification area: it owns the icon, its tooltip
// and its popup menu, turns the shell's mouse notifications into five
// overridable operations, and goes to the notification area when minimised,
// closed or deactivated.

#include <platform/win/dialog.h>
#include <platform/win/handles.h>

#include <windows.h>
#include <shellapi.h>

namespace app::win {

class TrayDialog : public platform::win::Dialog {
public:
    TrayDialog();

    UINT trayMessage() const { return trayMessage_; }
    bool trayIconShown() const { return trayIconShown_; }
    int trayPopupIndex() const { return trayPopupIndex_; }

protected:
    // In this slot order; each gets the cursor position in screen coordinates.
    virtual void trayLeftDown(POINT) {}
    virtual void trayLeftDoubleClick(POINT);
    virtual void trayRightDown(POINT) { openTrayPopup(); }
    virtual void trayRightDoubleClick(POINT) { openTrayPopup(); }
    virtual void trayMouseMove(POINT) {}

    bool showTrayIcon();
    bool hideTrayIcon();
    void setTrayIcon(int iconId);
    void setTrayTooltip(const char* text);
    void setTrayMenu(int menuId);
    void dispatchTrayNotification(WPARAM wParam, LPARAM lParam);

    // The window exists: the record takes its handle and icon identifier 1.
    void attachTrayRecord();
    void setTrayPopupIndex(int index) { trayPopupIndex_ = index; }

    // WM_SYSCOMMAND's minimise and close, WM_DESTROY, and the shell's restart.
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void openTrayPopup();

    bool minimizeToTray_ = true;
    bool trayIconShown_ = false;
    NOTIFYICONDATAA record_{};
    UINT trayMenuDefaultItem_ = 0;
    UINT trayMessage_;
    UINT taskbarCreated_;
    platform::win::UniqueMenu trayMenu_;
    int trayPopupIndex_ = 0;
};

} // namespace app::win
