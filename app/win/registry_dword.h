#pragma once
// One DWORD value in the registry, read and written as a whole. Failures are
// silent: a failed read answers the default, a failed write keeps the old value.

#include <windows.h>

#include <string>

namespace app::win {

class RegistryDword {
public:
    // Splits the full path into subkey and value name, then reads once.
    RegistryDword(const std::string& fullPath, DWORD defaultValue, bool alwaysWrite, HKEY root);

    DWORD read();
    void set(DWORD value); // writes when the value changes, or always with alwaysWrite
    void write();

    DWORD value() const { return value_; }
    bool ok() const { return ok_; }

private:
    HKEY root_;
    std::string valueName_;
    std::string subkey_;
    DWORD value_ = 0;
    DWORD default_;
    bool ok_ = false;
    bool alwaysWrite_;
};

} // namespace app::win
