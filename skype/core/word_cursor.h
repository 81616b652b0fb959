#pragma once
// Splitting of notification text into words and comma-separated items.

#include <cstddef>
#include <string>
#include <string_view>

namespace skype {

// Walks a text token by token. The text must outlive the cursor.
class WordCursor {
public:
    explicit WordCursor(std::string_view text) : text_(text) {}

    // Skips a run of delimiters, returns what follows up to the next delimiter
    // or the end, and stands one past that delimiter (the end counts as one).
    // With nothing but delimiters left: an empty token, and position() -1 from
    // then on.
    std::string next(std::string_view delimiters);
    std::string nextWord() { return next(" "); }
    std::string nextItem() { return next(","); }

    std::ptrdiff_t position() const { return position_; }

private:
    std::string_view text_;
    std::ptrdiff_t position_ = 0;
};

// The decimal number a token starts with: leading white space and one sign
// are allowed, reading stops at the first other character. No digit gives 0;
// values beyond int saturate. Never throws.
int leadingNumber(std::string_view token);

} // namespace skype
