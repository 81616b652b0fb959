#pragma once
// Public interface of Quorvex.dll, the handset control library.

#include <quorvex/key_codes.h>

#include <windows.h>

#ifdef QUORVEX_BUILDING
#define QUORVEX_API
#else
#define QUORVEX_API __declspec(dllimport)
#endif

extern "C" {

// Starts the control thread and the ACK worker; notifications go to app with
// the given registered message identifiers. volumeA/volumeB 0: not supplied.
QUORVEX_API BOOL WINAPI InitCM108Control(HWND app, UINT deviceAdded, UINT deviceRemoved,
                                         UINT deviceChanged, UINT keyUp, UINT keyDown,
                                         UINT volumeA = 0, UINT volumeB = 0);
// Low byte non-zero: ringer on; zero: off. Always answers 0.
QUORVEX_API int WINAPI TurnOnBuzzer(int on);
// Patterns 1..4 (3 ringing, 4 in a call, 1 idle); other values write nothing.
QUORVEX_API void WINAPI FlashLEDPattern(int pattern);
QUORVEX_API BOOL WINAPI CloseCM108Control(void);
QUORVEX_API void WINAPI FlashLED2Pattern(int pattern);
// Starts one more ACK worker; the handle stays the library's.
QUORVEX_API HANDLE WINAPI StartACK(void);
QUORVEX_API void WINAPI StopACK(void);

} // extern "C"
