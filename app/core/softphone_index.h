#pragma once
// The softphones the handset can work with, their names and the status texts a
// selection writes.

#include <cstdint>
#include <string_view>

namespace app {

// Signed, as it is stored: any value outside 0..5 (in practice -1) means none.
using SoftphoneIndex = std::int32_t;

constexpr SoftphoneIndex kSkype = 0;
constexpr SoftphoneIndex kNet2Phone = 1;
constexpr SoftphoneIndex kMsnMessenger = 2;
constexpr SoftphoneIndex kSjPhone = 3;
constexpr SoftphoneIndex kXLite = 4;
constexpr SoftphoneIndex kEyeBeam = 5;
constexpr SoftphoneIndex kNoSoftphone = -1;
constexpr int kSoftphoneCount = 6;

constexpr bool isSoftphone(SoftphoneIndex index) { return index >= 0 && index < kSoftphoneCount; }

// Combo and menu text; empty outside 0..5.
std::string_view softphoneName(SoftphoneIndex index);

// Written when the softphone is chosen from the tray menu (and on restore).
std::string_view menuStatusText(SoftphoneIndex index, bool skypeAttached);

// Written when the combo list closes on it; Skype never reads as attached here.
std::string_view comboStatusText(SoftphoneIndex index);

// The registry holds the index as a DWORD, -1 as 0xFFFFFFFF.
constexpr std::uint32_t toStoredValue(SoftphoneIndex index) { return static_cast<std::uint32_t>(index); }
constexpr SoftphoneIndex fromStoredValue(std::uint32_t value) { return static_cast<SoftphoneIndex>(value); }

} // namespace app
