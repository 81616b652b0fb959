#pragma once
// A block of memory shared between processes by name, with a named mutex over
// it: "<name>.shm" and "<name>.lock". An abandoned mutex (its owner died) is
// taken over.

#include <platform/win/handles.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace platform::win {

class NamedSharedMemory {
public:
    // Creates the memory or opens the existing one. prepare runs under the lock
    // on every open, with the memory zeroed when it was just created; it
    // answers whether the contents are usable. Empty on failure.
    static std::optional<NamedSharedMemory> open(const std::string& name, std::size_t size,
                                                 const std::function<bool(void*)>& prepare);

    void* data() const { return view_.get(); }

    // Runs f() with the mutex held (at most a bounded wait, then regardless).
    template <typename F>
    auto locked(F&& f) const
    {
        Guard guard(mutex_.get());
        return f();
    }

private:
    class Guard {
    public:
        explicit Guard(HANDLE mutex);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        HANDLE mutex_;
        bool owned_;
    };

    NamedSharedMemory() = default;

    UniqueHandle mutex_;
    UniqueHandle mapping_;
    UniqueView view_;
};

} // namespace platform::win
