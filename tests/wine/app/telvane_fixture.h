#pragma once
// telvane.exe with the simulated handset and, when asked, the Skype stand-in.

#include "telvane_process.h"

#include "app_window.h"

#include <driver.h>
#include <standin_driver.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace wine_tests {

constexpr DWORD kWaitMs = 10000;

using simhandset::Record;
using simhandset::RecordKind;

inline bool isTaken(const Record& r, std::uint32_t value)
{
    return r.kind == static_cast<std::uint32_t>(RecordKind::CommandTaken) && r.a == value;
}

class TelvaneFixture : public testing::Test {
protected:
    void SetUp() override;

    simhandset::HandsetDriver& handset() { return *handset_; }

    // Starts the program; with the handset plugged in, returns once keys are reported.
    std::unique_ptr<TelvaneProcess> start(bool withHandset = false);

    // Presses (or releases) a handset key and waits until the simulator raised it.
    void key(std::uint16_t scan);

    // The first command the controller takes at or after from with that value.
    std::optional<simhandset::IndexedRecord> waitCommand(std::uint64_t from, std::uint32_t value,
                                                         DWORD timeoutMs = kWaitMs);
    // Commands taken from `from` up to and with the first taking of `until`
    // (the ACK worker's 0x0200 left out).
    std::vector<std::uint32_t> commandsUntil(std::uint64_t from, std::uint32_t until);

private:
    std::optional<simhandset::HandsetDriver> handset_;
};

} // namespace wine_tests
