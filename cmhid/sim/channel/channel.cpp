#include "channel.h"

#include <platform/win/mutex.h>
#include <platform/win/precise_clock.h>

#include <vector>

namespace simhandset {

std::string channelNameFromEnvironment()
{
    char buffer[256];
    const DWORD n = ::GetEnvironmentVariableA("TELVANE_SIMHANDSET", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer)
        return std::string(buffer, n);
    return "telvane-simhandset";
}

std::optional<Channel> Channel::open(const std::string& name)
{
    Channel ch;
    ch.mutex_.reset(::CreateMutexA(nullptr, FALSE, (name + ".lock").c_str()));
    ch.commandEvent_.reset(::CreateEventA(nullptr, FALSE, FALSE, (name + ".cmd").c_str()));
    if (!ch.mutex_ || !ch.commandEvent_)
        return std::nullopt;

    // The creator initialises the block under the lock; a mapping's pages start zeroed.
    platform::win::MutexOwnership owner(ch.mutex_.get(), 5000);
    if (!owner)
        return std::nullopt;
    ch.mapping_.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           static_cast<DWORD>(sizeof(SharedBlock)), (name + ".shm").c_str()));
    if (!ch.mapping_)
        return std::nullopt;
    ch.view_.reset(::MapViewOfFile(ch.mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedBlock)));
    if (!ch.view_)
        return std::nullopt;
    ch.block_ = static_cast<SharedBlock*>(ch.view_.get());
    if (ch.block_->magic != kMagic) {
        ch.block_->model = initialState();
        ch.block_->ticksPerSecond = platform::win::qpcFrequency();
        ch.block_->version = kLayoutVersion;
        ch.block_->magic = kMagic;
    } else if (ch.block_->version != kLayoutVersion) {
        return std::nullopt;
    }
    owner.release();
    return ch;
}

Channel::Guard::Guard(Channel& ch) : ch_(ch), owned_(platform::win::waitOwned(ch.mutex_.get(), 10000)) {}

Channel::Guard::~Guard()
{
    if (owned_)
        ::ReleaseMutex(ch_.mutex_.get());
}

void Channel::append(SharedBlock& b, RecordKind kind, std::uint32_t a, std::uint32_t bb, std::uint32_t c,
                     std::uint32_t d)
{
    Record& r = b.records[b.recordCount % kRecordCapacity];
    r = Record{platform::win::qpcTicks(), static_cast<std::uint32_t>(kind), ::GetCurrentThreadId(), a, bb, c, d};
    ++b.recordCount;
}

} // namespace simhandset
