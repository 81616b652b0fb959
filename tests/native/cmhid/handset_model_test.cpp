#include <handset_model.h>

#include <gtest/gtest.h>

using namespace simhandset;

namespace {

ModelState plugged()
{
    ModelState s = initialState();
    plug(s);
    return s;
}

// The host side of a command transaction, as the library performs it.
bool sendCommand(ModelState& s, std::uint16_t value, bool write = true)
{
    setGpio(s, 0x08, 0x0C);
    if (write)
        writeEeprom(s, kCommandWord, value);
    const bool taken = setGpio(s, 0x04, 0x0C).commandTaken;
    setGpio(s, 0x00, 0x0C);
    return taken;
}

} // namespace

TEST(HandsetModel, ControllerTakesACommandOnlyFromAWholeHandshake)
{
    ModelState s = plugged();
    EXPECT_TRUE(sendCommand(s, 0x0011));
    EXPECT_EQ(s.ringer, 1u);
    EXPECT_EQ(s.lastCommand, 0x0011u);

    // Strobe without a write since the start: nothing taken (an ACK that found 0x0200).
    EXPECT_FALSE(sendCommand(s, 0x0010, false));
    EXPECT_EQ(s.ringer, 1u);

    // A write outside a handshake is only stored.
    writeEeprom(s, kCommandWord, 0x0010);
    EXPECT_FALSE(setGpio(s, 0x04, 0x0C).commandTaken);
    EXPECT_EQ(s.ringer, 1u);

    EXPECT_TRUE(sendCommand(s, 0x0010));
    EXPECT_EQ(s.ringer, 0u);
    EXPECT_EQ(s.commandsTaken, 2u);
}

TEST(HandsetModel, CommandValues)
{
    struct Row {
        std::uint16_t value;
        std::uint32_t ringer, led, led2;
    };
    const Row rows[] = {
        {0x0011, 1, 0, 0}, {0x0023, 0, 0x23, 0}, {0x002A, 0, 0, 0x2A}, {0x0030, 0, 0, 0}, {0x0200, 0, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        ModelState s = plugged();
        ASSERT_TRUE(sendCommand(s, row.value));
        EXPECT_EQ(s.ringer, row.ringer);
        EXPECT_EQ(s.ledValue, row.led);
        EXPECT_EQ(s.led2Value, row.led2);
    }
    EXPECT_EQ(ledPattern(0x21), 1);
    EXPECT_EQ(ledPattern(0x20), 2);
    EXPECT_EQ(ledPattern(0x23), 3);
    EXPECT_EQ(ledPattern(0x2A), 4);
    EXPECT_EQ(ledPattern(0x30), 0);
}

TEST(HandsetModel, KeyReportAndItsPinHandshake)
{
    ModelState s = plugged();
    EXPECT_EQ(scanKey(s, 0x0030), (std::vector<Notification>{{Notice::Gpio, 2}}));
    EXPECT_EQ(s.eeprom[kKeyReportWord], 0x0030);

    // The host raises both pins to read: the controller answers that they are high.
    const PinResult high = setGpio(s, 0x0C, 0x0C);
    EXPECT_EQ(high.notifications, (std::vector<Notification>{{Notice::Gpio, 12}}));
    EXPECT_EQ(readEeprom(s, kKeyReportWord).value, 0x0030);
    // Raising them again with no key waiting asks for nothing.
    EXPECT_TRUE(setGpio(s, 0x0C, 0x0C).notifications.empty());
    EXPECT_EQ(s.pinLevels, 0x0Cu);
    setGpio(s, 0x00, 0x0C);
    EXPECT_EQ(s.pinLevels, 0x00u);
}

TEST(HandsetModel, KeysPressedInQuickSuccessionWaitTheirTurn)
{
    ModelState s = plugged();
    EXPECT_EQ(scanKey(s, 0x0001).size(), 1u);
    EXPECT_TRUE(scanKey(s, 0x0081).empty()); // waits behind the first
    EXPECT_EQ(s.eeprom[kKeyReportWord], 0x0001);

    setGpio(s, 0x0C, 0x0C);
    EXPECT_TRUE(setGpio(s, 0x08, 0x0C).notifications.empty()); // a command handshake is no release
    setGpio(s, 0x0C, 0x0C);
    // The release completes the report; the next key is presented.
    EXPECT_EQ(setGpio(s, 0x00, 0x0C).notifications, (std::vector<Notification>{{Notice::Gpio, 2}}));
    EXPECT_EQ(s.eeprom[kKeyReportWord], 0x0081);

    setGpio(s, 0x0C, 0x0C);
    EXPECT_TRUE(setGpio(s, 0x00, 0x0C).notifications.empty());
    EXPECT_EQ(scanKey(s, 0x0002).size(), 1u); // nothing waits any more: at once

    unplug(s);
    plug(s);
    EXPECT_EQ(scanKey(s, 0x0003).size(), 1u); // a new arrival forgets what was pending
}

TEST(HandsetModel, UnpluggedHandsetAnswersNothing)
{
    ModelState s = initialState();
    EXPECT_FALSE(setGpio(s, 0x08, 0x0C).ok);
    EXPECT_FALSE(readEeprom(s, kCommandWord).ok);
    EXPECT_FALSE(writeEeprom(s, kCommandWord, 1));
    EXPECT_TRUE(scanKey(s, 0x00).empty());
    EXPECT_TRUE(unplug(s).empty());

    EXPECT_EQ(plug(s), (std::vector<Notification>{{Notice::DeviceAdded, 0}}));
    EXPECT_TRUE(plug(s).empty()); // already in
    sendCommand(s, 0x0011);
    EXPECT_EQ(unplug(s), (std::vector<Notification>{{Notice::DeviceRemoved, 0}}));
    EXPECT_EQ(s.ringer, 0u);
}

TEST(HandsetModel, FailingReadsAndAddresses)
{
    ModelState s = plugged();
    s.failReads = 1;
    EXPECT_FALSE(readEeprom(s, kKeyReportWord).ok);
    EXPECT_TRUE(readEeprom(s, kKeyReportWord).ok);
    EXPECT_FALSE(readEeprom(s, 64).ok);
    EXPECT_FALSE(readEeprom(s, -1).ok);
    EXPECT_FALSE(writeEeprom(s, 64, 1));
}

TEST(HandsetModel, SelectionLimitsWhichPinsChange)
{
    ModelState s = plugged();
    setGpio(s, 0x0F, 0x03);
    EXPECT_EQ(s.pinLevels, 0x03u);
    setGpio(s, 0x08, 0x0C);
    EXPECT_EQ(s.pinLevels, 0x0Bu);
}
