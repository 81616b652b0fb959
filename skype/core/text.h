#pragma once
// Small text helpers shared by the Skype link.

#include <string>
#include <string_view>

namespace skype {

// Without leading and trailing white space (blank, tab, line feed, vertical
// tab, form feed, carriage return).
std::string trimmed(std::string_view text);

} // namespace skype
