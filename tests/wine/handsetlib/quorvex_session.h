#pragma once
// The real Quorvex.dll, initialised for a test application window, with the
// simulated handset behind it.

#include "app_window.h"

#include <driver.h>
#include <quorvex/quorvex.h>

#include <gtest/gtest.h>

#include <optional>

namespace wine_tests {

constexpr DWORD kWaitMs = 5000; // bound of every wait for something that must happen

inline const char* const kAdded = "PELLICOR_ADDED";
inline const char* const kRemoved = "PELLICOR_REMOVED";
inline const char* const kChanged = "PELLICOR_CHANGED";
inline const char* const kKeyUp = "KEY_UP_MESSAGE";
inline const char* const kKeyDown = "KEY_DOWN_MESSAGE";
inline const char* const kVolumeA = "TEST_VOLUME_A";
inline const char* const kVolumeB = "TEST_VOLUME_B";

using simhandset::IndexedRecord;
using simhandset::Record;
using simhandset::RecordKind;

inline bool is(const Record& r, RecordKind kind) { return r.kind == static_cast<std::uint32_t>(kind); }
inline bool isPins(const Record& r, std::uint32_t levels)
{
    return is(r, RecordKind::SetGpio) && r.a == levels && r.b == 0x0C;
}
inline bool isWrite(const Record& r, std::uint32_t address, std::uint32_t value)
{
    return is(r, RecordKind::WriteEeprom) && r.a == address && r.b == value;
}
inline bool isRead(const Record& r, std::uint32_t address) { return is(r, RecordKind::ReadEeprom) && r.a == address; }
inline bool isTaken(const Record& r, std::uint32_t value) { return is(r, RecordKind::CommandTaken) && r.a == value; }
inline bool isNotify(const Record& r, simhandset::Notice n, std::uint32_t wParam)
{
    return is(r, RecordKind::Notify) && r.a == static_cast<std::uint32_t>(n) && r.b == wParam;
}

// The pin handshake that carried one command value, located in the record.
struct Transaction {
    double startMs = 0, writeMs = 0, strobeMs = 0, lowMs = 0;
    DWORD thread = 0;
    std::uint64_t lowIndex = 0;
};

class QuorvexSession {
public:
    explicit QuorvexSession(bool withVolumeIds = false);

    simhandset::HandsetDriver& handset() { return *driver_; }
    AppWindow& app() { return app_; }

    double ms(const Record& r) const { return driver_->ticksToMs(r.ticks); }

    // Runs a driver command and waits until the simulator has raised its notifications.
    void run(std::uint32_t seq);

    // Plugs the handset in; returns when the controller has taken the arrival
    // command. The answer is when the application heard of the arrival.
    double plugIn();
    // Waits until keys are certainly reported: 2 s after that arrival.
    void waitKeysEnabled(double arrivalMs);

    // Finds the handshake that wrote value into the command word, at or after from.
    std::optional<Transaction> findTransaction(std::uint64_t from, std::uint16_t value, DWORD timeoutMs = kWaitMs);

    // Presses a key that every test treats as a marker and waits for its
    // message; everything the library sent before it has then arrived.
    void sync();

    std::vector<Received> receivedSince(size_t from) const;

    // The control dialog of this process, or null once it is gone.
    static HWND controlWindow();

private:
    AppWindow app_;
    std::optional<simhandset::HandsetDriver> driver_;
};

} // namespace wine_tests
