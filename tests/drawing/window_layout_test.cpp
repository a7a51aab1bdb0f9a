#include "drawing/window_layout.h"

#include <gtest/gtest.h>

using namespace window_layout;

// The rule on the window's places, one size after another: a value the
// platform would reject is skipped, and the notice's band moves what stands
// below the picture.
TEST(WindowLayout, FollowsTheClientAreaAndSkipsWhatCannotBe) {
    const struct {
        float width, height, band;
        Rectangle report;
        float label, list;
    } rows[] = {
        {7155, 4050, 0, {1200, 1320, 4755, 2730}, 6005, 6105},  // the opening size
        {2400, 1320, 0, {1200, 1320, 0, 0}, 1250, 1350},        // nothing left for the report box
        {2385, 1305, 0, {1200, 1320, 0, 0}, 1250, 1350},        // less: it keeps what it had
        {19200, 4050, 0, {1200, 1320, 16800, 2730}, 18050, 18150},
        {7155, 4050, 300, {1200, 1620, 4755, 2430}, 6005, 6105},  // a notice under the picture
        {0, 0, 300, {1200, 1620, 4755, 2430}, 6005, 6105},        // minimised
    };
    Controls controls = kDesign;
    for (const auto& row : rows) {
        FollowSize(controls, row.width, row.height, row.band);
        const Rectangle& report = controls[txtPercent];
        EXPECT_EQ(report.Left, row.report.Left);
        EXPECT_EQ(report.Top, row.report.Top);
        EXPECT_EQ(report.Width, row.report.Width) << row.width;
        EXPECT_EQ(report.Height, row.report.Height) << row.height;
        EXPECT_EQ(controls[lblPrecision].Left, row.label);
        EXPECT_EQ(controls[cmbPrecision].Left, row.list);
        EXPECT_EQ(controls[cmbPrecision].Top, 2040 + row.band);
        EXPECT_EQ(controls[Command1].Top, 1320 + row.band);
        EXPECT_EQ(controls[txtFormula].Width, row.width);
        EXPECT_EQ(controls[picFormula].Width, row.width);
    }
}
