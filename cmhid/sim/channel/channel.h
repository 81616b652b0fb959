#pragma once
// The simulated handset's channel to the program that drives it: named shared
// memory holding the handset's state, a queue of driver commands and a
// timestamped record of every call and notification.
//
// Objects, for a channel name N (environment variable TELVANE_SIMHANDSET, else
// "telvane-simhandset"):
//   N.shm   file mapping with a SharedBlock
//   N.lock  mutex guarding all of it
//   N.cmd   auto-reset event set when a command is queued
// Times are QueryPerformanceCounter ticks, comparable across processes.

#include "../model/handset_model.h"

#include <platform/win/handles.h>
#include <platform/win/shared_block.h>

#include <cstdint>
#include <optional>
#include <string>

namespace simhandset {

enum class RecordKind : std::uint32_t {
    StartDetection = 1, // a: vendor id, b: product id
    DetectionMessage,   // a: index 0..8 of the notification, b: its message identifier
    DeviceChange,       // a: wParam, b: lParam
    SetGpio,            // a: levels, b: selection, c: result
    ReadEeprom,         // a: address, b: value, c: ok
    WriteEeprom,        // a: address, b: value, c: accepted
    Notify,             // a: Notice, b: wParam, c: callback's answer, d: 1 if no callback yet
    CommandTaken,       // a: value, b: ringer, c: LED value, d: LED2 value
    DriverCommand,      // a: sequence number, b: CommandKind, c, d: arguments
};

struct Record {
    std::int64_t ticks;
    std::uint32_t kind;
    std::uint32_t thread;
    std::uint32_t a, b, c, d;
};

enum class CommandKind : std::uint32_t {
    Plug = 1,
    Unplug,
    Key,       // a: scan value
    Notify,    // a: Notice, b: wParam (raw notification, any kind)
    SetWord,   // a: address, b: value (no notification)
    FailReads, // a: how many further reads fail
};

struct Command {
    std::uint32_t seq;
    std::uint32_t kind;
    std::uint32_t a, b;
};

constexpr std::uint32_t kMagic = 0x48534D54; // "TMSH"
constexpr std::uint32_t kLayoutVersion = 1;
constexpr std::uint32_t kCommandCapacity = 1024;
constexpr std::uint32_t kRecordCapacity = 1u << 16;

struct SharedBlock {
    std::uint32_t magic;
    std::uint32_t version;
    std::int64_t ticksPerSecond;
    ModelState model;
    std::uint32_t detectionStarted;
    std::uint32_t nextSeq;      // last sequence number handed out
    std::uint32_t executedSeq;  // last command whose notifications were raised
    std::uint32_t commandHead;  // next to execute
    std::uint32_t commandTail;  // next free slot
    std::uint64_t recordCount;  // records ever appended; slot = count % capacity
    Command commands[kCommandCapacity];
    Record records[kRecordCapacity];
};

std::string channelNameFromEnvironment();

class Channel {
public:
    // Creates the channel or opens the existing one; empty on failure.
    static std::optional<Channel> open(const std::string& name);

    // Runs f(SharedBlock&) under the channel's mutex. An abandoned mutex (its
    // owner died) is taken over.
    template <typename F>
    auto locked(F&& f)
    {
        return memory_.locked([&] { return f(*block_); });
    }

    HANDLE commandEvent() const { return commandEvent_.get(); }

    static void append(SharedBlock& b, RecordKind kind, std::uint32_t a = 0, std::uint32_t bb = 0,
                       std::uint32_t c = 0, std::uint32_t d = 0);

private:
    Channel(platform::win::NamedSharedMemory memory, platform::win::UniqueHandle commandEvent)
        : memory_(std::move(memory)), commandEvent_(std::move(commandEvent)),
          block_(static_cast<SharedBlock*>(memory_.data()))
    {
    }

    platform::win::NamedSharedMemory memory_;
    platform::win::UniqueHandle commandEvent_;
    SharedBlock* block_;
};

} // namespace simhandset
