#include "registry_path.h"

namespace app {

namespace {

std::string_view withoutLeading(std::string_view s, char c)
{
    const auto first = s.find_first_not_of(c);
    return first == std::string_view::npos ? std::string_view{} : s.substr(first);
}

std::string_view withoutTrailing(std::string_view s, char c)
{
    const auto last = s.find_last_not_of(c);
    return last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

} // namespace

RegistryPath splitRegistryPath(std::string_view fullPath)
{
    const std::string_view path = withoutLeading(fullPath, '\\');
    const auto split = path.rfind('\\');
    if (split == std::string_view::npos)
        return {std::string{}, std::string{path}};

    const std::string_view subkey = withoutTrailing(path.substr(0, split), '\\');
    const std::string_view value = withoutLeading(withoutTrailing(path.substr(split), '\\'), '\\');
    return {std::string{subkey}, std::string{value}};
}

} // namespace app
