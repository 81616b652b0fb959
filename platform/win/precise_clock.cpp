#include <platform/win/precise_clock.h>

#include <windows.h>
#include <mmsystem.h>

namespace platform::win {

std::int64_t qpcTicks()
{
    LARGE_INTEGER v;
    ::QueryPerformanceCounter(&v);
    return v.QuadPart;
}

std::int64_t qpcFrequency()
{
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return frequency;
}

double qpcMs() { return static_cast<double>(qpcTicks()) * 1000.0 / static_cast<double>(qpcFrequency()); }

TimerResolution::TimerResolution() : raised_(::timeBeginPeriod(1) == TIMERR_NOERROR) {}

TimerResolution::~TimerResolution()
{
    if (raised_)
        ::timeEndPeriod(1);
}

void sleepPreciseMs(std::uint32_t ms)
{
    if (ms == 0)
        return;
    TimerResolution resolution;
    const double deadline = qpcMs() + ms;
    // Sleep may end a little early or late; sleep again for what is left.
    for (double left = deadline - qpcMs(); left > 0.0; left = deadline - qpcMs()) {
        const DWORD chunk = left >= 1.0 ? static_cast<DWORD>(left) : 1;
        ::Sleep(chunk);
    }
}

} // namespace platform::win
