#include "timeline.h"

#include <algorithm>
#include <cstdio>

namespace sessions {

void Timeline::add(double atMs, int column, std::string text)
{
    lines_.push_back({atMs - originMs_, column, std::move(text)});
}

void Timeline::addHandsetRecords(simhandset::HandsetDriver& driver,
                                 const std::vector<simhandset::IndexedRecord>& records)
{
    using simhandset::RecordKind;
    for (const auto& r : records) {
        const auto kind = static_cast<RecordKind>(r.record.kind);
        if (kind == RecordKind::DetectionMessage)
            continue;
        handset(driver.ticksToMs(r.record.ticks), simhandset::describe(r.record));
    }
}

void Timeline::print() const
{
    std::vector<Line> sorted = lines_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Line& a, const Line& b) { return a.atMs < b.atMs; });
    std::printf("%10s  %-34s %s\n", "time", "application received", "handset saw");
    std::printf("%10s  %-34s %s\n", "----", "--------------------", "-----------");
    for (const auto& l : sorted) {
        if (l.column == 2)
            std::printf("%8.1f ms  -- %s\n", l.atMs, l.text.c_str());
        else if (l.column == 0)
            std::printf("%8.1f ms  %-34s\n", l.atMs, l.text.c_str());
        else
            std::printf("%8.1f ms  %-34s %s\n", l.atMs, "", l.text.c_str());
    }
    std::fflush(stdout);
}

} // namespace sessions
