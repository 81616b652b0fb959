#include "app_window.h"

#include <platform/win/precise_clock.h>

#include <chrono>

namespace wine_tests {

double nowMs() { return platform::win::qpcMs(); }

AppWindow::AppWindow(const std::vector<std::string>& messageNames)
{
    for (const auto& name : messageNames) {
        const UINT id = ::RegisterWindowMessageA(name.c_str());
        ids_[name] = id;
        names_[id] = name;
    }
    thread_ = std::thread([this] { run(); });
    std::unique_lock<std::mutex> lk(lock_);
    changed_.wait_for(lk, std::chrono::seconds(10), [this] { return ready_; });
}

AppWindow::~AppWindow()
{
    if (threadId_)
        ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    if (thread_.joinable())
        thread_.join();
}

void AppWindow::run()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "telvane-test-app-window";
    ::RegisterClassA(&wc); // a second window of the process finds it registered
    HWND hwnd = ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
    {
        std::lock_guard<std::mutex> lk(lock_);
        hwnd_ = hwnd;
        threadId_ = ::GetCurrentThreadId();
        ready_ = true;
    }
    changed_.notify_all();
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    ::DestroyWindow(hwnd);
}

LRESULT CALLBACK AppWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<AppWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) {
        auto it = self->names_.find(message);
        if (it != self->names_.end()) {
            Received r{it->second, wParam, lParam, nowMs()};
            std::function<void(const Received&)> handler;
            {
                std::lock_guard<std::mutex> lk(self->lock_);
                self->received_.push_back(r);
                handler = self->handler_;
            }
            self->changed_.notify_all();
            if (handler)
                handler(r);
            return 0;
        }
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

void AppWindow::setHandler(std::function<void(const Received&)> handler)
{
    std::lock_guard<std::mutex> lk(lock_);
    handler_ = std::move(handler);
}

std::vector<Received> AppWindow::received() const
{
    std::lock_guard<std::mutex> lk(lock_);
    return received_;
}

bool AppWindow::waitCount(size_t count, DWORD timeoutMs) const
{
    std::unique_lock<std::mutex> lk(lock_);
    return changed_.wait_for(lk, std::chrono::milliseconds(timeoutMs), [&] { return received_.size() >= count; });
}

bool AppWindow::waitFor(const std::string& name, size_t from, DWORD timeoutMs, Received* out) const
{
    std::unique_lock<std::mutex> lk(lock_);
    return changed_.wait_for(lk, std::chrono::milliseconds(timeoutMs), [&] {
        for (size_t i = from; i < received_.size(); ++i) {
            if (received_[i].name == name) {
                if (out)
                    *out = received_[i];
                return true;
            }
        }
        return false;
    });
}

} // namespace wine_tests

namespace wine_tests {

namespace {

struct WindowSearch {
    DWORD pid;
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && (*search->match)(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND findProcessWindow(DWORD pid, const std::function<bool(HWND)>& match)
{
    WindowSearch search{pid, &match, nullptr};
    ::EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace wine_tests
