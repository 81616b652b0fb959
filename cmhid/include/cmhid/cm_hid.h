#pragma once
// The five functions of CM_HID.dll that the handset library uses. Two builds
// export them: the simulated handset and the one over the Windows HID API.

#include <windows.h>

#ifdef CMHID_BUILDING
#define CMHID_API
#else
#define CMHID_API __declspec(dllimport)
#endif

extern "C" {

// May be called on any thread of the library's own. For the GPIO
// notification, wParam is the pin state.
typedef BOOL(WINAPI* CmHidNotify)(UINT message, WPARAM wParam, LPARAM lParam);

CMHID_API int WINAPI StartDeviceDetectionProc(CmHidNotify notify, UINT devAdded, UINT devRemoved, UINT keyDown,
                                              UINT keyUp, UINT volumeDown, UINT volumeUp, UINT playbackMute,
                                              UINT recordMute, UINT gpio, USHORT vendorId, USHORT productId);
CMHID_API void WINAPI HandleUsbDeviceChange(WPARAM wParam, LPARAM lParam);
CMHID_API int WINAPI SetGPIOState(BYTE levels, BYTE selection);
// Non-zero: *value was read.
CMHID_API int WINAPI ReadEEPROM(int address, USHORT* value);
CMHID_API void WINAPI WriteEEPROM(int address, USHORT value);

} // extern "C"
