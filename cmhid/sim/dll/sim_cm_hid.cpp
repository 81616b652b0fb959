// CM_HID.dll, simulated-handset build. The handset's state and the record of
// every call live in the channel (channel.h); a thread of the simulator's own
// executes the driver's commands and raises every notification.

#define CMHID_BUILDING
#include <cmhid/cm_hid.h>

#include "../channel/channel.h"

#include <platform/win/thread.h>

#include <array>
#include <atomic>
#include <mutex>
#include <platform/win/sync.h>
#include <vector>

namespace simhandset {
namespace {

class Simulator {
public:
    static Simulator& instance()
    {
        static Simulator sim;
        return sim;
    }

    int start(CmHidNotify notify, const std::array<UINT, kNoticeCount>& messages, USHORT vendor, USHORT product)
    {
        Channel* ch = channel();
        if (!ch)
            return 0;
        {
            std::lock_guard<platform::win::SrwMutex> guard(lock_);
            notify_ = notify;
            messages_ = messages;
        }
        bool raiseArrival = false;
        ch->locked([&](SharedBlock& b) {
            Channel::append(b, RecordKind::StartDetection, vendor, product);
            for (std::uint32_t i = 0; i < kNoticeCount; ++i)
                Channel::append(b, RecordKind::DetectionMessage, i, messages[i]);
            b.detectionStarted = 1;
            raiseArrival = b.model.plugged != 0; // a handset already present is reported
        });
        if (raiseArrival)
            queueInternal({{Notice::DeviceAdded, 0}});
        {
            std::lock_guard<platform::win::SrwMutex> guard(lock_);
            if (!thread_)
                thread_ = platform::win::startThread([this] { run(); });
        }
        ::SetEvent(ch->commandEvent());
        return 1;
    }

    void deviceChange(WPARAM wParam, LPARAM lParam)
    {
        if (Channel* ch = channel())
            ch->locked([&](SharedBlock& b) {
                Channel::append(b, RecordKind::DeviceChange, static_cast<std::uint32_t>(wParam),
                                static_cast<std::uint32_t>(lParam));
            });
    }

    int setGpio(BYTE levels, BYTE selection)
    {
        Channel* ch = channel();
        if (!ch)
            return 0;
        PinResult r = ch->locked([&](SharedBlock& b) {
            PinResult pr = simhandset::setGpio(b.model, levels, selection);
            Channel::append(b, RecordKind::SetGpio, levels, selection, pr.ok ? 1 : 0);
            if (pr.commandTaken)
                Channel::append(b, RecordKind::CommandTaken, b.model.lastCommand, b.model.ringer, b.model.ledValue,
                                b.model.led2Value);
            return pr;
        });
        if (!r.notifications.empty())
            queueInternal(r.notifications);
        return r.ok ? 1 : 0;
    }

    int readEeprom(int address, USHORT* value)
    {
        Channel* ch = channel();
        if (!ch || !value)
            return 0;
        ReadResult r = ch->locked([&](SharedBlock& b) {
            ReadResult rr = simhandset::readEeprom(b.model, address);
            Channel::append(b, RecordKind::ReadEeprom, static_cast<std::uint32_t>(address), rr.value, rr.ok ? 1 : 0);
            return rr;
        });
        if (r.ok)
            *value = r.value;
        return r.ok ? 1 : 0;
    }

    void writeEeprom(int address, USHORT value)
    {
        if (Channel* ch = channel())
            ch->locked([&](SharedBlock& b) {
                const bool ok = simhandset::writeEeprom(b.model, address, value);
                Channel::append(b, RecordKind::WriteEeprom, static_cast<std::uint32_t>(address), value, ok ? 1 : 0);
            });
    }

private:
    Simulator() = default;

    Channel* channel()
    {
        std::lock_guard<platform::win::SrwMutex> guard(channelLock_);
        if (!channelTried_) {
            channelTried_ = true;
            channel_ = Channel::open(channelNameFromEnvironment());
        }
        return channel_ ? &*channel_ : nullptr;
    }

    // Notifications that follow from the library's own calls are raised by the
    // simulator's thread too, never from the caller's.
    void queueInternal(const std::vector<Notification>& notes)
    {
        {
            std::lock_guard<platform::win::SrwMutex> guard(lock_);
            internal_.insert(internal_.end(), notes.begin(), notes.end());
        }
        ::SetEvent(channel_->commandEvent());
    }

