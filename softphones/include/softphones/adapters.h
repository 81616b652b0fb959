#pragma once
// The key adapters of the window-driven softphones. Called on the main
// window's thread with the scan-window mutex held; code as the main window
// delivers it (13 NO, 14 YES); released is false for a key press.

#include <windows.h>

namespace softphones {

void net2PhoneKey(int code, bool released);
void msnMessengerKey(int code, bool released);
void sjPhoneKey(int code, bool released);
void xLiteKey(int code, bool released, HWND window);
void eyeBeamKey(int code, bool released, HWND window);

} // namespace softphones
