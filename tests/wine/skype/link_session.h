#pragma once
// The Skype link of this process, started for a test main window, with a Skype
// stand-in beside it. The main window records the two link messages with the
// text each notification carried, and can send a command from its own thread.

#include "app_window.h"

#include <skype_link.h>
#include <standin_driver.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wine_tests {

constexpr DWORD kWaitMs = 5000;     // bound of every wait for something that must happen soon
constexpr double kToleranceMs = 100; // how early a timed pause may seem to end, seen from another process

inline const char* const kReceive = "WM_SKYPE_MESSAGE_RECEIVE";
inline const char* const kConnect = "WM_SKYPE_MESSAGE_CONNECT_FINISH";

using skype_standin::Entry;
using skype_standin::RecordKind;

// One thing the main window saw, in the order it saw them.
struct Arrival {
    std::string what;          // "connect", "receive" or "returned" (a command send ended)
    std::string text;          // receive: the text up to its NUL; returned: the command
    DWORD cbData = 0;
    bool terminatedInside = false; // receive: a NUL lies within cbData
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    double atMs = 0;

    std::string event() const { return text.empty() ? what : what + " " + text; }
};

class LinkSession {
public:
    LinkSession();
    ~LinkSession();
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    skype_standin::StandinDriver& skype() { return *skype_; }
    AppWindow& app() { return app_; }

    // StartSkypeLink for the main window; returns once the link window exists.
    void start();
    double startedMs() const { return startedMs_; }
    // Starts the link and waits until the stand-in has answered both discovers
    // that go out at start with status 0.
    void attach();

    // Sends the command from the main window's thread, as the program does;
    // "returned <command>" follows in the arrivals once the send is over.
    void sendFromMainWindow(const std::string& command);

    std::vector<Arrival> arrivals(size_t from = 0) const;
    std::vector<std::string> events(size_t from = 0) const;
    size_t arrivalCount() const;
    size_t connects() const;
    bool waitArrivals(size_t count, DWORD timeoutMs = kWaitMs) const;
    bool waitConnects(size_t count, DWORD timeoutMs = kWaitMs) const;

    // The stand-in's records of one kind, from index from on.
    std::vector<Entry> skypeRecords(RecordKind kind, std::uint64_t from = 0);
    // Waits until the stand-in holds count records of that kind (at or after from)
    // that match; answers them.
    std::vector<Entry> waitSkypeRecords(RecordKind kind, size_t count, std::uint64_t from,
                                        const std::function<bool(const Entry&)>& match, DWORD timeoutMs = kWaitMs);
    // The first keep-alive "PING" and its answer: afterwards the keep-alive
    // stays quiet for 13 s.
    void waitFirstKeepAlivePing();

private:
    void onMessage(const Received& r);

    AppWindow app_;
    std::unique_ptr<skype_standin::StandinDriver> skype_;
    UINT sendTrigger_ = 0;
    double startedMs_ = 0;

    mutable std::mutex lock_;
    mutable std::condition_variable changed_;
    std::vector<Arrival> arrivals_;
    std::vector<std::string> toSend_;
};

// A top-level window whose thread stops taking messages until the object goes.
class HungWindow {
public:
    HungWindow();
    ~HungWindow();
    HungWindow(const HungWindow&) = delete;
    HungWindow& operator=(const HungWindow&) = delete;
    HWND hwnd() const { return window_; }

private:
    HANDLE release_;
    HWND window_ = nullptr;
    std::thread thread_;
};

} // namespace wine_tests

namespace skype_standin {
// For failure messages: found by argument-dependent lookup.
std::ostream& operator<<(std::ostream& out, const Entry& e);
} // namespace skype_standin
