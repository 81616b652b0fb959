#include "registry_dword.h"

#include <registry_path.h>

#include <platform/win/handles.h>

namespace app::win {

RegistryDword::RegistryDword(const std::string& fullPath, DWORD defaultValue, bool alwaysWrite, HKEY root)
    : root_(root), default_(defaultValue), alwaysWrite_(alwaysWrite)
{
    RegistryPath path = splitRegistryPath(fullPath);
    subkey_ = std::move(path.subkey);
    valueName_ = std::move(path.valueName);
    read();
}

DWORD RegistryDword::read()
{
    ok_ = false;
    platform::win::UniqueRegKey key;
    if (::RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return default_;
    // Four bytes at most: a longer value fails the read instead of overrunning.
    DWORD read = value_;
    DWORD size = sizeof read;
    if (::RegQueryValueExA(key.get(), valueName_.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size) !=
        ERROR_SUCCESS)
        return default_;
    value_ = read;
    ok_ = true;
    return value_;
}

void RegistryDword::set(DWORD value)
{
    if (value != value_ || alwaysWrite_) {
        value_ = value;
        write();
    }
}

void RegistryDword::write()
{
    ok_ = false;
    platform::win::UniqueRegKey key;
    if (::RegCreateKeyExA(root_, subkey_.c_str(), 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE, KEY_WRITE,
                          nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return;
    ok_ = ::RegSetValueExA(key.get(), valueName_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value_),
                           sizeof value_) == ERROR_SUCCESS;
}

} // namespace app::win
