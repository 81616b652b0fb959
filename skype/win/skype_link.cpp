#include "skype_link.h"

#include <text.h>

#include <platform/win/handles.h>
#include <platform/win/sync.h>
#include <platform/win/thread.h>

#include <rpc.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace skype::win {

namespace {

using platform::win::UniqueHandle;

constexpr char kClassPrefix[] = "Skype-API-Test-";
constexpr LPARAM kAttachSuccess = 0;
constexpr LPARAM kApiAvailable = 0x8001;

constexpr DWORD kDiscoverCycleMs = 13000;
constexpr DWORD kPingDelayMs = 4000;
constexpr DWORD kAfterPingMs = 4000;
constexpr DWORD kCycleRestMs = 5000;
constexpr DWORD kErrorPauseMs = 5000;
constexpr unsigned kKeepAliveStackBytes = 1048576;

// A broadcast visits every top-level window in turn; one whose thread does not
// pump would hold a plain SendMessage for ever. The timeout counts per window.
constexpr UINT kBroadcastTimeoutMs = 1000;
// A hung client must not freeze the thread that talks to it.
constexpr UINT kCommandTimeoutMs = 5000;
constexpr DWORD kStopWaitMs = 5000;

// A thread message, so that no broadcast can carry it to the link window.
constexpr UINT kStopRequest = WM_APP + 1;

// One start of the link: what its threads share. Each thread holds it, so the
// events stay valid for them after StopSkypeLink has let go of its reference.
struct Run {
    UniqueHandle stop; // manual reset: every loop ends
    UniqueHandle wake; // auto reset: the discover loop starts its cycle now
    UINT attachMessage = 0;
    UINT discoverMessage = 0;
};

struct LinkState {
    std::atomic<HWND> mainWindow{nullptr};
    std::atomic<HWND> linkWindow{nullptr};
    std::atomic<HWND> skypeApiWindow{nullptr};
    // Lines received from Skype so far. Each loop compares it with the value it
    // saw at its own previous check: two loops clearing one shared flag would
    // make whichever checks second broadcast although Skype is talking.
    std::atomic<std::uint32_t> heardFromSkype{0};

