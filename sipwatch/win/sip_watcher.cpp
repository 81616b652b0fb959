#include <sipwatch/sip_watcher.h>

#include <atomic>

namespace sipwatch {

namespace {
std::atomic<HWND> g_mainWindow{nullptr};
}

void publishMainWindow(HWND window) { g_mainWindow.store(window); }

HWND mainWindow() { return g_mainWindow.load(); }

void StartSipWatcher()
{
    ::RegisterWindowMessageA("XLite_RING_ON");
    ::RegisterWindowMessageA("XLite_RING_OFF");
    // The capture thread comes with the network watcher itself.
}

} // namespace sipwatch
