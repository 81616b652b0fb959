#include "standin_window.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace skype_standin {

namespace {

constexpr char kClassName[] = "telvane-skype-standin";
constexpr UINT kFlushPending = WM_APP + 1;
constexpr UINT kSendTimeoutMs = 5000;
constexpr LPARAM kApiAvailable = 0x8001;

std::uint64_t handleValue(HWND h) { return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(h)); }

// "verb rest": rest keeps its inner blanks.
void splitVerb(const std::string& line, std::string& verb, std::string& rest)
{
    const size_t blank = line.find(' ');
    verb = line.substr(0, blank);
    rest = blank == std::string::npos ? "" : line.substr(blank + 1);
}

std::vector<std::string> words(const std::string& text)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t blank = text.find(' ', i);
        const size_t end = blank == std::string::npos ? text.size() : blank;
        if (end > i)
            out.push_back(text.substr(i, end - i));
        i = end + 1;
    }
    return out;
}

bool parseNumber(const std::string& text, unsigned long long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 0);
    return end && *end == '\0';
}

bool parseSwitch(const std::string& text, bool& value)
{
    if (text != "on" && text != "off")
        return false;
    value = text == "on";
    return true;
}

} // namespace

bool StandinWindow::create(HINSTANCE instance)
{
    attachMessage_ = ::RegisterWindowMessageA("SkypeControlAPIAttach");
    discoverMessage_ = ::RegisterWindowMessageA("SkypeControlAPIDiscover");
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    ::RegisterClassA(&wc);
    // Top-level, never shown: broadcasts reach top-level windows only.
    window_ = ::CreateWindowExA(0, kClassName, "Skype stand-in", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                200, 100, nullptr, nullptr, instance, this);
    return window_ != nullptr && attachMessage_ != 0 && discoverMessage_ != 0;
}

