#pragma once
// A lock for data shared between threads of one process. (The win32 thread
// model of this toolchain has no std::mutex.) Usable with std::lock_guard.

#include <windows.h>

namespace platform::win {

class SrwMutex {
public:
    SrwMutex() = default;
    SrwMutex(const SrwMutex&) = delete;
    SrwMutex& operator=(const SrwMutex&) = delete;

    void lock() noexcept { ::AcquireSRWLockExclusive(&lock_); }
    void unlock() noexcept { ::ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

} // namespace platform::win
