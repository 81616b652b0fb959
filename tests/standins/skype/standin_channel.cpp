#include "standin_channel.h"

#include <platform/win/precise_clock.h>

#include <algorithm>
#include <cstring>

namespace skype_standin {

std::optional<Channel> Channel::open(const std::string& name)
{
    platform::win::UniqueHandle commandEvent(::CreateEventA(nullptr, FALSE, FALSE, (name + ".cmd").c_str()));
    platform::win::UniqueHandle readyEvent(::CreateEventA(nullptr, TRUE, FALSE, (name + ".ready").c_str()));
    if (!commandEvent || !readyEvent)
        return std::nullopt;
    auto memory = platform::win::NamedSharedMemory::open(name, sizeof(SharedBlock), [](void* data) {
        auto* b = static_cast<SharedBlock*>(data);
        if (b->magic == kMagic)
            return b->version == kLayoutVersion;
        b->ticksPerSecond = platform::win::qpcFrequency();
        b->version = kLayoutVersion;
        b->magic = kMagic;
        return true;
    });
    if (!memory)
        return std::nullopt;
    return Channel(std::move(*memory), std::move(commandEvent), std::move(readyEvent));
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
