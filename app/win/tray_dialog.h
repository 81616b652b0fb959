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
    // The dialog operations a derived window overrides, in this slot order:
    // binding its controls, the processing of every message it has no handler
    // for, and its initialisation (which runs the binding).
    virtual void bindControls() {}
    virtual void defaultProcessing(UINT, WPARAM, LPARAM) {}
    virtual void initDialog();

    // The tray operations, in this slot order; each gets the cursor position in
    // screen coordinates.
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

    void setTrayPopupIndex(int index) { trayPopupIndex_ = index; }

    // Initialisation, WM_SYSCOMMAND's minimise and close, WM_DESTROY, the
    // shell's restart; everything else goes to defaultProcessing.
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
