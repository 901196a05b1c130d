// Axes and grids: where the grid lines lie (also for unusable and huge settings), and where
// they and the axes show in an orthographic view straight down the Z axis.
#include "view/AxesAndGrids.h"

#include <cmath>
#include <limits>

#include "support/gl/GLTest.h"

namespace y4 {
namespace {

using Positions = std::vector<float>;

TEST(AxesAndGrids, LinePositionsStepFromMinWhileNotPastMax) {
    EXPECT_EQ(AxesAndGrids::linePositions(-10, 10, 3), (Positions{-10, -7, -4, -1, 2, 5, 8}));
    EXPECT_EQ(AxesAndGrids::linePositions(-10, 10, 2).size(), 11u);
    EXPECT_EQ(AxesAndGrids::linePositions(1, 1, 2), (Positions{1}));
    // Min past max: no line.
    EXPECT_TRUE(AxesAndGrids::linePositions(10, -10, 2).empty());
    // A spacing that would never reach max draws no grid.
    for (const float spacing : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                                std::numeric_limits<float>::infinity()}) {
        EXPECT_TRUE(AxesAndGrids::linePositions(-10, 10, spacing).empty()) << spacing;
    }
    // Spacings too fine to draw, or too fine to move the position at all, are capped.
    EXPECT_EQ(AxesAndGrids::linePositions(-1e6f, 1e6f, 1e-3f).size(),
              std::size_t{AxesAndGrids::kMaxLinesPerFamily});
    EXPECT_EQ(AxesAndGrids::linePositions(1e8f, 2e8f, 1).size(),
              std::size_t{AxesAndGrids::kMaxLinesPerFamily});
}

class AxesAndGridsDrawing : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        lookDownOrthographic();
    }
    // The window column of file x (drawn at -x) in the 20.48-wide orthographic box.
    static double column(float fileX) { return (-fileX + 10.24) / 20.48 * kWidth; }
    static int row(float fileY) { return static_cast<int>((-fileY + 7.68) / 15.36 * kHeight); }
    // The columns of one window row that are not the background.
    std::vector<int> markedColumns(const RGBImage& f, int y) const {
        std::vector<int> out;
        for (int x = 0; x < kWidth; ++x) {
            if (!(test::pixelAt(f, x, y) == background())) {
                out.push_back(x);
            }
        }
        return out;
    }
};

TEST_F(AxesAndGridsDrawing, GridLinesShowWhereTheyLieAndTheAxesReachMax) {
    grid.gridXY = 1;
    grid.gridSpacing = 3;
    // Along file y = -3.5 only the lines x = t cross (the axes lie at y >= 0).
    const std::vector<int> columns = markedColumns(frame(), row(-3.5f));
    const Positions expected = {-10, -7, -4, -1, 2, 5, 8};
    ASSERT_EQ(columns.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_NEAR(columns[expected.size() - 1 - k], column(expected[k]), 1.0) << expected[k];
    }

    // No usable spacing, or min past max: no grid lines, while the X axis still reaches max
    // in red.
    for (const auto& [spacing, min] : {std::pair{0.0f, -10.0f}, std::pair{2.0f, 20.0f}}) {
        grid.gridSpacing = spacing;
        grid.gridMin = min;
        const RGBImage f = frame();
        EXPECT_TRUE(markedColumns(f, row(-3.5f)).empty()) << spacing << ", " << min;
        const int x = static_cast<int>(column(9.5f));
        const test::Rgb red = test::rgbOf(1, 0, 0);
        EXPECT_TRUE(test::regionIs(f, {x - 1, row(0) - 1, x + 1, row(0) + 1}, red));
    }
}

}  // namespace
}  // namespace y4
