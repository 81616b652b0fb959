#include "driver.h"

#include <platform/win/precise_clock.h>

#include <cstdio>

namespace simhandset {

std::optional<HandsetDriver> HandsetDriver::connect(const std::string& name)
{
    auto ch = Channel::open(name);
    if (!ch)
        return std::nullopt;
    return HandsetDriver(std::move(*ch));
}

HandsetDriver::HandsetDriver(Channel ch)
    : channel_(std::move(ch)),
      ticksPerSecond_(static_cast<double>(channel_.locked([](SharedBlock& b) { return b.ticksPerSecond; })))
{
}

std::uint32_t HandsetDriver::post(CommandKind kind, std::uint32_t a, std::uint32_t b)
{
    const std::uint32_t seq = channel_.locked([&](SharedBlock& blk) -> std::uint32_t {
        if (blk.commandTail - blk.commandHead >= kCommandCapacity)
            return 0; // queue full: the command is refused
        const std::uint32_t s = ++blk.nextSeq;
        blk.commands[blk.commandTail % kCommandCapacity] = Command{s, static_cast<std::uint32_t>(kind), a, b};
        ++blk.commandTail;
        return s;
    });
    ::SetEvent(channel_.commandEvent());
    return seq;
}

std::uint32_t HandsetDriver::plug() { return post(CommandKind::Plug); }
std::uint32_t HandsetDriver::unplug() { return post(CommandKind::Unplug); }
std::uint32_t HandsetDriver::key(std::uint16_t scan) { return post(CommandKind::Key, scan); }
std::uint32_t HandsetDriver::notify(Notice notice, std::uint32_t wParam)
{
    return post(CommandKind::Notify, static_cast<std::uint32_t>(notice), wParam);
}
std::uint32_t HandsetDriver::setWord(int address, std::uint16_t value)
{
    return post(CommandKind::SetWord, static_cast<std::uint32_t>(address), value);
}
std::uint32_t HandsetDriver::failReads(std::uint32_t count) { return post(CommandKind::FailReads, count); }

bool HandsetDriver::waitExecuted(std::uint32_t seq, std::uint32_t timeoutMs)
{
    if (seq == 0)
        return false;
    const double deadline = platform::win::qpcMs() + timeoutMs;
    for (;;) {
        // Sequence numbers only grow; compare as a distance to survive wrap-around.
        const std::uint32_t done = channel_.locked([](SharedBlock& b) { return b.executedSeq; });
        if (static_cast<std::int32_t>(done - seq) >= 0)
            return true;
        if (platform::win::qpcMs() >= deadline)
            return false;
        ::Sleep(1);
    }
}

ModelState HandsetDriver::state()
{
    return channel_.locked([](SharedBlock& b) { return b.model; });
}

std::uint64_t HandsetDriver::recordCount()
{
    return channel_.locked([](SharedBlock& b) { return b.recordCount; });
}

std::vector<IndexedRecord> HandsetDriver::records(std::uint64_t from)
{
    return channel_.locked([&](SharedBlock& b) {
        std::vector<IndexedRecord> out;
        // Records older than one ring's length are gone.
        const std::uint64_t oldest = b.recordCount > kRecordCapacity ? b.recordCount - kRecordCapacity : 0;
        for (std::uint64_t i = from < oldest ? oldest : from; i < b.recordCount; ++i)
            out.push_back({i, b.records[i % kRecordCapacity]});
        return out;
    });
}

std::optional<IndexedRecord> HandsetDriver::waitRecord(std::uint64_t from,
                                                       const std::function<bool(const Record&)>& match,
                                                       std::uint32_t timeoutMs)
{
    const double deadline = platform::win::qpcMs() + timeoutMs;
    for (;;) {
        for (const auto& r : records(from)) {
            if (match(r.record))
                return r;
            from = r.index + 1;
        }
        if (platform::win::qpcMs() >= deadline)
            return std::nullopt;
        ::Sleep(1);
    }
}

std::string describe(const Record& r)
{
    static const char* const kNotices[kNoticeCount] = {"DEV_ADDED", "DEV_REMOVED", "KEY_DOWN",
                                                      "KEY_UP",    "VOLUME_DOWN", "VOLUME_UP",
                                                      "PLAYBACK_MUTE", "RECORD_MUTE", "GPIO"};
    char text[160];
    switch (static_cast<RecordKind>(r.kind)) {
    case RecordKind::StartDetection:
        std::snprintf(text, sizeof text, "detection started (vendor %04X, product %04X)", r.a, r.b);
        break;
    case RecordKind::DetectionMessage:
        std::snprintf(text, sizeof text, "notification %s is message %#x", r.a < kNoticeCount ? kNotices[r.a] : "?",
                      r.b);
        break;
    case RecordKind::DeviceChange:
        std::snprintf(text, sizeof text, "device change %#x %#x", r.a, r.b);
        break;
    case RecordKind::SetGpio:
        std::snprintf(text, sizeof text, "pins %02X (selection %02X)%s", r.a, r.b, r.c ? "" : " failed");
        break;
    case RecordKind::ReadEeprom:
        if (r.c)
            std::snprintf(text, sizeof text, "read word %u = %04X", r.a, r.b);
        else
            std::snprintf(text, sizeof text, "read word %u failed", r.a);
        break;
    case RecordKind::WriteEeprom:
        std::snprintf(text, sizeof text, "write word %u = %04X%s", r.a, r.b, r.c ? "" : " (not accepted)");
        break;
    case RecordKind::Notify:
        std::snprintf(text, sizeof text, "notify %s wParam %u%s", r.a < kNoticeCount ? kNotices[r.a] : "?", r.b,
                      r.d ? " (no listener)" : (r.c ? "" : " (not posted)"));
        break;
    case RecordKind::CommandTaken: {
        const int led = ledPattern(r.c);
        std::snprintf(text, sizeof text, "controller took command %04X: ringer %s, LED pattern %d", r.a,
                      r.b ? "on" : "off", led);
        break;
    }
    case RecordKind::DriverCommand: {
        static const char* const kCommands[] = {"?", "plug in", "unplug", "key", "notify", "set word", "fail reads"};
        const char* name = r.b < 7 ? kCommands[r.b] : "?";
        if (static_cast<CommandKind>(r.b) == CommandKind::Key)
            std::snprintf(text, sizeof text, "handset: %s %04X", name, r.c);
        else
            std::snprintf(text, sizeof text, "handset: %s %u %u", name, r.c, r.d);
        break;
    }
    default:
        std::snprintf(text, sizeof text, "record kind %u", r.kind);
        break;
    }
    return text;
}

} // namespace simhandset
