// The library's exports; each one catches everything, since an exception must
// never unwind into the caller.

#define QUORVEX_BUILDING
#include <quorvex/quorvex.h>

#include "library.h"

using quorvex::win::Library;

extern "C" {

BOOL WINAPI InitCM108Control(HWND app, UINT deviceAdded, UINT deviceRemoved, UINT deviceChanged, UINT keyUp,
                             UINT keyDown, UINT volumeA, UINT volumeB)
{
    try {
        return Library::instance().init(
            {app, deviceAdded, deviceRemoved, deviceChanged, keyUp, keyDown, volumeA, volumeB});
    } catch (...) {
        return TRUE;
    }
}

int WINAPI TurnOnBuzzer(int on)
{
    try {
        return Library::instance().buzzer(on);
    } catch (...) {
        return 0;
    }
}

void WINAPI FlashLEDPattern(int pattern)
{
    try {
        Library::instance().led(pattern);
    } catch (...) {
    }
}

BOOL WINAPI CloseCM108Control(void)
{
    try {
        return Library::instance().close();
    } catch (...) {
        return TRUE;
    }
}

void WINAPI FlashLED2Pattern(int pattern)
{
    try {
        Library::instance().led2(pattern);
    } catch (...) {
    }
}

HANDLE WINAPI StartACK(void)
{
    try {
        return Library::instance().startAck();
    } catch (...) {
        return nullptr;
    }
}

void WINAPI StopACK(void)
{
    try {
        Library::instance().stopAck();
    } catch (...) {
    }
}

} // extern "C"
