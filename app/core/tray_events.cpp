#include "tray_events.h"

#include <resource.h>

namespace app {

namespace {

constexpr std::intptr_t kMouseMove = 0x0200;
constexpr std::intptr_t kLeftButtonDown = 0x0201;
constexpr std::intptr_t kLeftButtonDoubleClick = 0x0203;
constexpr std::intptr_t kRightButtonDown = 0x0204;
constexpr std::intptr_t kRightButtonDoubleClick = 0x0206;
constexpr std::intptr_t kContextMenu = 0x007B;

constexpr std::uintptr_t kSystemCommandMask = 0xFFF0;
constexpr std::uintptr_t kScMinimize = 0xF020;
constexpr std::uintptr_t kScClose = 0xF060;

} // namespace

std::optional<TrayOperation> trayOperation(std::uintptr_t wParam, std::intptr_t lParam)
{
    if (wParam != kTrayIconId)
        return std::nullopt;
    switch (lParam) {
    case kLeftButtonDown: return TrayOperation::LeftDown;
    case kLeftButtonDoubleClick: return TrayOperation::LeftDoubleClick;
    case kRightButtonDown:
    case kContextMenu: return TrayOperation::RightDown;
    case kRightButtonDoubleClick: return TrayOperation::RightDoubleClick;
    case kMouseMove: return TrayOperation::MouseMove;
    default: return std::nullopt;
    }
}

SystemCommandAction systemCommandAction(std::uintptr_t command, bool minimizeToTray)
{
    const std::uintptr_t masked = command & kSystemCommandMask;
    if (masked == IDM_ABOUTBOX)
        return SystemCommandAction::Ignore;
    if (minimizeToTray && (masked == kScMinimize || masked == kScClose))
        return SystemCommandAction::ToTray;
    return SystemCommandAction::Default;
}

} // namespace app
