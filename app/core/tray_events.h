#pragma once
// What the notification-area icon's mouse notifications and the window's
// system commands turn into.

#include <cstdint>
#include <optional>
#include <ostream>

namespace app {

constexpr unsigned kTrayIconId = 1;

enum class TrayOperation { LeftDown, LeftDoubleClick, RightDown, RightDoubleClick, MouseMove };

inline std::ostream& operator<<(std::ostream& os, TrayOperation op)
{
    static const char* const kNames[] = {"LeftDown", "LeftDoubleClick", "RightDown", "RightDoubleClick", "MouseMove"};
    return os << kNames[static_cast<int>(op)];
}

// The tray message carries the icon identifier and the mouse message; anything
// else, or another icon's notification, is no operation.
std::optional<TrayOperation> trayOperation(std::uintptr_t wParam, std::intptr_t lParam);

constexpr bool opensTrayPopup(TrayOperation op)
{
    return op == TrayOperation::RightDown || op == TrayOperation::RightDoubleClick;
}

enum class SystemCommandAction {
    Ignore,  // the item appended from the about string
    ToTray,  // minimise or close: icon into the notification area, window hidden
    Default,
};

inline std::ostream& operator<<(std::ostream& os, SystemCommandAction a)
{
    static const char* const kNames[] = {"Ignore", "ToTray", "Default"};
    return os << kNames[static_cast<int>(a)];
}

// The low four bits of a system command are the system's own and are masked off.
SystemCommandAction systemCommandAction(std::uintptr_t command, bool minimizeToTray);

struct IconOrigin {
    int x;
    int y;
};

// Where the icon of the minimised window is drawn: centred in the client area.
constexpr IconOrigin minimizedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight)
{
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

} // namespace app
