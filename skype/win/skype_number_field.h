#pragma once
// Skype's number entry field, found among the children of its main window.

#include <windows.h>

namespace skype::win {

// Run by EnumChildWindows over Skype's main window for each child: a child of
// the main form's class is told its parent is closing (WM_SHOWWINDOW FALSE,
// SW_PARENTCLOSING), and the last child whose class contains "Edit" becomes the
// number field. Always continues.
BOOL CALLBACK findSkypeNumberField(HWND child, LPARAM);

// Null until found; never cleared.
HWND skypeNumberField();

} // namespace skype::win
