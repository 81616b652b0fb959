#include "standin_channel.h"

#include <platform/win/mutex.h>
#include <platform/win/precise_clock.h>

#include <algorithm>
#include <cstring>

namespace skype_standin {

std::optional<Channel> Channel::open(const std::string& name)
{
    Channel ch;
    ch.mutex_.reset(::CreateMutexA(nullptr, FALSE, (name + ".lock").c_str()));
    ch.commandEvent_.reset(::CreateEventA(nullptr, FALSE, FALSE, (name + ".cmd").c_str()));
    ch.readyEvent_.reset(::CreateEventA(nullptr, TRUE, FALSE, (name + ".ready").c_str()));
    if (!ch.mutex_ || !ch.commandEvent_ || !ch.readyEvent_)
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

void Channel::append(SharedBlock& b, RecordKind kind, std::uint64_t window, std::uint64_t value, std::int64_t result,
                     std::uint32_t flagBits, const void* text, std::uint32_t size)
{
    Record& r = b.records[b.recordCount % kRecordCapacity];
    const std::uint32_t kept = text ? std::min(size, kTextCapacity) : 0;
    r.ticks = platform::win::qpcTicks();
    r.kind = static_cast<std::uint32_t>(kind);
    r.flags = flagBits | (kept < size && text ? flags::kTruncated : 0);
    r.window = window;
    r.value = value;
    r.result = result;
    r.size = size;
    r.textLength = kept;
    if (kept)
        std::memcpy(r.text, text, kept);
    ++b.recordCount;
}

} // namespace skype_standin
