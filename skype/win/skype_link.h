#pragma once
// The desktop API link to the Skype client: a hidden window that Skype attaches
// to, the discover and keep-alive loops that find it again after silence, and
// the two ways of sending it a command line.
//
// The main window hears of the link through two registered messages, both sent
// synchronously on the link thread:
//   "WM_SKYPE_MESSAGE_CONNECT_FINISH"  wParam 0, lParam 0: Skype attached (again)
//   "WM_SKYPE_MESSAGE_RECEIVE"         wParam 0, lParam: COPYDATASTRUCT* of one
//                                      line from Skype, valid until the handler
//                                      returns; its text always ends in a NUL
//                                      inside cbData
// Commands may be sent from any thread. A send blocks until Skype has taken the
// line, and Skype's answers may reach the main window while it blocks.

#include <windows.h>

#include <string>

namespace skype::win {

// Starts the link thread for mainWindow. Once per run; a second call while the
// link runs changes nothing.
void StartSkypeLink(HWND mainWindow);

// Ends the loops, destroys the link window on its own thread and unregisters
// its class. Waits a bounded time for the link thread; the caller's thread
// keeps handling messages sent to it meanwhile.
void StopSkypeLink();

// One ANSI command line, sent unchanged with its NUL. Lost when no Skype has
// attached yet or the one that did is gone.
void SendSkypeCommand(const char* text);

// One command line without its surrounding white space, converted from the
// thread's ANSI code page to UTF-8. Nothing is sent for a blank text.
void SendSkypeCommandUtf8(const char* text);

// Identifiers of the two messages to the main window (valid before the start too).
UINT skypeMessageReceiveId();
UINT skypeConnectFinishId();

// The link's current windows and class, for diagnostics and tests: null or
// empty when not running / not attached.
HWND linkWindow();
HWND skypeApiWindow();
std::string linkClassName();

} // namespace skype::win