int StandinWindow::run()
{
    const HANDLE command = channel_.commandEvent();
    for (;;) {
        const DWORD woke = ::MsgWaitForMultipleObjects(1, &command, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            executeQueued();
            continue;
        }
        if (woke != WAIT_OBJECT_0 + 1)
            return 1;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return static_cast<int>(msg.wParam);
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

LRESULT CALLBACK StandinWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<StandinWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && self->window_ == hwnd) {
        try {
            return self->onMessage(message, wParam, lParam);
        } catch (...) {
            return 0;
        }
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT StandinWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA)
        return onCopyData(reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    if (message == discoverMessage_) {
        onDiscover(reinterpret_cast<HWND>(wParam), ::InSendMessage() != FALSE);
        return 1;
    }
    if (message == kFlushPending) {
        flushPending();
        return 0;
    }
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT StandinWindow::onCopyData(HWND from, const COPYDATASTRUCT* cds)
{
    const void* bytes = cds ? cds->lpData : nullptr;
    const std::uint32_t size = cds && cds->lpData ? cds->cbData : 0;
    const bool taken = attached_ != nullptr && from == attached_;
    record(RecordKind::Command, from, taken ? 1 : 0, taken ? 1 : 0, taken && silent_ ? flags::kUnanswered : 0, bytes,
           size);
    if (!taken)
        return 0;
    if (silent_)
        return 1;
    const char* text = static_cast<const char*>(bytes);
    const void* nul = size ? std::memchr(text, 0, size) : nullptr;
    const std::string line = size ? std::string(text, nul ? static_cast<const char*>(nul) - text : size) : "";
    answer(model_.command(line));
    return 1;
}

void StandinWindow::onDiscover(HWND client, bool sent)
{
    record(RecordKind::Discover, client, 0, 0, sent ? flags::kSent : 0);
    if (silent_ || !::IsWindow(client))
        return;
    lastDiscoverer_ = client;
    switch (attachMode_) {
    case AttachMode::Success:
        // Taken before the reply goes out: the client answers an attach with
        // commands sent from inside its handler.
        attached_ = client;
        sendAttach(client, 0, window_);
        break;
    case AttachMode::Pending: sendAttach(client, 1, window_); break;
    case AttachMode::Refused: sendAttach(client, 2, window_); break;
    case AttachMode::NotAvailable: sendAttach(client, 3, window_); break;
    case AttachMode::AvailableFirst:
        attachMode_ = AttachMode::Success;
        broadcastAvailable();
        break;
    }
}

void StandinWindow::answer(std::vector<std::string> lines)
{
    if (nested_) {
        for (const auto& line : lines)
            sendLine(line, flags::kNested);
        return;
    }
    if (lines.empty())
        return;
    pending_.insert(pending_.end(), lines.begin(), lines.end());
    ::PostMessageA(window_, kFlushPending, 0, 0);
}

void StandinWindow::flushPending()
{
    std::vector<std::string> lines;
    lines.swap(pending_);
    for (const auto& line : lines)
        sendLine(line, 0);
}

void StandinWindow::sendLine(const std::string& text, std::uint32_t flagBits)
{
    HWND to = attached_;
    const bool terminated = (flagBits & flags::kUnterminated) == 0;
    const DWORD size = static_cast<DWORD>(text.size() + (terminated ? 1 : 0));
    COPYDATASTRUCT cds{0, size, const_cast<char*>(text.c_str())};
    DWORD_PTR result = 0;
    const bool sent = ::SendMessageTimeoutA(to, WM_COPYDATA, reinterpret_cast<WPARAM>(window_),
                                            reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, kSendTimeoutMs, &result);
    record(RecordKind::Notification, to, 0, sent ? static_cast<std::int64_t>(result) : -1, flagBits, text.c_str(),
           size);
}

void StandinWindow::sendAttach(HWND to, LPARAM status, HWND apiWindow)
{
    DWORD_PTR result = 0;
    const bool sent = ::SendMessageTimeoutA(to, attachMessage_, reinterpret_cast<WPARAM>(apiWindow), status,
                                            SMTO_NORMAL, kSendTimeoutMs, &result);
    record(RecordKind::Attach, to, static_cast<std::uint64_t>(status), sent ? static_cast<std::int64_t>(result) : -1,
           0);
}

void StandinWindow::broadcastAvailable()
{
    // Posted: a broadcast must not wait for every window of the desktop.
    const BOOL posted =
        ::PostMessageA(HWND_BROADCAST, attachMessage_, reinterpret_cast<WPARAM>(window_), kApiAvailable);
    record(RecordKind::Attach, nullptr, static_cast<std::uint64_t>(kApiAvailable), posted, 0);
}

bool StandinWindow::notifyClient(const std::vector<std::string>& lines)
{
    if (!attached_ || silent_)
        return false;
    for (const auto& line : lines)
        sendLine(line, 0);
    return true;
}

void StandinWindow::executeQueued()
{
    for (;;) {
        ScriptLine line{};
        const bool have = channel_.locked([&](SharedBlock& b) {
            if (b.scriptHead == b.scriptTail)
                return false;
            line = b.script[b.scriptHead % kScriptCapacity];
            ++b.scriptHead;
            return true;
        });
        if (!have)
            return;
        line.text[kLineCapacity - 1] = '\0';
        const std::string text = line.text;
        DWORD hangMs = 0;
        const bool ok = execute(text, hangMs);
        record(RecordKind::Script, nullptr, line.seq, ok ? 1 : 0, 0, text.data(),
               static_cast<std::uint32_t>(text.size()));
        if (hangMs)
            ::Sleep(hangMs); // after the record, so that the driver sees the line done
    }
}

bool StandinWindow::execute(const std::string& line, DWORD& hangMs)
{
    std::string verb, rest;
    splitVerb(line, verb, rest);
    const auto args = words(rest);

    if (verb == "notify")
        return notifyClient({rest});
    if (verb == "notify-unterminated") {
        if (!attached_ || silent_)
            return false;
        sendLine(rest, flags::kUnterminated);
        return true;
    }
    if (verb == "attach-mode" && args.size() == 1) {
        static const std::pair<const char*, AttachMode> kModes[] = {
            {"success", AttachMode::Success},
            {"pending", AttachMode::Pending},
            {"refused", AttachMode::Refused},
            {"not-available", AttachMode::NotAvailable},
            {"available-first", AttachMode::AvailableFirst},
        };
        for (const auto& [name, mode] : kModes) {
            if (args[0] == name) {
                attachMode_ = mode;
                return true;
            }
        }
        return false;
    }
    if (verb == "become-available" && args.empty()) {
        attachMode_ = AttachMode::Success;
        broadcastAvailable();
        return true;
    }
    if (verb == "attach" && (args.size() == 1 || args.size() == 2)) {
        unsigned long long status = 0, window = 0;
        if (!parseNumber(args[0], status) || (args.size() == 2 && !parseNumber(args[1], window)))
            return false;
        HWND to = attached_ ? attached_ : lastDiscoverer_;
        if (!to)
            return false;
        HWND apiWindow = args.size() == 2 ? reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)) : window_;
        if (status == 0)
            attached_ = to;
        sendAttach(to, static_cast<LPARAM>(status), apiWindow);
        return true;
    }
    if (verb == "delivery" && args.size() == 1) {
        if (args[0] != "nested" && args[0] != "after-return")
            return false;
        nested_ = args[0] == "nested";
        return true;
    }
    if (verb == "echo" && args.size() == 2) {
        if (args[0] == "dtmf")
            return parseSwitch(args[1], model_.options.echoDtmf);
        if (args[0] == "buttons")
            return parseSwitch(args[1], model_.options.echoButtons);
        return false;
    }
    if (verb == "empty-calls" && args.size() == 1) {
        if (args[0] != "blank" && args[0] != "bare")
            return false;
        model_.options.blankEmptyCalls = args[0] == "blank";
        return true;
    }
    if (verb == "duplicate-status" && args.size() == 1)
        return parseSwitch(args[0], model_.options.duplicateStatus);
    if (verb == "silent" && args.empty()) {
        silent_ = true;
        return true;
    }
    if (verb == "back" && args.empty()) {
        silent_ = false;
        return true;
    }
    if ((verb == "incoming" || verb == "outgoing") && (args.size() == 1 || args.size() == 2)) {
        if (!attached_ || silent_)
            return false;
        const bool incoming = verb == "incoming";
        const std::string type = args.size() == 2 ? args[1] : (incoming ? "INCOMING_P2P" : "OUTGOING_P2P");
        const auto lines = model_.newCall(args[0], type, incoming ? "RINGING" : "ROUTING");
        return lines && notifyClient(*lines);
    }
    if (verb == "status" && args.size() == 2) {
        if (!attached_ || silent_)
            return false;
        const auto lines = model_.changeStatus(args[0], args[1]);
        return lines && notifyClient(*lines);
    }
    if (verb == "userstatus" && args.size() == 1)
        return notifyClient(model_.setUserStatus(args[0]));
    if (verb == "handle" && args.size() == 1)
        return notifyClient(model_.setHandle(args[0]));
    if (verb == "hang" && args.size() == 1) {
        unsigned long long ms = 0;
        if (!parseNumber(args[0], ms) || ms > 60000)
            return false;
        hangMs = static_cast<DWORD>(ms);
        return true;
    }
    return false;
}

void StandinWindow::record(RecordKind kind, HWND window, std::uint64_t value, std::int64_t result,
                           std::uint32_t flagBits, const void* text, std::uint32_t size)
{
    channel_.locked([&](SharedBlock& b) {
        Channel::append(b, kind, handleValue(window), value, result, flagBits, text, size);
        return 0;
    });
}

} // namespace skype_standin
