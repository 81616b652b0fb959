#include <platform/win/shared_block.h>

#include <platform/win/mutex.h>

namespace platform::win {

namespace {
// A holder keeps the lock for microseconds; a much longer wait means it hangs.
constexpr DWORD kLockWaitMs = 10000;
} // namespace

std::optional<NamedSharedMemory> NamedSharedMemory::open(const std::string& name, std::size_t size,
                                                         const std::function<bool(void*)>& prepare)
{
    NamedSharedMemory memory;
    memory.mutex_.reset(::CreateMutexA(nullptr, FALSE, (name + ".lock").c_str()));
    if (!memory.mutex_)
        return std::nullopt;
    // Creation and preparation under the lock, so no opener sees a half-made block.
    MutexOwnership owner(memory.mutex_.get(), kLockWaitMs);
    if (!owner)
        return std::nullopt;
    memory.mapping_.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                               static_cast<DWORD>(size), (name + ".shm").c_str()));
    if (!memory.mapping_)
        return std::nullopt;
    memory.view_.reset(::MapViewOfFile(memory.mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, size));
    if (!memory.view_ || !prepare(memory.view_.get()))
        return std::nullopt;
    owner.release();
    return memory;
}

NamedSharedMemory::Guard::Guard(HANDLE mutex) : mutex_(mutex), owned_(waitOwned(mutex, kLockWaitMs)) {}

NamedSharedMemory::Guard::~Guard()
{
    if (owned_)
        ::ReleaseMutex(mutex_);
}

} // namespace platform::win
