#include "standin_driver.h"

#include <platform/win/precise_clock.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace skype_standin {

namespace {

std::wstring besideThisProgram(const wchar_t* fileName)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    return path.substr(0, slash == std::wstring::npos ? 0 : slash + 1) + fileName;
}

std::string uniqueChannelName()
{
    static std::atomic<unsigned> counter{0};
    return std::string(kDefaultChannel) + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(++counter);
}

platform::win::UniqueHandle killOnCloseJob()
{
    platform::win::UniqueHandle job(::CreateJobObjectA(nullptr, nullptr));
    if (!job)
        return {};
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return {};
    return job;
}

} // namespace

StandinDriver::StandinDriver(std::string name, Channel channel)
    : name_(std::move(name)), channel_(std::move(channel))
{
    ticksPerMs_ = static_cast<double>(channel_.locked([](SharedBlock& b) { return b.ticksPerSecond; })) / 1000.0;
}

std::unique_ptr<StandinDriver> StandinDriver::launch(DWORD timeoutMs)
{
    const std::string name = uniqueChannelName();
    auto channel = Channel::open(name);
    const std::wstring exe = besideThisProgram(L"skype_standin.exe");
    if (!channel || exe.empty())
        return nullptr;
    std::unique_ptr<StandinDriver> driver(new StandinDriver(name, std::move(*channel)));
    driver->job_ = killOnCloseJob();
    if (!driver->job_)
        return nullptr;

    std::wstring commandLine = L"\"" + exe + L"\" --channel " + std::wstring(name.begin(), name.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                          nullptr, &startup, &info))
        return nullptr;
    driver->process_.reset(info.hProcess);
    platform::win::UniqueHandle thread(info.hThread);
    if (!::AssignProcessToJobObject(driver->job_.get(), info.hProcess)) {
        ::TerminateProcess(info.hProcess, 1);
        return nullptr;
    }
    ::ResumeThread(thread.get());

    const HANDLE waits[] = {driver->channel_.readyEvent(), driver->process_.get()};
    if (::WaitForMultipleObjects(2, waits, FALSE, timeoutMs) != WAIT_OBJECT_0)
        return nullptr; // the job ends it
    driver->apiWindow_ = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(
        driver->channel_.locked([](SharedBlock& b) { return b.apiWindow; })));
    return driver;
}

StandinDriver::~StandinDriver() { end(); }

bool StandinDriver::run(const std::string& line, DWORD timeoutMs)
{
    if (line.size() >= kLineCapacity)
        return false;
    std::uint64_t from = 0;
    const std::uint32_t seq = channel_.locked([&](SharedBlock& b) -> std::uint32_t {
        if (b.scriptTail - b.scriptHead >= kScriptCapacity)
            return 0; // queue full: the line is refused
        from = b.recordCount;
        ScriptLine& slot = b.script[b.scriptTail % kScriptCapacity];
        slot.seq = ++b.nextSeq;
        std::memcpy(slot.text, line.c_str(), line.size() + 1);
        ++b.scriptTail;
        return slot.seq;
    });
    if (seq == 0)
        return false;
    ::SetEvent(channel_.commandEvent());
    const auto done = waitRecord(
        from, [&](const Entry& e) { return e.is(RecordKind::Script) && e.value == seq; }, timeoutMs);
    return done && done->result == 1;
}

bool StandinDriver::setAttachMode(AttachMode mode)
{
    static const char* const kModes[] = {"success", "pending", "refused", "not-available", "available-first"};
    return run(std::string("attach-mode ") + kModes[static_cast<int>(mode)]);
}

bool StandinDriver::setDelivery(Delivery delivery)
{
    return run(delivery == Delivery::Nested ? "delivery nested" : "delivery after-return");
}

bool StandinDriver::incomingCall(const std::string& id, const std::string& type)
{
    return run("incoming " + id + " " + type);
}

bool StandinDriver::outgoingCall(const std::string& id, const std::string& type)
{
    return run("outgoing " + id + " " + type);
}

bool StandinDriver::callStatus(const std::string& id, const std::string& status)
{
    return run("status " + id + " " + status);
}

bool StandinDriver::notify(const std::string& text) { return run("notify " + text); }

std::uint64_t StandinDriver::recordCount()
{
    return channel_.locked([](SharedBlock& b) { return b.recordCount; });
}

std::vector<Entry> StandinDriver::records(std::uint64_t from)
{
    return channel_.locked([&](SharedBlock& b) {
        std::vector<Entry> out;
        // Records older than one ring's length are gone.
        const std::uint64_t oldest = b.recordCount > kRecordCapacity ? b.recordCount - kRecordCapacity : 0;
        for (std::uint64_t i = from < oldest ? oldest : from; i < b.recordCount; ++i) {
            const Record& r = b.records[i % kRecordCapacity];
            Entry e;
            e.index = i;
            e.kind = static_cast<RecordKind>(r.kind);
            e.ms = static_cast<double>(r.ticks) / ticksPerMs_;
            e.flags = r.flags;
            e.window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(r.window));
            e.value = r.value;
            e.result = r.result;
            e.size = r.size;
            e.bytes.assign(r.text, r.textLength < kTextCapacity ? r.textLength : kTextCapacity);
            out.push_back(std::move(e));
        }
        return out;
    });
}

std::optional<Entry> StandinDriver::waitRecord(std::uint64_t from, const std::function<bool(const Entry&)>& match,
                                               DWORD timeoutMs)
{
    const double deadline = platform::win::qpcMs() + timeoutMs;
    for (;;) {
        for (const auto& e : records(from)) {
            if (match(e))
                return e;
            from = e.index + 1;
        }
        if (platform::win::qpcMs() >= deadline)
            return std::nullopt;
        ::Sleep(2);
    }
}

std::optional<Entry> StandinDriver::waitCommand(const std::string& text, std::uint64_t from, DWORD timeoutMs)
{
    return waitRecord(
        from, [&](const Entry& e) { return e.is(RecordKind::Command) && e.text() == text; }, timeoutMs);
}

std::vector<Entry> StandinDriver::commands(std::uint64_t from)
{
    std::vector<Entry> out;
    for (auto& e : records(from)) {
        if (e.is(RecordKind::Command))
            out.push_back(std::move(e));
    }
    return out;
}

bool StandinDriver::end(DWORD timeoutMs)
{
    if (!process_)
        return true;
    if (apiWindow_)
        ::PostMessageA(apiWindow_, WM_CLOSE, 0, 0);
    const bool ended = ::WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
    if (!ended)
        ::TerminateProcess(process_.get(), 1);
    process_.reset();
    job_.reset(); // whatever is left of it goes with the job
    apiWindow_ = nullptr;
    return ended;
}

std::string describe(const Entry& e)
{
    char head[96];
    static const char* const kKinds[] = {"?", "command", "discover", "attach", "notification", "script"};
    const unsigned kind = static_cast<unsigned>(e.kind);
    std::snprintf(head, sizeof head, "#%llu %.1f ms %s window %p value %llu result %lld size %u flags %x: ",
                  static_cast<unsigned long long>(e.index), e.ms, kind < 6 ? kKinds[kind] : "?",
                  static_cast<void*>(e.window), static_cast<unsigned long long>(e.value),
                  static_cast<long long>(e.result), e.size, e.flags);
    return head + e.text();
}

} // namespace skype_standin
