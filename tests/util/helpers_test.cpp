#include <gtest/gtest.h>

#include <cstring>

#include "util/helpers.h"

namespace {

TEST(ScaleColour, ScalesEachChannel)
{
    EXPECT_EQ(util::scaleColour(0x00FF8040, 0.5, 0.5, 0.5), 0x007F4020u);
    EXPECT_EQ(util::scaleColour(0x00FF8040, 1.0, 0.0, 2.0), 0x00FF0040u);
    EXPECT_EQ(util::scaleColour(0x000000FF, 0.999, 1, 1), 0x000000FEu);
}

TEST(CopyBounded, RespectsLimitAndEnd)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    char* end = util::copyBounded(buffer, buffer + sizeof buffer, "abcdefghijk");
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_EQ(end, buffer + 7);

    const char* source = "hello world";
    end = util::copyBounded(buffer, buffer + sizeof buffer, source, source + 5);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(end, buffer + 5);

    end = util::copyBounded(buffer, nullptr, "hi");
    EXPECT_STREQ(buffer, "hi");
    EXPECT_EQ(end, buffer + 2);

    EXPECT_EQ(util::copyBounded(nullptr, nullptr, "x"), nullptr);
    EXPECT_EQ(util::copyBounded(buffer, nullptr, nullptr), buffer);
    EXPECT_STREQ(buffer, "hi") << "a null source leaves the buffer alone";
}

}  // namespace
