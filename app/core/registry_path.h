#pragma once
// Splitting a "key\...\value" path into the subkey and the value name that the
// registry calls take separately.

#include <string>
#include <string_view>

namespace app {

// Where the selected softphone is kept, under HKEY_CURRENT_USER.
constexpr std::string_view kSelectionValuePath = "Software\\Torvel\\Subkey\\type";

struct RegistryPath {
    std::string subkey;
    std::string valueName;

    friend bool operator==(const RegistryPath& a, const RegistryPath& b)
    {
        return a.subkey == b.subkey && a.valueName == b.valueName;
    }
};

// The subkey is everything before the last backslash (empty without one), the
// value name what follows it (the whole path without one). Backslashes are
// dropped from the start of the path, the end of the subkey and both ends of the
// value name, so a path ending in a backslash names the key's default value.
RegistryPath splitRegistryPath(std::string_view fullPath);

} // namespace app
