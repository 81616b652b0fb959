#include <platform/unique_resource.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> g_closed;

struct CountingTraits {
    using pointer = int;
    static int invalid() { return -1; }
    static void close(int v) { g_closed.push_back(v); }
};
using Owned = platform::UniqueResource<CountingTraits>;

} // namespace

TEST(UniqueResource, ClosesExactlyOnceAcrossMovesResetsAndPut)
{
    g_closed.clear();
    {
        Owned a(3);
        EXPECT_TRUE(a);
        Owned b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), 3);

        Owned c(7);
        c = std::move(b); // 7 closes, 3 moves
        EXPECT_EQ(g_closed, std::vector<int>{7});

        c.reset(9); // 3 closes
        *c.put() = 11; // 9 closes before the out-parameter is filled
        EXPECT_EQ(c.get(), 11);

        Owned d(5);
        EXPECT_EQ(d.release(), 5); // released: never closed
        Owned none;
        none.reset();
    }
    EXPECT_EQ(g_closed, (std::vector<int>{7, 3, 9, 11}));
}
