#include <platform/win/dialog.h>

namespace platform::win {

bool answersDirectly(UINT message) noexcept
{
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

INT_PTR Dialog::runModal(HINSTANCE instance, int templateId, HWND parent)
{
    return ::DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), parent, procedure,
                             reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    } else {
        self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self)
        return FALSE;

    INT_PTR answer = FALSE;
    try {
        LRESULT result = 0;
        const bool handled = self->onMessage(message, wParam, lParam, result);
        if (message == WM_NCDESTROY) {
            self->onDestroy();
            ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            self->hwnd_ = nullptr;
        }
        if (handled) {
            if (answersDirectly(message)) {
                answer = static_cast<INT_PTR>(result);
            } else {
                ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
                answer = TRUE;
            }
        }
    } catch (...) {
        // Carry on: the message gets the default processing.
        answer = FALSE;
    }
    return answer;
}

} // namespace platform::win
