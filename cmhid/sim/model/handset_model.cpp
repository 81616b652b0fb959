#include "handset_model.h"

namespace simhandset {

namespace {

constexpr std::uint32_t kGpioMask = 0x0F; // the CM108 has four GPIO pins
constexpr std::uint32_t kHostPins = 0x0C;

void takeCommand(ModelState& s)
{
    const std::uint32_t value = s.eeprom[kCommandWord];
    s.lastCommand = value;
    ++s.commandsTaken;
    if (value == 0x0010)
        s.ringer = 0;
    else if (value == 0x0011)
        s.ringer = 1;
    else if (value >= 0x0020 && value <= 0x0023)
        s.ledValue = value;
    else if (value >= 0x0028 && value <= 0x002B)
        s.led2Value = value;
    // 0x0030 (host arrived) and 0x0200 (host alive) change nothing visible.
}

std::vector<Notification> announce(ModelState& s, std::uint16_t scan)
{
    s.eeprom[kKeyReportWord] = scan;
    s.keyReport = static_cast<std::uint32_t>(KeyReport::Announced);
    return {{Notice::Gpio, kKeyWaitingPins}};
}

void clearKeys(ModelState& s)
{
    s.keyReport = static_cast<std::uint32_t>(KeyReport::None);
    s.keyQueueHead = s.keyQueueTail = 0;
}

} // namespace

ModelState initialState()
{
    ModelState s{};
    s.handshake = static_cast<std::uint32_t>(Handshake::Idle);
    return s;
}

int ledPattern(std::uint32_t value)
{
    switch (value & 0xFFF7) { // 0x28..0x2B fold onto 0x20..0x23
    case 0x21: return 1;
    case 0x20: return 2;
    case 0x23: return 3;
    case 0x22: return 4;
    default: return 0;
    }
}

PinResult setGpio(ModelState& s, std::uint8_t levels, std::uint8_t selection)
{
    PinResult r;
    if (!s.plugged)
        return r;
    r.ok = true;
    const std::uint32_t sel = selection & kGpioMask;
    s.pinLevels = (s.pinLevels & ~sel) | (levels & sel);

    const std::uint32_t host = s.pinLevels & kHostPins;
    auto phase = static_cast<Handshake>(s.handshake);
    switch (host) {
    case 0x08:
        phase = Handshake::Started;
        break;
    case 0x04:
        if (phase == Handshake::Written) {
            takeCommand(s);
            r.commandTaken = true;
        }
        phase = Handshake::Strobed;
        break;
    case 0x0C:
        // Both pins high: the host reads the key report. The controller drops
        // its line, and the pins then read high, which asks for their release.
        phase = Handshake::Idle;
        if (static_cast<KeyReport>(s.keyReport) == KeyReport::Announced) {
            s.keyReport = static_cast<std::uint32_t>(KeyReport::Read);
            r.notifications.push_back({Notice::Gpio, kPinsHighState});
        }
        break;
    default:
        phase = Handshake::Idle;
        if (host == 0x00 && static_cast<KeyReport>(s.keyReport) == KeyReport::Read) {
            s.keyReport = static_cast<std::uint32_t>(KeyReport::None);
            if (s.keyQueueHead != s.keyQueueTail) {
                const std::uint16_t next = s.keyQueue[s.keyQueueHead % kKeyQueueCapacity];
                ++s.keyQueueHead;
                r.notifications = announce(s, next);
            }
        }
        break;
    }
    s.handshake = static_cast<std::uint32_t>(phase);
    return r;
}

ReadResult readEeprom(ModelState& s, int address)
{
    if (!s.plugged || address < 0 || address >= static_cast<int>(kEepromWords))
        return {};
    if (s.failReads > 0) {
        --s.failReads;
        return {};
    }
    return {true, s.eeprom[address]};
}

bool writeEeprom(ModelState& s, int address, std::uint16_t value)
{
    if (!s.plugged || address < 0 || address >= static_cast<int>(kEepromWords))
        return false;
    s.eeprom[address] = value;
    if (address == kCommandWord && static_cast<Handshake>(s.handshake) == Handshake::Started)
        s.handshake = static_cast<std::uint32_t>(Handshake::Written);
    return true;
}

std::vector<Notification> plug(ModelState& s)
{
    if (s.plugged)
        return {};
    s.plugged = 1;
    s.pinLevels = 0;
    clearKeys(s);
    s.handshake = static_cast<std::uint32_t>(Handshake::Idle);
    return {{Notice::DeviceAdded, 0}};
}

std::vector<Notification> unplug(ModelState& s)
{
    if (!s.plugged)
        return {};
    s.plugged = 0;
    clearKeys(s);
    s.ringer = 0; // the controller loses power
    s.handshake = static_cast<std::uint32_t>(Handshake::Idle);
    return {{Notice::DeviceRemoved, 0}};
}

std::vector<Notification> scanKey(ModelState& s, std::uint16_t scan)
{
    if (!s.plugged)
        return {};
    if (static_cast<KeyReport>(s.keyReport) == KeyReport::None)
        return announce(s, scan);
    if (s.keyQueueTail - s.keyQueueHead >= kKeyQueueCapacity) {
        ++s.keysDropped;
        return {};
    }
    s.keyQueue[s.keyQueueTail % kKeyQueueCapacity] = scan;
    ++s.keyQueueTail;
    return {};
}

} // namespace simhandset
