#pragma once
// Ownership of a Win32 mutex for one scope. An abandoned mutex (its last owner
// died holding it) counts as owned: the waiter really owns it then.

#include <windows.h>

namespace platform::win {

class MutexOwnership {
public:
    MutexOwnership(HANDLE mutex, DWORD timeoutMs) noexcept;
    ~MutexOwnership();

    MutexOwnership(const MutexOwnership&) = delete;
    MutexOwnership& operator=(const MutexOwnership&) = delete;

    bool owned() const noexcept { return owned_; }
    explicit operator bool() const noexcept { return owned_; }
    void release() noexcept;

private:
    HANDLE mutex_;
    bool owned_ = false;
};

// True when the wait ended with ownership (signalled or abandoned).
bool waitOwned(HANDLE mutex, DWORD timeoutMs) noexcept;

} // namespace platform::win
