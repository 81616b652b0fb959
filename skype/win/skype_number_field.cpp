#include "skype_number_field.h"

#include <atomic>
#include <cstring>

namespace skype::win {

namespace {
// Written by the poller's thread, read by the main window's.
std::atomic<HWND> g_numberField{nullptr};
} // namespace

BOOL CALLBACK findSkypeNumberField(HWND child, LPARAM)
{
    char className[100] = {};
    ::GetClassNameA(child, className, 99);
    if (std::strstr(className, "tSkMainForm"))
        ::SendMessageA(child, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    if (std::strstr(className, "Edit"))
        g_numberField.store(child);
    return TRUE;
}

HWND skypeNumberField() { return g_numberField.load(); }

} // namespace skype::win
