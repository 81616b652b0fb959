// Benchmark: how long a digit pressed during a Skype call takes from the
// handset's key report (the simulated chip raising its GPIO notification) to
// the tone command arriving at Skype (the stand-in), through the real
// Quorvex.dll and telvane.exe. Prints percentiles; asserts nothing.

#include <driver.h>
#include <standin_driver.h>
#include <telvane_process.h>

#include <platform/win/precise_clock.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWaitMs = 10000;
using simhandset::Record;
using simhandset::RecordKind;

// Digits as the handset scans them, with the tone each one sends.
struct Digit {
    std::uint16_t scan;
    char tone;
};
constexpr Digit kDigits[] = {{0x00, '1'}, {0x10, '2'}, {0x20, '3'}, {0x01, '4'}, {0x11, '5'},
                             {0x21, '6'}, {0x02, '7'}, {0x12, '8'}, {0x22, '9'}, {0x13, '0'}};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const size_t at = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
    return v[at];
}

int run(int presses)
{
    auto handset = simhandset::HandsetDriver::connect();
    if (!handset)
        throw std::runtime_error("no simulated handset channel");
    wine_tests::deleteStoredSelection(); // Skype
    auto skype = skype_standin::StandinDriver::launch();
    if (!skype)
        throw std::runtime_error("the Skype stand-in did not start");
    const std::uint64_t start = handset->recordCount();
    auto telvane = wine_tests::TelvaneProcess::launch();
    if (!skype->waitCommand("PROTOCOL 5", 0, kWaitMs))
        throw std::runtime_error("Skype did not attach");
    handset->waitExecuted(handset->plug(), kWaitMs);
    auto arrival = handset->waitRecord(
        start,
        [](const Record& r) { return r.kind == static_cast<std::uint32_t>(RecordKind::CommandTaken) && r.a == 0x30; },
        kWaitMs);
    if (!arrival)
        throw std::runtime_error("no arrival command");
    platform::win::sleepPreciseMs(2000);

    // A call in progress: ringing, answered with YES.
    skype->incomingCall("7", "INCOMING_P2P");
    if (!skype->waitCommand("GET CALL 7 TYPE", 0, kWaitMs))
        throw std::runtime_error("the call was not seen");
    handset->waitExecuted(handset->key(0x30), kWaitMs);
    handset->waitExecuted(handset->key(0xB0), kWaitMs);
    const auto answered = skype->waitRecord(0, [](const skype_standin::Entry& e) {
        return e.is(skype_standin::RecordKind::Notification) && e.text() == "CALL 7 STATUS INPROGRESS";
    }, kWaitMs);
    if (!answered)
        throw std::runtime_error("the call was not answered");
    platform::win::sleepPreciseMs(1000); // the call's LED and ringer requests are over

    // Paced presses, and no polling while they run: the measurement reads the
    // timestamps afterwards, so the driver puts no load on the wineserver
    // that the path under test also goes through.
    // Both record rings are read every few dozen presses, before they wrap.
    std::uint64_t handsetFrom = handset->recordCount();
    std::uint64_t skypeFrom = skype->recordCount();
    std::vector<simhandset::IndexedRecord> handsetRecords;
    std::vector<skype_standin::Entry> skypeRecords;
    auto collect = [&] {
        for (auto& r : handset->records(handsetFrom)) {
            handsetFrom = r.index + 1;
            handsetRecords.push_back(r);
        }
        for (auto& e : skype->records(skypeFrom)) {
            skypeFrom = e.index + 1;
            skypeRecords.push_back(std::move(e));
        }
    };
    for (int i = 0; i < presses; ++i) {
        const Digit& d = kDigits[i % std::size(kDigits)];
        handset->key(d.scan);
        platform::win::sleepPreciseMs(20);
        handset->key(static_cast<std::uint16_t>(d.scan | 0x80));
        platform::win::sleepPreciseMs(20);
        if (i % 50 == 49)
            collect();
    }
    platform::win::sleepPreciseMs(500);
    collect();

    // The key reports in order, each with the ACK cycle it may have met.
    struct Press {
        double reportMs;
        bool metAck;
    };
    std::vector<Press> reports;
    DWORD ackThread = 0;
    double pending = -1;
    for (const auto& r : handsetRecords) {
        if (r.record.kind == static_cast<std::uint32_t>(RecordKind::ReadEeprom) && r.record.a == 32)
            ackThread = r.record.thread; // only the ACK worker reads the command word
        // Word 48 tells presses from releases; its read follows the report.
        if (r.record.kind == static_cast<std::uint32_t>(RecordKind::Notify) &&
            r.record.a == static_cast<std::uint32_t>(simhandset::Notice::Gpio) && r.record.b == 2)
            pending = handset->ticksToMs(r.record.ticks);
        if (r.record.kind == static_cast<std::uint32_t>(RecordKind::ReadEeprom) && r.record.a == 48 && r.record.c &&
            (r.record.b & 0x80) == 0 && pending >= 0) {
            reports.push_back({pending, false});
            pending = -1;
        }
    }
    // ACK cycles: from the worker's pins 08 to its pins 00.
    std::vector<std::pair<double, double>> acks;
    for (const auto& r : handsetRecords) {
        if (r.record.thread != ackThread || r.record.kind != static_cast<std::uint32_t>(RecordKind::SetGpio))
            continue;
        const double at = handset->ticksToMs(r.record.ticks);
        if (r.record.a == 0x08)
            acks.push_back({at, at + 1e9});
        else if (r.record.a == 0x00 && !acks.empty())
            acks.back().second = at;
    }
    std::vector<double> all, clear;
    size_t next = 0;
    for (const auto& e : skypeRecords) {
        if (!e.is(skype_standin::RecordKind::Command) || e.text().rfind("SET CALL 7 DTMF ", 0) != 0)
            continue;
        if (next >= reports.size())
            break;
        Press& p = reports[next++];
        for (const auto& a : acks)
            p.metAck |= p.reportMs < a.second && e.ms > a.first;
        const double latency = e.ms - p.reportMs;
        all.push_back(latency);
        if (!p.metAck)
            clear.push_back(latency);
    }
    if (all.size() != static_cast<size_t>(presses) || handset->state().keysDropped)
        std::printf("warning: %zu tone commands for %d presses, %u keys dropped: pace the presses slower\n",
                    all.size(), presses, handset->state().keysDropped);
    if (all.empty())
        throw std::runtime_error("no tone reached Skype");

    std::printf("key report -> tone command at Skype, %zu digits during a call:\n", all.size());
    std::printf("  all presses:          p50 %6.2f ms   p90 %6.2f ms   p99 %6.2f ms   max %6.2f ms\n",
                percentile(all, 0.50), percentile(all, 0.90), percentile(all, 0.99),
                *std::max_element(all.begin(), all.end()));
    if (!clear.empty())
        std::printf("  not meeting an ACK:   p50 %6.2f ms   p90 %6.2f ms   p99 %6.2f ms   max %6.2f ms\n",
                    percentile(clear, 0.50), percentile(clear, 0.90), percentile(clear, 0.99),
                    *std::max_element(clear.begin(), clear.end()));
    std::printf("  %zu presses met one of %zu ACK cycles (the worker holds the bus 45 ms every 4 s)\n",
                all.size() - clear.size(), acks.size());
    telvane->command(32775);
    telvane->waitExit(kWaitMs);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string channel = "telvane-bench-" + std::to_string(::GetCurrentProcessId());
    ::SetEnvironmentVariableA("TELVANE_SIMHANDSET", channel.c_str());
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    try {
        return run(presses);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
}
