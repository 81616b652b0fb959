#pragma once
// Time as the decision logic sees it. Products wait for real; tests use a
// virtual clock so that second-long pauses cost nothing.

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary origin, monotonic.
    virtual double nowMs() = 0;
    // Blocks the calling thread for at least ms milliseconds.
    virtual void sleepMs(std::uint32_t ms) = 0;
};

} // namespace platform
