#include <key_table.h>

#include <gtest/gtest.h>

#include <map>

using quorvex::translateKeyScan;

namespace {

// Press scan value of every key; the release is the same value plus 0x80.
const std::map<int, std::uint16_t> kPressScanOfCode = {
    {1, 0x00},  {2, 0x01},  {3, 0x02},  {4, 0x03},  {5, 0x10},  {6, 0x11},  {7, 0x12},
    {8, 0x13},  {9, 0x20},  {10, 0x21}, {11, 0x22}, {12, 0x23}, {13, 0x30}, {14, 0x31},
    {15, 0x32}, {16, 0x33}, {17, 0x40}, {18, 0x41}, {19, 0x42}, {20, 0x43}, {21, 0x70},
};

} // namespace

TEST(KeyTable, EveryKeyPressAndRelease)
{
    for (const auto& [code, press] : kPressScanOfCode) {
        SCOPED_TRACE(testing::Message() << "code " << code);
        const auto down = translateKeyScan(press);
        EXPECT_EQ(down.code, code);
        EXPECT_TRUE(down.pressed);
        const auto up = translateKeyScan(static_cast<std::uint16_t>(press + 0x80));
        EXPECT_EQ(up.code, code);
        EXPECT_FALSE(up.pressed);
    }
}

TEST(KeyTable, EveryOtherWordMeansNothing)
{
    int keys = 0;
    for (unsigned v = 0; v <= 0xFFFF; ++v) {
        const auto e = translateKeyScan(static_cast<std::uint16_t>(v));
        if (e.code != 0)
            ++keys;
    }
    EXPECT_EQ(keys, 42); // 21 presses, 21 releases, nothing else

    const std::uint16_t nothing[] = {0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, // status reports
                                     0x44, 0x04, 0x14, 0x50, 0x60, 0x71, 0xF1, 0xFF,
                                     0x0100, 0x0130, 0x8000, 0xFFFF};
    for (auto v : nothing) {
        SCOPED_TRACE(testing::Message() << std::hex << v);
        EXPECT_EQ(translateKeyScan(v).code, 0);
    }
}
