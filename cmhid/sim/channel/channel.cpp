#include "channel.h"

#include <platform/win/precise_clock.h>


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
    platform::win::UniqueHandle commandEvent(::CreateEventA(nullptr, FALSE, FALSE, (name + ".cmd").c_str()));
    if (!commandEvent)
        return std::nullopt;
    auto memory = platform::win::NamedSharedMemory::open(name, sizeof(SharedBlock), [](void* data) {
        auto* b = static_cast<SharedBlock*>(data);
        if (b->magic == kMagic)
            return b->version == kLayoutVersion;
        b->model = initialState();
        b->ticksPerSecond = platform::win::qpcFrequency();
        b->version = kLayoutVersion;
        b->magic = kMagic;
        return true;
    });
    if (!memory)
        return std::nullopt;
    return Channel(std::move(*memory), std::move(commandEvent));
}

void Channel::append(SharedBlock& b, RecordKind kind, std::uint32_t a, std::uint32_t bb, std::uint32_t c,
                     std::uint32_t d)
{
    Record& r = b.records[b.recordCount % kRecordCapacity];
    r = Record{platform::win::qpcTicks(), static_cast<std::uint32_t>(kind), ::GetCurrentThreadId(), a, bb, c, d};
    ++b.recordCount;
}

} // namespace simhandset
