#include "softphone_selection.h"

namespace app {

SelectionChange selectSoftphone(const SelectionState& current, SoftphoneIndex index, bool skypeAttached)
{
    if (!isSoftphone(index))
        return {current, {}, {}, {}};
    return {{index, index}, index, menuStatusText(index, skypeAttached), toStoredValue(index)};
}

SelectionChange takeComboSelection(const SelectionState& current, int comboSelection)
{
    SelectionChange change{current, {}, {}, toStoredValue(comboSelection)};
    change.state.selectedSoftphone = comboSelection;
    if (isSoftphone(comboSelection)) {
        change.state.trayPopupIndex = comboSelection;
        change.status = comboStatusText(comboSelection);
    }
    return change;
}

SelectionChange followComboSelection(const SelectionState& current, int comboSelection)
{
    SelectionChange change{current, {}, {}, {}};
    change.state.selectedSoftphone = comboSelection;
    if (isSoftphone(comboSelection))
        change.state.trayPopupIndex = comboSelection;
    return change;
}

SelectionChange restoreSelection(const SelectionState& current, std::uint32_t storedValue, bool skypeAttached)
{
    const SoftphoneIndex index = fromStoredValue(storedValue);
    if (isSoftphone(index))
        return selectSoftphone(current, index, skypeAttached);
    return {current, {}, {}, storedValue};
}

} // namespace app
