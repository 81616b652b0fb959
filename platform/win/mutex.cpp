#include <platform/win/mutex.h>

namespace platform::win {

bool waitOwned(HANDLE mutex, DWORD timeoutMs) noexcept
{
    if (!mutex)
        return false;
    const DWORD r = ::WaitForSingleObject(mutex, timeoutMs);
    return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

MutexOwnership::MutexOwnership(HANDLE mutex, DWORD timeoutMs) noexcept
    : mutex_(mutex), owned_(waitOwned(mutex, timeoutMs))
{
}

MutexOwnership::~MutexOwnership() { release(); }

void MutexOwnership::release() noexcept
{
    if (owned_) {
        ::ReleaseMutex(mutex_);
        owned_ = false;
    }
}

} // namespace platform::win