    platform::win::SrwMutex lock; // guards the members below
    std::shared_ptr<Run> run;
    UniqueHandle linkThread;
    DWORD linkThreadId = 0;
    std::string className;
    UniqueHandle instanceHandle; // a process handle, used as the class's instance value
};

LinkState& state()
{
    static LinkState s; // process-wide, as long as the process lives
    return s;
}

HINSTANCE instanceValue(const UniqueHandle& h) { return static_cast<HINSTANCE>(h.get()); }

// True when the stop event ended the wait (or the wait itself failed).
bool stopped(const Run& run, DWORD ms) { return ::WaitForSingleObject(run.stop.get(), ms) != WAIT_TIMEOUT; }

void sendLine(const char* bytes, size_t size)
{
    HWND api = state().skypeApiWindow.load();
    if (!api)
        return;
    COPYDATASTRUCT cds{0, static_cast<DWORD>(size), const_cast<char*>(bytes)};
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(api, WM_COPYDATA, reinterpret_cast<WPARAM>(state().linkWindow.load()),
                          reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL | SMTO_ABORTIFHUNG, kCommandTimeoutMs, &answer);
}

void forwardToMainWindow(const COPYDATASTRUCT* received)
{
    HWND main = state().mainWindow.load();
    const UINT message = skypeMessageReceiveId();
    if (received && received->lpData && received->cbData > 0 &&
        std::memchr(received->lpData, 0, received->cbData)) {
        ::SendMessageA(main, message, 0, reinterpret_cast<LPARAM>(received));
        return;
    }
    // The main window reads up to the NUL; a line without one inside cbData is
    // handed on as a terminated copy, so no reader runs past the sender's bytes.
    std::string text;
    if (received && received->lpData)
        text.assign(static_cast<const char*>(received->lpData), received->cbData);
    COPYDATASTRUCT copy{received ? received->dwData : 0, static_cast<DWORD>(text.size() + 1), text.data()};
    ::SendMessageA(main, message, 0, reinterpret_cast<LPARAM>(&copy));
}

LRESULT onCopyData(WPARAM wParam, LPARAM lParam)
{
    LinkState& s = state();
    HWND api = s.skypeApiWindow.load();
    // Before the first attach there is no sender to accept, not even window 0.
    if (!api || reinterpret_cast<HWND>(wParam) != api)
        return 0;
    forwardToMainWindow(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    s.heardFromSkype.fetch_add(1);
    return 1;
}

LRESULT onAttach(const Run& run, WPARAM wParam, LPARAM status)
{
    LinkState& s = state();
    if (status == kAttachSuccess) {
        s.skypeApiWindow.store(reinterpret_cast<HWND>(wParam));
        ::SendMessageA(s.mainWindow.load(), skypeConnectFinishId(), 0, 0);
    } else if (status == kApiAvailable) {
        // The running discover loop starts a cycle at once; a thread per
        // announcement would pile up loops for a client that restarts often.
        ::SetEvent(run.wake.get());
    }
    return 1;
}

LRESULT CALLBACK linkWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        const auto* run = reinterpret_cast<const Run*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (message == WM_DESTROY) {
            HWND self = hwnd;
            state().linkWindow.compare_exchange_strong(self, nullptr);
            ::PostQuitMessage(0);
            return 0;
        }
        if (message == WM_COPYDATA)
            return onCopyData(wParam, lParam);
        if (run && message == run->attachMessage && message != 0)
            return onAttach(*run, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system; the message gets the default answer.
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

void broadcastDiscover(const Run& run, bool synchronous)
{
    HWND window = state().linkWindow.load();
    if (!window)
        return; // nothing for Skype to attach to
    if (synchronous) {
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutA(HWND_BROADCAST, run.discoverMessage, reinterpret_cast<WPARAM>(window), 0,
                              SMTO_NORMAL | SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &answer);
    } else {
        ::PostMessageA(HWND_BROADCAST, run.discoverMessage, reinterpret_cast<WPARAM>(window), 0);
    }
}

void runDiscoverLoop(const std::shared_ptr<Run>& run)
{
    std::uint32_t seen = state().heardFromSkype.load();
    const HANDLE waits[] = {run->stop.get(), run->wake.get()};
    for (;;) {
        const std::uint32_t heard = state().heardFromSkype.load();
        if (heard == seen)
            broadcastDiscover(*run, true);
        seen = heard;
        const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, kDiscoverCycleMs);
        if (woke != WAIT_TIMEOUT && woke != WAIT_OBJECT_0 + 1)
            return;
    }
}

void runKeepAlive(const std::shared_ptr<Run>& run)
{
    platform::win::startThread([run] { runDiscoverLoop(run); }, THREAD_PRIORITY_BELOW_NORMAL);
    std::uint32_t seen = state().heardFromSkype.load();
    for (;;) {
        try {
            const std::uint32_t heard = state().heardFromSkype.load();
            if (heard == seen)
                broadcastDiscover(*run, false);
            seen = heard;
            if (stopped(*run, kPingDelayMs))
                return;
            SendSkypeCommand("PING");
            if (stopped(*run, kAfterPingMs) || stopped(*run, kCycleRestMs))
                return;
        } catch (...) {
            if (stopped(*run, kErrorPauseMs))
                return;
        }
    }
}

// The class name and instance value are published for StopSkypeLink, which
// unregisters the class once the window is gone.
std::string registerLinkClass()
{
    LinkState& s = state();
    UUID uuid;
    const RPC_STATUS created = ::UuidCreate(&uuid);
    if (created != RPC_S_OK && created != RPC_S_UUID_LOCAL_ONLY)
        return {};
    UniqueHandle instance(::OpenProcess(PROCESS_DUP_HANDLE, FALSE, ::GetCurrentProcessId()));
    RPC_CSTR uuidText = nullptr;
    if (!instance || ::UuidToStringA(&uuid, &uuidText) != RPC_S_OK)
        return {};
    std::string name = kClassPrefix;
    name += reinterpret_cast<const char*>(uuidText);
    ::RpcStringFreeA(&uuidText);

    WNDCLASSA wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = linkWindowProcedure;
    wc.hInstance = instanceValue(instance);
    wc.lpszClassName = name.c_str();
    if (!::RegisterClassA(&wc))
        return {};
    std::lock_guard<platform::win::SrwMutex> guard(s.lock);
    s.className = name;
    s.instanceHandle = std::move(instance);
    return name;
}

void runLinkThread(const std::shared_ptr<Run>& run)
{
    LinkState& s = state();
    run->attachMessage = ::RegisterWindowMessageA("SkypeControlAPIAttach");
    run->discoverMessage = ::RegisterWindowMessageA("SkypeControlAPIDiscover");
    if (!run->attachMessage || !run->discoverMessage)
        return;
    const std::string className = registerLinkClass();
    if (className.empty())
        return;
    HINSTANCE instance;
    {
        std::lock_guard<platform::win::SrwMutex> guard(s.lock);
        instance = instanceValue(s.instanceHandle);
    }
    HWND window = ::CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, className.c_str(), "",
                                    WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT, 128, 128,
                                    nullptr, nullptr, instance, run.get());
    if (!window)
        return;
    s.linkWindow.store(window);

    // A stop that came before this thread had a message queue found nothing to post to.
    if (stopped(*run, 0) ||
        !platform::win::startThread([run] { runKeepAlive(run); }, THREAD_PRIORITY_NORMAL, kKeepAliveStackBytes))
        ::DestroyWindow(window);

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == kStopRequest) {
            ::DestroyWindow(window);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    ::WaitForSingleObject(run->stop.get(), INFINITE);
}

// Waits for handle while still answering messages sent to this thread: the link
// thread may be inside a send to the main window when asked to stop.
bool waitAnsweringSends(HANDLE handle, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        const DWORD woke = ::MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0)
            return true;
        if (woke != WAIT_OBJECT_0 + 1)
            return false;
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

UINT skypeMessageReceiveId()
{
    static const UINT id = ::RegisterWindowMessageA("WM_SKYPE_MESSAGE_RECEIVE");
    return id;
}

UINT skypeConnectFinishId()
{
    static const UINT id = ::RegisterWindowMessageA("WM_SKYPE_MESSAGE_CONNECT_FINISH");
    return id;
}

void StartSkypeLink(HWND mainWindow)
{
    LinkState& s = state();
    std::lock_guard<platform::win::SrwMutex> guard(s.lock);
    if (s.run)
        return;
    skypeMessageReceiveId();
    skypeConnectFinishId();
    s.mainWindow.store(mainWindow);

    auto run = std::make_shared<Run>();
    run->stop.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    run->wake.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!run->stop || !run->wake)
        return;
    UniqueHandle thread = platform::win::startThread([run] { runLinkThread(run); }, THREAD_PRIORITY_BELOW_NORMAL);
    if (!thread)
        return;
    s.linkThreadId = ::GetThreadId(thread.get());
    s.linkThread = std::move(thread);
    s.run = std::move(run);
}

