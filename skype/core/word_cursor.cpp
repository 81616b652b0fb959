#include "word_cursor.h"

#include <climits>

namespace skype {

std::string WordCursor::next(std::string_view delimiters)
{
    const auto size = static_cast<std::ptrdiff_t>(text_.size());
    if (position_ < 0 || position_ >= size) {
        position_ = -1;
        return {};
    }
    const auto start = text_.find_first_not_of(delimiters, static_cast<std::size_t>(position_));
    if (start == std::string_view::npos) {
        position_ = -1;
        return {};
    }
    auto end = text_.find_first_of(delimiters, start);
    if (end == std::string_view::npos)
        end = text_.size();
    position_ = static_cast<std::ptrdiff_t>(end) + 1;
    return std::string(text_.substr(start, end - start));
}

int leadingNumber(std::string_view token)
{
    std::size_t i = 0;
    while (i < token.size() && (token[i] == ' ' || (token[i] >= '\t' && token[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-'))
        negative = token[i++] == '-';
    // Accumulated as a negative value, whose range includes INT_MIN.
    int value = 0;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
        const int digit = token[i] - '0';
        if (value < (INT_MIN + digit) / 10)
            return negative ? INT_MIN : INT_MAX;
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    return value == INT_MIN ? INT_MAX : -value;
}

} // namespace skype
