#pragma once
// A stand-in for the application window that the handset library notifies:
// a message-only window on a thread of its own that records each registered
// message it is sent, with the performance-counter time of its arrival.

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wine_tests {

struct Received {
    std::string name;  // the registered name
    WPARAM wParam;
    LPARAM lParam;
    double atMs;       // performance counter, milliseconds
};

class AppWindow {
public:
    explicit AppWindow(const std::vector<std::string>& messageNames);
    ~AppWindow();
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    UINT id(const std::string& name) const { return ids_.at(name); }

    // Runs on the window's thread while the sender waits, after recording.
    void setHandler(std::function<void(const Received&)> handler);

    std::vector<Received> received() const;
    // Waits until at least count messages have arrived; false on timeout.
    bool waitCount(size_t count, DWORD timeoutMs) const;
    // The first message at index >= from with that name.
    bool waitFor(const std::string& name, size_t from, DWORD timeoutMs, Received* out = nullptr) const;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void run();

    std::map<std::string, UINT> ids_;
    std::map<UINT, std::string> names_;
    HWND hwnd_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;

    mutable std::mutex lock_;
    mutable std::condition_variable changed_;
    std::vector<Received> received_;
    std::function<void(const Received&)> handler_;
    bool ready_ = false;
};

double nowMs();

} // namespace wine_tests

namespace wine_tests {

// The first top-level window of process pid for which match answers true.
HWND findProcessWindow(DWORD pid, const std::function<bool(HWND)>& match);

} // namespace wine_tests
