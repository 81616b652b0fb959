#pragma once
// The control channel of the Skype stand-in (skype_standin.exe): named shared
// memory through which a test or a demo scripts the stand-in and reads back
// everything it received and sent.
//
// Objects, for a channel name N (the stand-in's "--channel N" argument, else
// "telvane-skype-standin"; the driver makes one name per instance):
//   N.shm    file mapping holding one SharedBlock
//   N.lock   mutex guarding all of it; an abandoned one is taken over
//   N.cmd    auto-reset event, set when a script line has been queued
//   N.ready  manual-reset event, set once `apiWindow` is valid
//
// Script lines are queued in `script` and executed in order on the stand-in's
// window thread; each leaves a Script record with its sequence number and
// whether it was accepted. Words are separated by single blanks:
//   attach-mode success|pending|refused|not-available|available-first
//                            answer to every discover: status 0, 1, 2 or 3;
//                            available-first broadcasts status 0x8001 for the
//                            first discover and answers 0 from then on
//   become-available         broadcast status 0x8001, then attach-mode success
//   attach <status> [<hwnd>] send an attach message with that status to the
//                            client (the attached window, else the last one that
//                            discovered); wParam the given window (decimal or
//                            0x hex), else the API window
//   delivery nested|after-return
//                            answers sent from inside the client's WM_COPYDATA
//                            send, or after it returned (posted to itself first)
//   echo dtmf|buttons on|off whether "SET CALL id DTMF d" and "BTN_*" are echoed
//   empty-calls blank|bare   no active calls answer "CALLS " or "CALLS"
//   duplicate-status on|off  every call status line is sent twice
//   silent / back            stop answering commands and discovers / answer again
//   incoming <id> [<type>]   new call (INCOMING_P2P), status RINGING, notified
//   outgoing <id> [<type>]   new call (OUTGOING_P2P), status ROUTING, notified
//   status <id> <status>     a known call changes status, notified
//   userstatus <status>      "USERSTATUS <status>", remembered for GET
//   handle <name>            "CURRENTUSERHANDLE <name>", remembered for GET
//   notify <text>            the text as one line to the client
//   notify-unterminated <text>  the same without the NUL: cbData = its length
//   hang <ms>                the window thread stops taking messages that long
//
// Times are QueryPerformanceCounter ticks, comparable across processes.

#include <platform/win/handles.h>
#include <platform/win/shared_block.h>

#include <cstdint>
#include <optional>
#include <string>

namespace skype_standin {

enum class RecordKind : std::uint32_t {
    Command = 1,  // WM_COPYDATA to the API window. window: wParam (the sender); value: 1 taken, 0 refused;
                  // flags: Unanswered when silent; size: cbData; text: the bytes carried (NUL included)
    Discover,     // window: wParam; flags: Sent when it came by SendMessage, not posted
    Attach,       // attach message. window: where to (0 for a broadcast); value: status; result: its answer
    Notification, // a line to the client. window: where to; flags: Nested, Unterminated; result: its answer
    Script,       // value: sequence number; result: 1 accepted, 0 refused; text: the line
};

namespace flags {
constexpr std::uint32_t kSent = 1;
constexpr std::uint32_t kNested = 2;
constexpr std::uint32_t kUnterminated = 4;
constexpr std::uint32_t kUnanswered = 8;
constexpr std::uint32_t kTruncated = 16; // text holds only the first kTextCapacity bytes
} // namespace flags

constexpr std::uint32_t kTextCapacity = 480;
constexpr std::uint32_t kLineCapacity = 480;
constexpr std::uint32_t kScriptCapacity = 256;
constexpr std::uint32_t kRecordCapacity = 4096;

struct Record {
    std::int64_t ticks;
    std::uint32_t kind;
    std::uint32_t flags;
    std::uint64_t window;
    std::uint64_t value;
    std::int64_t result;
    std::uint32_t size;       // bytes the event carried
    std::uint32_t textLength; // bytes kept in text
    char text[kTextCapacity];
};

struct ScriptLine {
    std::uint32_t seq;
    char text[kLineCapacity]; // NUL-terminated
};

constexpr std::uint32_t kMagic = 0x53534B54; // "TKSS"
constexpr std::uint32_t kLayoutVersion = 1;

struct SharedBlock {
    std::uint32_t magic;
    std::uint32_t version;
    std::int64_t ticksPerSecond;
    std::uint64_t apiWindow;
    std::uint32_t processId;
    std::uint32_t nextSeq;     // last sequence number handed out
    std::uint32_t scriptHead;  // next line to execute
    std::uint32_t scriptTail;  // next free slot
    std::uint64_t recordCount; // records ever appended; slot = count % capacity
    ScriptLine script[kScriptCapacity];
    Record records[kRecordCapacity];
};

constexpr const char* kDefaultChannel = "telvane-skype-standin";

class Channel {
public:
    // Creates the channel or opens the existing one; empty on failure.
    static std::optional<Channel> open(const std::string& name);

    // Runs f(SharedBlock&) under the channel's mutex.
    template <typename F>
    auto locked(F&& f)
    {
        return memory_.locked([&] { return f(*block_); });
    }

    HANDLE commandEvent() const { return commandEvent_.get(); }
    HANDLE readyEvent() const { return readyEvent_.get(); }

    // Appends under the caller's lock; text is cut at kTextCapacity bytes.
    static void append(SharedBlock& b, RecordKind kind, std::uint64_t window, std::uint64_t value,
                       std::int64_t result, std::uint32_t flagBits, const void* text, std::uint32_t size);

private:
    Channel(platform::win::NamedSharedMemory memory, platform::win::UniqueHandle commandEvent,
            platform::win::UniqueHandle readyEvent)
        : memory_(std::move(memory)), commandEvent_(std::move(commandEvent)), readyEvent_(std::move(readyEvent)),
          block_(static_cast<SharedBlock*>(memory_.data()))
    {
    }

    platform::win::NamedSharedMemory memory_;
    platform::win::UniqueHandle commandEvent_;
    platform::win::UniqueHandle readyEvent_;
    SharedBlock* block_;
};

} // namespace skype_standin
