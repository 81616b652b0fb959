#include "link_session.h"

#include <chrono>
#include <cstring>
#include <ostream>

namespace wine_tests {

namespace {

const char* const kSendTrigger = "TEST_SEND_FROM_MAIN_WINDOW";

} // namespace

LinkSession::LinkSession() : app_({kReceive, kConnect, kSendTrigger}), skype_(skype_standin::StandinDriver::launch())
{
    sendTrigger_ = app_.id(kSendTrigger);
    app_.setHandler([this](const Received& r) { onMessage(r); });
    if (!skype_)
        ADD_FAILURE() << "the Skype stand-in did not start";
}

LinkSession::~LinkSession()
{
    skype::win::StopSkypeLink();
    if (skype_)
        skype_->end();
    app_.setHandler(nullptr);
}

void LinkSession::onMessage(const Received& r)
{
    Arrival a;
    a.wParam = r.wParam;
    a.lParam = r.lParam;
    a.atMs = r.atMs;
    if (r.name == kReceive) {
        a.what = "receive";
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(r.lParam);
        if (cds && cds->lpData) {
            const char* bytes = static_cast<const char*>(cds->lpData);
            const void* nul = std::memchr(bytes, 0, cds->cbData);
            a.cbData = cds->cbData;
            a.terminatedInside = nul != nullptr;
            a.text.assign(bytes, nul ? static_cast<const char*>(nul) - bytes : cds->cbData);
        }
    } else if (r.name == kConnect) {
        a.what = "connect";
    } else {
        std::string command;
        {
            std::lock_guard<std::mutex> lk(lock_);
            if (toSend_.empty())
                return;
            command = toSend_.front();
            toSend_.erase(toSend_.begin());
        }
        skype::win::SendSkypeCommand(command.c_str());
        a.what = "returned";
        a.text = command;
        a.atMs = nowMs();
    }
    {
        std::lock_guard<std::mutex> lk(lock_);
        arrivals_.push_back(a);
    }
    changed_.notify_all();
}

void LinkSession::start()
{
    startedMs_ = nowMs();
    skype::win::StartSkypeLink(app_.hwnd());
    const double deadline = nowMs() + kWaitMs;
    while (!skype::win::linkWindow() && nowMs() < deadline)
        ::Sleep(1);
    ASSERT_NE(skype::win::linkWindow(), nullptr) << "no link window";
}

void LinkSession::attach()
{
    ASSERT_TRUE(skype_);
    const std::uint64_t from = skype_->recordCount();
    start();
    const auto replies =
        waitSkypeRecords(RecordKind::Attach, 2, from, [](const Entry& e) { return e.value == 0; });
    ASSERT_EQ(replies.size(), 2u) << "the discovers at start were not both answered";
    ASSERT_EQ(skype::win::skypeApiWindow(), skype_->apiWindow());
}

void LinkSession::sendFromMainWindow(const std::string& command)
{
    {
        std::lock_guard<std::mutex> lk(lock_);
        toSend_.push_back(command);
    }
    ::PostMessageA(app_.hwnd(), sendTrigger_, 0, 0);
}

std::vector<Arrival> LinkSession::arrivals(size_t from) const
{
    std::lock_guard<std::mutex> lk(lock_);
    return from < arrivals_.size() ? std::vector<Arrival>(arrivals_.begin() + static_cast<std::ptrdiff_t>(from),
                                                          arrivals_.end())
                                   : std::vector<Arrival>();
}

std::vector<std::string> LinkSession::events(size_t from) const
{
    std::vector<std::string> out;
    for (const auto& a : arrivals(from))
        out.push_back(a.event());
    return out;
}

size_t LinkSession::arrivalCount() const
{
    std::lock_guard<std::mutex> lk(lock_);
    return arrivals_.size();
}

size_t LinkSession::connects() const
{
    size_t n = 0;
    for (const auto& a : arrivals())
        n += a.what == "connect";
    return n;
}

bool LinkSession::waitArrivals(size_t count, DWORD timeoutMs) const
{
    std::unique_lock<std::mutex> lk(lock_);
    return changed_.wait_for(lk, std::chrono::milliseconds(timeoutMs), [&] { return arrivals_.size() >= count; });
}

bool LinkSession::waitConnects(size_t count, DWORD timeoutMs) const
{
    std::unique_lock<std::mutex> lk(lock_);
    return changed_.wait_for(lk, std::chrono::milliseconds(timeoutMs), [&] {
        size_t n = 0;
        for (const auto& a : arrivals_)
            n += a.what == "connect";
        return n >= count;
    });
}

std::vector<Entry> LinkSession::skypeRecords(RecordKind kind, std::uint64_t from)
{
    std::vector<Entry> out;
    for (auto& e : skype_->records(from)) {
        if (e.is(kind))
            out.push_back(std::move(e));
    }
    return out;
}

std::vector<Entry> LinkSession::waitSkypeRecords(RecordKind kind, size_t count, std::uint64_t from,
                                                 const std::function<bool(const Entry&)>& match, DWORD timeoutMs)
{
    std::vector<Entry> found;
    skype_->waitRecord(
        from,
        [&](const Entry& e) {
            if (e.is(kind) && match(e))
                found.push_back(e);
            return found.size() >= count;
        },
        timeoutMs);
    return found;
}

void LinkSession::waitFirstKeepAlivePing()
{
    ASSERT_TRUE(skype_->waitCommand("PING", 0, 4000 + 2 * kWaitMs)) << "no keep-alive PING";
    const auto pong = skype_->waitRecord(
        0, [](const Entry& e) { return e.is(RecordKind::Notification) && e.text() == "PONG"; }, kWaitMs);
    ASSERT_TRUE(pong) << "the keep-alive PING was not answered";
}

HungWindow::HungWindow() : release_(::CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    HANDLE created = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, created] {
        window_ = ::CreateWindowExA(0, "STATIC", "hung", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
        ::SetEvent(created);
        ::WaitForSingleObject(release_, INFINITE); // no messages taken meanwhile
        ::DestroyWindow(window_);
    });
    ::WaitForSingleObject(created, kWaitMs);
    ::CloseHandle(created);
}

HungWindow::~HungWindow()
{
    ::SetEvent(release_);
    thread_.join();
    ::CloseHandle(release_);
}

} // namespace wine_tests

std::ostream& skype_standin::operator<<(std::ostream& out, const Entry& e) { return out << describe(e); }
