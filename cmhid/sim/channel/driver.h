#pragma once
// The driving side of the simulated handset: plug it in, press keys, raise any
// notification, and read back the record of what the handset saw. Works from
// any process of the same Wine prefix (or Windows session).

#include "channel.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace simhandset {

struct IndexedRecord {
    std::uint64_t index;
    Record record;
};

class HandsetDriver {
public:
    static std::optional<HandsetDriver> connect(const std::string& name = channelNameFromEnvironment());

    // Each queues one command and answers its sequence number.
    std::uint32_t plug();
    std::uint32_t unplug();
    std::uint32_t key(std::uint16_t scan);
    std::uint32_t notify(Notice notice, std::uint32_t wParam);
    std::uint32_t setWord(int address, std::uint16_t value);
    std::uint32_t failReads(std::uint32_t count);

    // True once the simulator has executed the command and raised its notifications.
    bool waitExecuted(std::uint32_t seq, std::uint32_t timeoutMs);

    ModelState state();
    std::uint64_t recordCount();
    std::vector<IndexedRecord> records(std::uint64_t from);
    // The first record at index >= from that matches, within the timeout.
    std::optional<IndexedRecord> waitRecord(std::uint64_t from, const std::function<bool(const Record&)>& match,
                                            std::uint32_t timeoutMs);

    double ticksToMs(std::int64_t ticks) const { return static_cast<double>(ticks) * 1000.0 / ticksPerSecond_; }

private:
    explicit HandsetDriver(Channel ch);
    std::uint32_t post(CommandKind kind, std::uint32_t a = 0, std::uint32_t b = 0);

    Channel channel_;
    double ticksPerSecond_;
};

// Readable name of a record, for timelines and failure messages.
std::string describe(const Record& r);

} // namespace simhandset
