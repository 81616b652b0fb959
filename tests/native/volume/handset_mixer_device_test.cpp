#include <handset_mixer_device.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

using volume::findHandsetMixerDevice;

namespace {

struct Device {
    std::optional<std::string> name;  // none: the capabilities cannot be read
    bool opens = true;
};

// Records every question the lookup asks, in order.
class FakeCatalogue final : public volume::MixerCatalogue {
public:
    FakeCatalogue(std::vector<Device> devices, unsigned count) : devices_(std::move(devices)), count_(count) {}

    unsigned deviceCount() override { return count_; }

    bool productName(unsigned index, std::string& name) override
    {
        calls.push_back("caps " + std::to_string(index));
        if (index >= devices_.size() || !devices_[index].name)
            return false;
        name = *devices_[index].name;
        return true;
    }

    bool opens(unsigned index) override
    {
        calls.push_back("open " + std::to_string(index));
        return index < devices_.size() && devices_[index].opens;
    }

    std::vector<std::string> calls;

private:
    std::vector<Device> devices_;
    unsigned count_;
};

std::vector<Device> plainDevices(unsigned count)
{
    std::vector<Device> devices;
    for (unsigned i = 0; i < count; ++i)
        devices.push_back({"Speakers " + std::to_string(i)});
    return devices;
}

std::vector<std::string> capsOf(unsigned from, unsigned to)
{
    std::vector<std::string> calls;
    for (unsigned i = from; i < to; ++i)
        calls.push_back("caps " + std::to_string(i));
    return calls;
}

} // namespace

TEST(HandsetMixerLookup, Rules)
{
    std::vector<Device> twentyTwo = plainDevices(22);
    twentyTwo[5].name = "Out: USB Phone";
    twentyTwo[19].name = "In: USB Phone";
    twentyTwo[20].name = "Out: USB Late";
    twentyTwo[21].name = "In: USB Late";
    std::vector<std::string> twentyTwoCalls = capsOf(0, 6);
    twentyTwoCalls.push_back("open 5");
    for (const auto& c : capsOf(6, 20))
        twentyTwoCalls.push_back(c);
    twentyTwoCalls.push_back("open 19");

    struct Row {
        const char* name;
        std::vector<Device> devices;
        unsigned count;
        int index;
        std::string deviceName;
        std::vector<std::string> calls;
    };
    const std::vector<Row> rows = {
        {"no devices", {}, 0, -1, "", {}},
        {"the higher of two matches wins",
         {{"Out: USB Audio Device"}, {"Line In"}, {"In: Handset (USB)"}, {"Speakers"}},
         4, 2, "In: Handset (USB)",
         {"caps 0", "open 0", "caps 1", "caps 2", "open 2", "caps 3"}},
        {"lower-case usb does not match",
         {{"usb headset"}, {"Usb Phone"}},
         2, -1, "", {"caps 0", "caps 1"}},
        {"only the first 20 devices count", twentyTwo, 22, 19, "In: USB Phone", twentyTwoCalls},
        {"a count beyond the devices listed stops at 20",
         plainDevices(3), 1000, -1, "", capsOf(0, 20)},
        {"unreadable capabilities are skipped",
         {{"Out: USB A"}, {std::nullopt}, {"Speakers"}},
         3, 0, "Out: USB A", {"caps 0", "open 0", "caps 1", "caps 2"}},
        {"an open failure stops the lookup and keeps the earlier match",
         {{"Out: USB A"}, {"Out: USB B", false}, {"Out: USB C"}},
         3, 0, "Out: USB A", {"caps 0", "open 0", "caps 1", "open 1"}},
        {"an open failure without an earlier match finds nothing",
         {{"Speakers"}, {"Out: USB B", false}, {"Out: USB C"}},
         3, -1, "", {"caps 0", "caps 1", "open 1"}},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakeCatalogue mixers(row.devices, row.count);
        const auto found = findHandsetMixerDevice(mixers);
        EXPECT_EQ(found.mixerDeviceIndex, row.index);
        EXPECT_EQ(found.deviceName, row.deviceName);
        EXPECT_EQ(mixers.calls, row.calls);
    }
}

TEST(FieldText, EndsAtTheTerminatorOrBeforeTheLastByte)
{
    // Bytes after the field would be read by a search for a terminator.
    struct Caps {
        char szPname[32];
        char after[8];
    };
    Caps full{};
    std::fill(std::begin(full.szPname), std::end(full.szPname), 'U');
    std::fill(std::begin(full.after), std::end(full.after), 'X');
    EXPECT_EQ(volume::fieldText(full.szPname, sizeof full.szPname), std::string(31, 'U'));

    const char terminated[32] = "Out: USB Audio Device";
    EXPECT_EQ(volume::fieldText(terminated, sizeof terminated), "Out: USB Audio Device");
    const char empty[32] = "";
    EXPECT_EQ(volume::fieldText(empty, sizeof empty), "");
}
