#include "platform/gui/PairPlacement.h"

#include <gtest/gtest.h>

namespace {

// The reminder's two windows at the normal scale, and their frames as a window manager draws
// them: borders of 4 pixels and a title bar of 24.
const QSize kToday(470, 298);
const QSize kComing(417, 223);
const QMargins kFrame(4, 28, 4, 4);

QRect framed(QPoint at, QSize size)
{
    return QRect(at, size).marginsAdded(kFrame).translated(kFrame.left(), kFrame.top());
}

struct Screen {
    const char* name;
    QRect available;
};

class PairPlacement : public testing::TestWithParam<Screen> {};

// Whatever the screen, both windows stand on it.
TEST_P(PairPlacement, KeepsBothWindowsOnTheScreen)
{
    const QRect available = GetParam().available;
    const auto placed = platform::placePair(kToday, kComing, available);
    EXPECT_TRUE(available.contains(QRect(placed.first, kToday)));
    EXPECT_TRUE(available.contains(QRect(placed.second, kComing)));
}

INSTANTIATE_TEST_SUITE_P(
    Screens, PairPlacement,
    testing::Values(Screen{"Desktop", QRect(0, 0, 2560, 1570)},
                    Screen{"Laptop", QRect(0, 30, 1366, 738)},
                    Screen{"Narrow", QRect(0, 0, 800, 600)},
                    Screen{"TwiceTheScaleOnASmallScreen", QRect(0, 0, 683, 384)}),
    [](const testing::TestParamInfo<Screen>& info) { return std::string(info.param.name); });

TEST(PairPlacementOn, AWideScreenSideBySideCentredAsAPair)
{
    const QRect available(0, 30, 1366, 738);
    const auto placed = platform::placePair(kToday, kComing, available);
    const QRect today = framed(placed.first, kToday);
    const QRect coming = framed(placed.second, kComing);
    EXPECT_FALSE(today.intersects(coming));
    EXPECT_LT(today.right(), coming.left());
    EXPECT_EQ(placed.first.y(), placed.second.y());
    const int leftMargin = placed.first.x() - available.left();
    const int rightMargin = available.right() - (placed.second.x() + kComing.width() - 1);
    EXPECT_LE(std::abs(leftMargin - rightMargin), 1);
}

TEST(PairPlacementOn, ANarrowScreenOneAboveTheOther)
{
    const auto placed = platform::placePair(kToday, kComing, QRect(0, 0, 800, 600));
    const QRect today = framed(placed.first, kToday);
    const QRect coming = framed(placed.second, kComing);
    EXPECT_FALSE(today.intersects(coming));
    EXPECT_LT(today.bottom(), coming.top());
}

// Too small for both: the coming birthdays' lists still show beside and below today's window.
TEST(PairPlacementOn, ATinyScreenOppositeCorners)
{
    const QRect available(0, 0, 683, 384);
    const auto placed = platform::placePair(kToday, kComing, available);
    EXPECT_EQ(placed.first, available.topLeft());
    EXPECT_EQ(QRect(placed.second, kComing).bottomRight(), available.bottomRight());
}

} // namespace
