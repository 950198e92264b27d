#include <gtest/gtest.h>

#include <QObject>


#include "util/resourcebitmap.h"

namespace {

TEST(ResourceBitmap, LoadsOnceAndCaches)
{
    const int before = util::resourceBitmapLoads();
    const QImage* first = util::resourceBitmap("placeholder");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->width(), 16);
    const QImage* second = util::resourceBitmap("placeholder");
    EXPECT_EQ(first, second);
    EXPECT_EQ(util::resourceBitmapLoads(), before + 1);

    EXPECT_EQ(util::resourceBitmap("no-such-bitmap"), nullptr);
    EXPECT_EQ(util::resourceBitmap("no-such-bitmap"), nullptr);
    EXPECT_EQ(util::resourceBitmapLoads(), before + 1);
}

TEST(ClassName, NamesQtClasses)
{
    QObject plain;
    EXPECT_STREQ(util::className(&plain), "QObject");
    EXPECT_STREQ(util::className(nullptr), "");
}

}  // namespace
