#include <registry_path.h>

#include <gtest/gtest.h>

using app::RegistryPath;

namespace app {

void PrintTo(const RegistryPath& p, std::ostream* os)
{
    *os << "{subkey \"" << p.subkey << "\", value \"" << p.valueName << "\"}";
}

} // namespace app

TEST(RegistryPath, Splitting)
{
    struct Row {
        const char* path;
        RegistryPath expected;
    };
    const Row rows[] = {
        {"Software\\Torvel\\Subkey\\type", {"Software\\Torvel\\Subkey", "type"}},
        {"\\\\Software\\Torvel\\type", {"Software\\Torvel", "type"}},
        {"type", {"", "type"}},
        {"\\type", {"", "type"}},
        {"Software\\\\\\type", {"Software", "type"}},
        {"A\\\\B\\C", {"A\\\\B", "C"}},
        // A path ending in a backslash names the key's default value.
        {"Software\\Sub\\", {"Software\\Sub", ""}},
        {"Software\\Sub\\\\", {"Software\\Sub", ""}},
        {"\\\\\\", {"", ""}},
        {"", {"", ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(app::splitRegistryPath(row.path), row.expected);
    }
}

TEST(RegistryPath, TheSelectionValue)
{
    EXPECT_EQ(app::splitRegistryPath(app::kSelectionValuePath), (RegistryPath{"Software\\Torvel\\Subkey", "type"}));
}