    void raise(const Notification& n)
    {
        CmHidNotify notify = nullptr;
        UINT message = 0;
        {
            std::lock_guard<platform::win::SrwMutex> guard(lock_);
            notify = notify_;
            message = messages_[static_cast<size_t>(n.notice)];
        }
        const BOOL answer = notify ? notify(message, n.wParam, 0) : FALSE;
        channel_->locked([&](SharedBlock& b) {
            Channel::append(b, RecordKind::Notify, static_cast<std::uint32_t>(n.notice), n.wParam,
                            static_cast<std::uint32_t>(answer), notify ? 0 : 1);
        });
    }

    std::vector<Notification> execute(SharedBlock& b, const Command& c)
    {
        Channel::append(b, RecordKind::DriverCommand, c.seq, c.kind, c.a, c.b);
        switch (static_cast<CommandKind>(c.kind)) {
        case CommandKind::Plug: return plug(b.model);
        case CommandKind::Unplug: return unplug(b.model);
        case CommandKind::Key: return scanKey(b.model, static_cast<std::uint16_t>(c.a));
        case CommandKind::Notify:
            if (c.a < kNoticeCount)
                return {{static_cast<Notice>(c.a), c.b}};
            return {};
        case CommandKind::SetWord:
            if (c.a < kEepromWords)
                b.model.eeprom[c.a] = static_cast<std::uint16_t>(c.b);
            return {};
        case CommandKind::FailReads:
            b.model.failReads = c.a;
            return {};
        }
        return {};
    }

    void run()
    {
        for (;;) {
            ::WaitForSingleObject(channel_->commandEvent(), INFINITE);
            for (bool more = true; more;) {
                std::vector<Notification> internal;
                {
                    std::lock_guard<platform::win::SrwMutex> guard(lock_);
                    internal.swap(internal_);
                }
                for (const auto& n : internal)
                    raise(n);

                std::optional<Command> command;
                std::vector<Notification> notes;
                channel_->locked([&](SharedBlock& b) {
                    if (b.commandHead != b.commandTail) {
                        command = b.commands[b.commandHead % kCommandCapacity];
                        ++b.commandHead;
                        notes = execute(b, *command);
                    }
                });
                for (const auto& n : notes)
                    raise(n);
                if (command)
                    channel_->locked([&](SharedBlock& b) { b.executedSeq = command->seq; });
                more = command.has_value() || !internal.empty();
            }
        }
    }

    platform::win::SrwMutex channelLock_;
    bool channelTried_ = false;
    std::optional<Channel> channel_;
    platform::win::UniqueHandle thread_;

    platform::win::SrwMutex lock_; // guards the callback, the messages and the internal queue
    CmHidNotify notify_ = nullptr;
    std::array<UINT, kNoticeCount> messages_{};
    std::vector<Notification> internal_;
};

} // namespace
} // namespace simhandset

using simhandset::Simulator;

extern "C" {

int WINAPI StartDeviceDetectionProc(CmHidNotify notify, UINT devAdded, UINT devRemoved, UINT keyDown, UINT keyUp,
                                    UINT volumeDown, UINT volumeUp, UINT playbackMute, UINT recordMute, UINT gpio,
                                    USHORT vendorId, USHORT productId)
{
    try {
        return Simulator::instance().start(
            notify, {devAdded, devRemoved, keyDown, keyUp, volumeDown, volumeUp, playbackMute, recordMute, gpio},
            vendorId, productId);
    } catch (...) {
        return 0;
    }
}

void WINAPI HandleUsbDeviceChange(WPARAM wParam, LPARAM lParam)
{
    try {
        Simulator::instance().deviceChange(wParam, lParam);
    } catch (...) {
    }
}

int WINAPI SetGPIOState(BYTE levels, BYTE selection)
{
    try {
        return Simulator::instance().setGpio(levels, selection);
    } catch (...) {
        return 0;
    }
}

int WINAPI ReadEEPROM(int address, USHORT* value)
{
    try {
        return Simulator::instance().readEeprom(address, value);
    } catch (...) {
        return 0;
    }
}

void WINAPI WriteEEPROM(int address, USHORT value)
{
    try {
        Simulator::instance().writeEeprom(address, value);
    } catch (...) {
    }
}

} // extern "C"
