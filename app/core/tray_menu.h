#pragma once
// The tray menu's command identifiers and what each one selects.

#include "softphone_index.h"

#include <optional>

namespace app {

constexpr int kTrayPopupCount = 6;
// Six softphones, then Close; the separator has no command.
constexpr int kTrayPopupCommandCount = kSoftphoneCount + 1;

// Command of item `item` (0..5 softphones, 6 Close) of popup `popup`; 0 outside the menu.
unsigned trayMenuCommand(int popup, int item);

// The softphone a command selects, whichever popup it came from.
std::optional<SoftphoneIndex> softphoneForCommand(unsigned command);

bool isCloseCommand(unsigned command);

} // namespace app
