// telvane.exe: one copy at a time, its main window run as a modal dialog.

#include "phone_driver_dialog.h"

#include <resource.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // Process-wide objects, before the main window exists: the instance lock
    // and the two messages of Skype's desktop API.
    app::win::instanceLock();
    ::RegisterWindowMessageA("SkypeControlAPIAttach");
    ::RegisterWindowMessageA("SkypeControlAPIDiscover");

    ::InitCommonControls();
    app::win::PhoneDriverDialog dialog;
    const INT_PTR result = dialog.runModal(instance, IDD_PHONE_DRIVER);
    // The Skype link and the other workers still use the window object; the
    // process ends here, with them, before anything is torn down under them.
    ::ExitProcess(static_cast<UINT>(result));
}
