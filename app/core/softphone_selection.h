#pragma once
// Choosing the softphone: from the tray menu, from the combo box, and at start
// from the stored value. Each operation answers what the window has to change;
// the window applies it and persists through the registry.

#include "softphone_index.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace app {

struct SelectionState {
    SoftphoneIndex selectedSoftphone = kSkype;
    int trayPopupIndex = 0;

    friend bool operator==(const SelectionState& a, const SelectionState& b)
    {
        return a.selectedSoftphone == b.selectedSoftphone && a.trayPopupIndex == b.trayPopupIndex;
    }
};

// Applied in field order. Unset fields leave the window as it is.
struct SelectionChange {
    SelectionState state;
    std::optional<int> comboItem;           // item to show selected in the combo
    std::optional<std::string_view> status; // new status line text
    // Value the registry must hold afterwards; written even when it is already stored.
    std::optional<std::uint32_t> stored;
};

// Tray menu command for `index`. Anything outside 0..5 changes nothing.
SelectionChange selectSoftphone(const SelectionState& current, SoftphoneIndex index, bool skypeAttached);

// The combo list closed showing `comboSelection` (-1: nothing). Persisted even
// when nothing is selected, which leaves no softphone in effect.
SelectionChange takeComboSelection(const SelectionState& current, int comboSelection);

// The combo's edit text changed: follow its selection without persisting it.
SelectionChange followComboSelection(const SelectionState& current, int comboSelection);

// Start-up with the value read from the registry (0 when missing). A stored
// softphone is selected as from the menu; any other value selects nothing,
// keeps the current state and is written back unchanged.
SelectionChange restoreSelection(const SelectionState& current, std::uint32_t storedValue, bool skypeAttached);

} // namespace app
