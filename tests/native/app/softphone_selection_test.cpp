#include <softphone_selection.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

using app::SelectionChange;
using app::SelectionState;

namespace {

// Owned copies, so that rows can be compared and printed as a whole.
struct Change {
    SelectionState state;
    std::optional<int> comboItem;
    std::optional<std::string> status;
    std::optional<std::uint32_t> stored;

    friend bool operator==(const Change& a, const Change& b)
    {
        return a.state == b.state && a.comboItem == b.comboItem && a.status == b.status && a.stored == b.stored;
    }
    friend std::ostream& operator<<(std::ostream& os, const Change& c)
    {
        os << "{selected " << c.state.selectedSoftphone << ", popup " << c.state.trayPopupIndex << ", combo ";
        c.comboItem ? os << *c.comboItem : os << "-";
        os << ", status ";
        c.status ? os << '"' << *c.status << '"' : os << "-";
        os << ", stored ";
        c.stored ? os << "0x" << std::hex << *c.stored << std::dec : os << "-";
        return os << "}";
    }
};

Change owned(const SelectionChange& c)
{
    return {c.state, c.comboItem, c.status ? std::optional<std::string>(*c.status) : std::nullopt, c.stored};
}

// After start-up, with X-Lite chosen: the operations must start from the state they are given.
constexpr SelectionState kXLiteShown{app::kXLite, app::kXLite};

} // namespace

TEST(SoftphoneSelection, FromTheMenuSetsEverythingAndPersists)
{
    struct Row {
        app::SoftphoneIndex index;
        bool skypeAttached;
        const char* status;
    };
    const Row rows[] = {
        {0, false, "Searching For Skype"},
        {0, true, "Using Skype now"},
        {1, false, "Searching For Net2Phone"},
        {2, false, "Searching For MSN Messenger"},
        {3, true, "Searching For SJPhone"},
        {4, false, "Searching For X-Lite"}, // already selected: stored again all the same
        {5, false, "Searching For EyeBeam"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.index);
        const Change expected{{row.index, row.index}, row.index, std::string(row.status),
                              static_cast<std::uint32_t>(row.index)};
        EXPECT_EQ(owned(app::selectSoftphone(kXLiteShown, row.index, row.skypeAttached)), expected);
    }
}

TEST(SoftphoneSelection, FromTheMenuOutsideTheTableChangesNothing)
{
    for (app::SoftphoneIndex index : {-1, 6}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(owned(app::selectSoftphone(kXLiteShown, index, true)), (Change{kXLiteShown, {}, {}, {}}));
    }
}

TEST(SoftphoneSelection, ComboCloseUpPersistsEvenNothing)
{
    struct Row {
        int comboSelection;
        Change expected;
    };
    const Row rows[] = {
        // Skype from the combo never reads as attached.
        {0, {{0, 0}, {}, std::string("Searching For Skype"), 0u}},
        {3, {{3, 3}, {}, std::string("Searching For SJPhone"), 3u}},
        {5, {{5, 5}, {}, std::string("Searching For EyeBeam"), 5u}},
        // Nothing shown: no softphone in effect, the tray keeps its popup, -1 is stored.
        {-1, {{-1, app::kXLite}, {}, {}, 0xFFFFFFFFu}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comboSelection);
        EXPECT_EQ(owned(app::takeComboSelection(kXLiteShown, row.comboSelection)), row.expected);
    }
}

TEST(SoftphoneSelection, ComboEditFollowsWithoutPersisting)
{
    EXPECT_EQ(owned(app::followComboSelection(kXLiteShown, 2)), (Change{{2, 2}, {}, {}, {}}));
    EXPECT_EQ(owned(app::followComboSelection(kXLiteShown, -1)), (Change{{-1, app::kXLite}, {}, {}, {}}));
}

TEST(SoftphoneSelection, RestoreFromTheStoredValue)
{
    const SelectionState start{};
    struct Row {
        const char* name;
        std::uint32_t stored;
        bool skypeAttached;
        Change expected;
    };
    const Row rows[] = {
        {"missing reads as Skype and is created", 0, false, {{0, 0}, 0, std::string("Searching For Skype"), 0u}},
        {"Skype after attaching", 0, true, {{0, 0}, 0, std::string("Using Skype now"), 0u}},
        {"SJ Phone", 3, false, {{3, 3}, 3, std::string("Searching For SJPhone"), 3u}},
        {"eyeBeam", 5, false, {{5, 5}, 5, std::string("Searching For EyeBeam"), 5u}},
        // Skype stays in effect with nothing shown, and the value is written back unchanged.
        {"-1 after an empty close-up", 0xFFFFFFFF, false, {start, {}, {}, 0xFFFFFFFFu}},
        {"beyond the table", 6, false, {start, {}, {}, 6u}},
        {"far beyond", 0x80000000, false, {start, {}, {}, 0x80000000u}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(owned(app::restoreSelection(start, row.stored, row.skypeAttached)), row.expected);
    }
}

TEST(SoftphoneIndex, NamesInItemOrder)
{
    const char* const names[] = {"Skype", "Net2Phone", "MSN Messenger", "SJ Phone", "X-Lite", "eyeBeam"};
    for (int i = 0; i < app::kSoftphoneCount; ++i)
        EXPECT_EQ(app::softphoneName(i), names[i]);
    EXPECT_EQ(app::softphoneName(-1), "");
    EXPECT_EQ(app::softphoneName(6), "");
}
