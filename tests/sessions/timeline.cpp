#include "timeline.h"

#include <algorithm>
#include <cstdio>

namespace sessions {

namespace {

// The handset's key values by name, for a readable script.
std::string keyName(std::uint32_t scan)
{
    static const char* const kKeys[] = {"1", "4", "7", "*", "2", "5", "8", "0", "3", "6", "9", "#",
                                        "YES", "NO", "SKYPE", "second hang-up", "hook switch", "show/hide",
                                        "UP", "DOWN"};
    const std::uint32_t press = scan & 0x7F;
    const bool release = (scan & 0x80) != 0;
    const std::uint32_t row = press >> 4, column = press & 0x0F;
    std::string name;
    if (scan <= 0xFF && row <= 4 && column <= 3)
        name = kKeys[row * 4 + column];
    else if (scan <= 0xFF && press == 0x70)
        name = "hook switch (second code)";
    else
        return "word " + std::to_string(scan);
    if (press == 0x40 || press == 0x70)
        return name + (release ? ": handset lifted" : ": handset put down");
    return name + (release ? " released" : " pressed");
}

} // namespace

void Timeline::add(double atMs, const char* source, std::string text)
{
    lines_.push_back({atMs - originMs_, source, std::move(text)});
}

void Timeline::addHandsetRecords(simhandset::HandsetDriver& driver,
                                 const std::vector<simhandset::IndexedRecord>& records, bool pinDetail)
{
    using simhandset::RecordKind;
    for (const auto& r : records) {
        const auto kind = static_cast<RecordKind>(r.record.kind);
        const double at = driver.ticksToMs(r.record.ticks);
        switch (kind) {
        case RecordKind::DetectionMessage:
            break;
        case RecordKind::SetGpio:
        case RecordKind::WriteEeprom:
            if (pinDetail)
                add(at, "handset", simhandset::describe(r.record));
            break;
        case RecordKind::ReadEeprom:
            if (pinDetail || (r.record.a == 48 && r.record.c))
                add(at, "handset", simhandset::describe(r.record));
            break;
        case RecordKind::Notify:
            // The pin handshake's own notifications are detail; arrivals are not.
            if (pinDetail || r.record.a != static_cast<std::uint32_t>(simhandset::Notice::Gpio))
                add(at, "handset", simhandset::describe(r.record));
            break;
        case RecordKind::DriverCommand:
            if (r.record.b == static_cast<std::uint32_t>(simhandset::CommandKind::Key))
                add(at, "handset", "the user: " + keyName(r.record.c));
            else
                add(at, "handset", simhandset::describe(r.record));
            break;
        case RecordKind::CommandTaken:
            // The ACK worker's keep-alive changes nothing the user sees.
            if (pinDetail || r.record.a != 0x0200)
                add(at, "handset", simhandset::describe(r.record));
            break;
        default:
            add(at, "handset", simhandset::describe(r.record));
            break;
        }
    }
}

void Timeline::print() const
{
    std::vector<Line> sorted = lines_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Line& a, const Line& b) { return a.atMs < b.atMs; });
    for (const auto& l : sorted) {
        if (l.source == "script")
            std::printf("\n%9.1f ms  == %s\n", l.atMs, l.text.c_str());
        else
            std::printf("%9.1f ms  %-8s %s\n", l.atMs, l.source.c_str(), l.text.c_str());
    }
    std::fflush(stdout);
}

} // namespace sessions
