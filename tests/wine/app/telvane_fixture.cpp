#include "telvane_fixture.h"

#include <platform/win/precise_clock.h>

#include <stdexcept>

namespace wine_tests {

void TelvaneFixture::SetUp()
{
    auto driver = simhandset::HandsetDriver::connect();
    ASSERT_TRUE(driver);
    handset_.emplace(std::move(*driver));
}

std::unique_ptr<TelvaneProcess> TelvaneFixture::start(bool withHandset)
{
    const std::uint64_t from = handset().recordCount();
    auto p = TelvaneProcess::launch();
    // The handset library's control window is up once detection has started.
    if (!handset().waitRecord(
            from, [](const Record& r) { return r.kind == static_cast<std::uint32_t>(RecordKind::StartDetection); },
            kWaitMs))
        throw std::runtime_error("the handset library did not start");
    if (withHandset) {
        handset().waitExecuted(handset().plug(), kWaitMs);
        auto arrival = handset().waitRecord(from, [](const Record& r) { return isTaken(r, 0x0030); }, kWaitMs);
        if (!arrival)
            throw std::runtime_error("no arrival command");
        // Keys are reported from 1200 ms after the arrival on.
        const double left = handset().ticksToMs(arrival->record.ticks) + 2000 - nowMs();
        if (left > 0)
            platform::win::sleepPreciseMs(static_cast<std::uint32_t>(left));
    }
    return p;
}

void TelvaneFixture::key(std::uint16_t scan)
{
    if (!handset().waitExecuted(handset().key(scan), kWaitMs))
        throw std::runtime_error("the handset did not take a key");
}

std::optional<simhandset::IndexedRecord> TelvaneFixture::waitCommand(std::uint64_t from, std::uint32_t value,
                                                                     DWORD timeoutMs)
{
    return handset().waitRecord(from, [&](const Record& r) { return isTaken(r, value); }, timeoutMs);
}

std::vector<std::uint32_t> TelvaneFixture::commandsUntil(std::uint64_t from, std::uint32_t until)
{
    std::vector<std::uint32_t> values;
    auto end = waitCommand(from, until);
    if (!end)
        return values;
    for (const auto& r : handset().records(from)) {
        if (r.index > end->index)
            break;
        if (r.record.kind == static_cast<std::uint32_t>(RecordKind::CommandTaken) && r.record.a != 0x0200)
            values.push_back(r.record.a);
    }
    return values;
}

} // namespace wine_tests
