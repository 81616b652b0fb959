#include "text.h"

namespace skype {

namespace {

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

} // namespace

std::string trimmed(std::string_view text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && isWhite(text[begin]))
        ++begin;
    while (end > begin && isWhite(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

} // namespace skype