void StopSkypeLink()
{
    LinkState& s = state();
    std::shared_ptr<Run> run;
    UniqueHandle thread;
    DWORD threadId = 0;
    {
        std::lock_guard<platform::win::SrwMutex> guard(s.lock);
        run = std::move(s.run);
        thread = std::move(s.linkThread);
        threadId = std::exchange(s.linkThreadId, 0);
    }
    if (!run)
        return;
    ::SetEvent(run->stop.get());
    ::PostThreadMessageA(threadId, kStopRequest, 0, 0);
    const bool ended = waitAnsweringSends(thread.get(), kStopWaitMs);
    s.linkWindow.store(nullptr);
    if (!ended)
        return; // the window may still exist: its class stays registered

    std::lock_guard<platform::win::SrwMutex> guard(s.lock);
    if (!s.className.empty())
        ::UnregisterClassA(s.className.c_str(), instanceValue(s.instanceHandle));
    s.className.clear();
    s.instanceHandle.reset();
}

void SendSkypeCommand(const char* text)
{
    if (text)
        sendLine(text, std::strlen(text) + 1);
}

void SendSkypeCommandUtf8(const char* text)
{
    if (!text)
        return;
    const std::string line = skype::trimmed(text);
    if (line.empty())
        return;
    const int wideLength =
        ::MultiByteToWideChar(CP_THREAD_ACP, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
    if (wideLength <= 0)
        return;
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, line.data(), static_cast<int>(line.size()), wide.data(), wideLength);
    const int utf8Length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (utf8Length <= 0)
        return;
    std::vector<char> utf8(static_cast<size_t>(utf8Length) + 1, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), utf8Length, nullptr, nullptr);
    sendLine(utf8.data(), utf8.size());
}

HWND linkWindow() { return state().linkWindow.load(); }

HWND skypeApiWindow() { return state().skypeApiWindow.load(); }

std::string linkClassName()
{
    LinkState& s = state();
    std::lock_guard<platform::win::SrwMutex> guard(s.lock);
    return s.className;
}

} // namespace skype::win
