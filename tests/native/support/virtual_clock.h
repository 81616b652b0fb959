#pragma once
// A clock whose sleeps only move time forward.

#include <platform/clock.h>

namespace testing_support {

class VirtualClock final : public platform::Clock {
public:
    double nowMs() override { return now_; }
    void sleepMs(std::uint32_t ms) override { now_ += ms; }
    void advance(double ms) { now_ += ms; }

private:
    double now_ = 0;
};

} // namespace testing_support
