#include "quorvex_session.h"

#include <platform/win/precise_clock.h>

namespace wine_tests {

QuorvexSession::QuorvexSession(bool withVolumeIds)
    : app_({kAdded, kRemoved, kChanged, kKeyUp, kKeyDown, kVolumeA, kVolumeB}),
      driver_(simhandset::HandsetDriver::connect())
{
    if (!driver_)
        throw std::runtime_error("no simulated handset channel");
    const std::uint64_t from = driver_->recordCount();
    InitCM108Control(app_.hwnd(), app_.id(kAdded), app_.id(kRemoved), app_.id(kChanged), app_.id(kKeyUp),
                     app_.id(kKeyDown), withVolumeIds ? app_.id(kVolumeA) : 0, withVolumeIds ? app_.id(kVolumeB) : 0);
    // The control dialog has initialised once detection has started.
    if (!driver_->waitRecord(from, [](const Record& r) { return is(r, RecordKind::StartDetection); }, kWaitMs))
        throw std::runtime_error("the control dialog did not start detection");
}

void QuorvexSession::run(std::uint32_t seq)
{
    if (!driver_->waitExecuted(seq, kWaitMs))
        throw std::runtime_error("the simulated handset did not execute a command");
}

double QuorvexSession::plugIn()
{
    const size_t seen = app_.received().size();
    const std::uint64_t from = driver_->recordCount();
    run(driver_->plug());
    Received added;
    if (!app_.waitFor(kAdded, seen, kWaitMs, &added))
        throw std::runtime_error("no device-added notification");
    if (!driver_->waitRecord(from, [](const Record& r) { return isTaken(r, 0x0030); }, kWaitMs))
        throw std::runtime_error("no arrival command");
    return added.atMs;
}

void QuorvexSession::waitKeysEnabled(double arrivalMs)
{
    const double left = arrivalMs + 2000 - nowMs();
    if (left > 0)
        platform::win::sleepPreciseMs(static_cast<std::uint32_t>(left) + 1);
}

std::optional<Transaction> QuorvexSession::findTransaction(std::uint64_t from, std::uint16_t value, DWORD timeoutMs)
{
    auto write = driver_->waitRecord(from, [&](const Record& r) { return isWrite(r, 32, value); }, timeoutMs);
    if (!write)
        return std::nullopt;
    const DWORD thread = write->record.thread;
    auto low = driver_->waitRecord(
        write->index, [&](const Record& r) { return r.thread == thread && isPins(r, 0x00); }, timeoutMs);
    if (!low)
        return std::nullopt;
    Transaction t;
    t.thread = thread;
    t.writeMs = ms(write->record);
    t.lowMs = ms(low->record);
    t.lowIndex = low->index;
    for (const auto& r : driver_->records(from)) {
        if (r.index > low->index)
            break;
        if (r.record.thread != thread)
            continue;
        if (r.index < write->index && isPins(r.record, 0x08))
            t.startMs = ms(r.record);
        if (r.index > write->index && isPins(r.record, 0x04) && t.strobeMs == 0)
            t.strobeMs = ms(r.record);
    }
    return t;
}

void QuorvexSession::sync()
{
    const size_t seen = app_.received().size();
    const std::uint64_t from = driver_->recordCount();
    run(driver_->key(0x41)); // show/hide press: code 18
    Received marker;
    if (!app_.waitFor(kKeyDown, seen, kWaitMs, &marker) || marker.wParam != 18)
        throw std::runtime_error("the marker key did not arrive");
    // The key's read is followed by the release of the pins; then the control
    // thread has nothing of the marker left to do.
    auto read = driver_->waitRecord(from, [](const Record& r) { return isRead(r, 48); }, kWaitMs);
    if (!read || !driver_->waitRecord(
                     read->index, [&](const Record& r) { return r.thread == read->record.thread && isPins(r, 0); },
                     kWaitMs))
        throw std::runtime_error("the marker key's pins were not released");
}

HWND QuorvexSession::controlWindow()
{
    return findProcessWindow(::GetCurrentProcessId(), [](HWND hwnd) {
        char cls[16] = {};
        ::GetClassNameA(hwnd, cls, sizeof cls);
        return std::string(cls) == "#32770";
    });
}

std::vector<Received> QuorvexSession::receivedSince(size_t from) const
{
    auto all = app_.received();
    return std::vector<Received>(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end());
}

} // namespace wine_tests
