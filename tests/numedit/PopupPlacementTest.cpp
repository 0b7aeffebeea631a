#include "numedit/PopupPlacement.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace kalvo;

void PrintTo(const QPoint& p, std::ostream* os)
{
    *os << "(" << p.x() << ", " << p.y() << ")";
}

namespace {

struct PlacementCase
{
    const char* Name;
    QRect Field;
    QSize Popup;
    TPopupAlign Align;
    QPoint Expected;
};

void PrintTo(const PlacementCase& c, std::ostream* os)
{
    *os << c.Name;
}

constexpr QSize Screen(1920, 1080);
constexpr QSize Calc(150, 130);
constexpr auto Right = TPopupAlign::epaRight;
constexpr auto Left = TPopupAlign::epaLeft;

const PlacementCase PlacementCases[] = {
    {"RightEdgesBelow", {500, 300, 113, 25}, Calc, Right, {463, 325}},
    {"LeftEdgesBelow", {500, 300, 113, 25}, Calc, Left, {500, 325}},
    {"NarrowPopupRightEdges", {500, 300, 113, 25}, {80, 60}, Right, {533, 325}},
    // The popup's lower edge may touch the screen's bottom; one pixel more and it goes above.
    {"TouchesBottom", {500, 925, 113, 25}, Calc, Right, {463, 950}},
    {"AboveWhenBelowPassesBottom", {500, 926, 113, 25}, Calc, Right, {463, 796}},
    {"AboveLeftEdges", {500, 1000, 113, 25}, Calc, Left, {500, 870}},
    // Right alignment falls back to left alignment only when the left edge would be off-screen.
    {"RightEdgesAtScreenLeft", {37, 300, 113, 25}, Calc, Right, {0, 325}},
    {"RightFallsBackToLeftEdges", {20, 300, 113, 25}, Calc, Right, {20, 325}},
    // Left alignment falls back to right alignment only when the right edge would pass the screen.
    {"LeftEdgesAtScreenRight", {1770, 300, 113, 25}, Calc, Left, {1770, 325}},
    {"LeftFallsBackToRightEdges", {1800, 300, 113, 25}, Calc, Left, {1763, 325}},
    // A field partly off-screen: the popup is clamped into the screen.
    {"RightClampedToScreenLeft", {-50, 300, 113, 25}, Calc, Right, {0, 325}},
    {"LeftClampedToScreenLeft", {-50, 300, 113, 25}, Calc, Left, {0, 325}},
    {"RightClampedToScreenRight", {1850, 300, 113, 25}, Calc, Right, {1770, 325}},
    {"LeftClampedToScreenRight", {1850, 300, 113, 25}, Calc, Left, {1770, 325}},
    {"AboveAndClamped", {1850, 1000, 113, 25}, Calc, Left, {1770, 870}},
};

class PopupPlacement : public testing::TestWithParam<PlacementCase>
{};

TEST_P(PopupPlacement, Position)
{
    const PlacementCase& c = GetParam();
    EXPECT_EQ(PopupPosition(c.Field, c.Popup, Screen, c.Align), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PopupPlacement, testing::ValuesIn(PlacementCases),
                         [](const testing::TestParamInfo<PlacementCase>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
