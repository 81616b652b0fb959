#include <copy_data_text.h>
#include <word_cursor.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

struct Step {
    std::string token;
    std::ptrdiff_t position;
    friend bool operator==(const Step& a, const Step& b) { return a.token == b.token && a.position == b.position; }
    friend std::ostream& operator<<(std::ostream& os, const Step& s)
    {
        return os << "\"" << s.token << "\"@" << s.position;
    }
};

// Tokens until the cursor gives up, and one call after that.
std::vector<Step> walk(std::string_view text, std::string_view delimiters)
{
    skype::WordCursor cursor(text);
    std::vector<Step> steps;
    for (int guard = 0; guard < 20; ++guard) {
        std::string token = cursor.next(delimiters);
        steps.push_back({token, cursor.position()});
        if (cursor.position() < 0)
            break;
    }
    steps.push_back({cursor.next(delimiters), cursor.position()});
    return steps;
}

} // namespace

TEST(WordCursor, TokensAndPositions)
{
    struct Row {
        const char* text;
        const char* delimiters;
        std::vector<Step> steps;
    };
    const Row rows[] = {
        {"CALL 12 STATUS RINGING", " ",
         {{"CALL", 5}, {"12", 8}, {"STATUS", 15}, {"RINGING", 23}, {"", -1}, {"", -1}}},
        {"  two  blanks  ", " ", {{"two", 6}, {"blanks", 14}, {"", -1}, {"", -1}}},
        {"", " ", {{"", -1}, {"", -1}}},
        {"   ", " ", {{"", -1}, {"", -1}}},
        {"12, 13,", ",", {{"12", 3}, {" 13", 7}, {"", -1}, {"", -1}}},
        {",,a,,b", ",", {{"a", 4}, {"b", 7}, {"", -1}, {"", -1}}},
        {"tab\tis no blank", " ", {{"tab\tis", 7}, {"no", 10}, {"blank", 16}, {"", -1}, {"", -1}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(walk(row.text, row.delimiters), row.steps);
    }
}

TEST(WordCursor, WordsThenItemsOfOneText)
{
    skype::WordCursor cursor("CALLS 5, 6");
    EXPECT_EQ(cursor.nextWord(), "CALLS");
    EXPECT_EQ(cursor.position(), 6);
    EXPECT_EQ(cursor.nextItem(), "5");
    EXPECT_EQ(cursor.nextItem(), " 6");
    EXPECT_GT(cursor.position(), 0);
    EXPECT_EQ(cursor.nextItem(), "");
    EXPECT_EQ(cursor.position(), -1);
}

TEST(LeadingNumber, ReadsWithoutFailing)
{
    struct Row {
        const char* token;
        int value;
    };
    const Row rows[] = {
        {"68", 68},
        {"068", 68},
        {" \t68", 68},
        {"68abc", 68},
        {"+68", 68},
        {"-3", -3},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"- 5", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999", INT_MIN},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.token);
        EXPECT_EQ(skype::leadingNumber(row.token), row.value);
    }
}

TEST(CopyDataText, StaysWithinTheDeclaredBytes)
{
    // Bytes after the declared size are not the sender's and must not be read.
    const char buffer[] = {'P', 'I', 'N', 'G', '\0', 'X', 'Y', 'Z', '\0'};
    const char noNul[] = {'P', 'O', 'N', 'G', 'X', 'Y', 'Z', '\0'};
    struct Row {
        const char* name;
        const void* data;
        std::size_t cbData;
        std::string text;
    };
    const Row rows[] = {
        {"NUL counted in cbData", buffer, 5, "PING"},
        {"NUL in the middle", buffer, 9, "PING"},
        {"no NUL within cbData", noNul, 4, "PONG"},
        {"cbData 1, only the NUL", buffer + 4, 1, ""},
        {"cbData 0", buffer, 0, ""},
        {"null data", nullptr, 5, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(skype::copyDataText(row.data, row.cbData), row.text);
    }
}
