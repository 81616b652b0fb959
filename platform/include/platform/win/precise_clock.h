#pragma once
// Real time with millisecond precision. Sleep's default granularity on Windows is
// about 15.6 ms; the waits here raise the timer resolution while they run and end
// on a performance-counter deadline, so a 10 ms wait lasts 10 ms, not 15 or 16.

#include <platform/clock.h>

#include <cstdint>

namespace platform::win {

double qpcMs();              // performance counter in milliseconds
std::int64_t qpcTicks();
std::int64_t qpcFrequency();

// Holds a 1 ms system timer resolution for its lifetime.
class TimerResolution {
public:
    TimerResolution();
    ~TimerResolution();
    TimerResolution(const TimerResolution&) = delete;
    TimerResolution& operator=(const TimerResolution&) = delete;

private:
    bool raised_;
};

void sleepPreciseMs(std::uint32_t ms);

class PreciseClock final : public Clock {
public:
    double nowMs() override { return qpcMs(); }
    void sleepMs(std::uint32_t ms) override { sleepPreciseMs(ms); }
};

} // namespace platform::win
