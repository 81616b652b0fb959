#pragma once
// The driving side of the Skype stand-in: starts skype_standin.exe as a child
// that cannot outlive the driver, scripts it, and reads back what it received
// and sent. The channel and its script lines are described in standin_channel.h.

#include "standin_channel.h"

#include <platform/win/handles.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace skype_standin {

constexpr DWORD kDriverWaitMs = 5000;

struct Entry {
    std::uint64_t index = 0;
    RecordKind kind = RecordKind::Command;
    double ms = 0; // performance counter, milliseconds
    std::uint32_t flags = 0;
    HWND window = nullptr;
    std::uint64_t value = 0;
    std::int64_t result = 0;
    std::uint32_t size = 0;
    std::string bytes; // as carried; a command's NUL included

    bool is(RecordKind k) const { return kind == k; }
    // The bytes up to the first NUL.
    std::string text() const { return bytes.substr(0, bytes.find('\0')); }
};

enum class AttachMode { Success, Pending, Refused, NotAvailable, AvailableFirst };
enum class Delivery { Nested, AfterReturn };

class StandinDriver {
public:
    // Starts skype_standin.exe from the directory of the calling program, in a
    // job that ends it when the driver goes, and waits until its API window is
    // up. Null on failure.
    static std::unique_ptr<StandinDriver> launch(DWORD timeoutMs = 10000);
    ~StandinDriver();
    StandinDriver(const StandinDriver&) = delete;
    StandinDriver& operator=(const StandinDriver&) = delete;

    HWND apiWindow() const { return apiWindow_; }
    const std::string& channelName() const { return name_; }

    // One script line, carried out on the stand-in's window thread. True once
    // it is done and was accepted.
    bool run(const std::string& line, DWORD timeoutMs = kDriverWaitMs);

    bool setAttachMode(AttachMode mode);
    bool setDelivery(Delivery delivery);
    bool incomingCall(const std::string& id, const std::string& type = "INCOMING_P2P");
    bool outgoingCall(const std::string& id, const std::string& type = "OUTGOING_P2P");
    bool callStatus(const std::string& id, const std::string& status);
    bool notify(const std::string& text);
    bool goSilent() { return run("silent"); }
    bool comeBack() { return run("back"); }

    std::uint64_t recordCount();
    std::vector<Entry> records(std::uint64_t from = 0);
    // The first record at index >= from that matches, within the timeout.
    std::optional<Entry> waitRecord(std::uint64_t from, const std::function<bool(const Entry&)>& match,
                                    DWORD timeoutMs = kDriverWaitMs);
    // The first command with that text (without its NUL) at index >= from.
    std::optional<Entry> waitCommand(const std::string& text, std::uint64_t from = 0, DWORD timeoutMs = kDriverWaitMs);
    std::vector<Entry> commands(std::uint64_t from = 0);

    // WM_CLOSE, a bounded wait, then TerminateProcess. True when it ended by itself.
    bool end(DWORD timeoutMs = kDriverWaitMs);

private:
    StandinDriver(std::string name, Channel channel);

    std::string name_;
    Channel channel_;
    double ticksPerMs_ = 1;
    platform::win::UniqueHandle job_;
    platform::win::UniqueHandle process_;
    HWND apiWindow_ = nullptr;
};

// Readable form of a record, for failure messages and demo timelines.
std::string describe(const Entry& e);

} // namespace skype_standin
