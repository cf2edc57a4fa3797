#include "editor/axislabels.h"
#include "editor/graphbars.h"
#include "editor/graphgeometry.h"
#include "editor/graphpalette.h"

#include "model/machine.h"
#include "model/workout.h"

#include <QLocale>

#include <gtest/gtest.h>
#include <numeric>

using namespace kntr;

namespace {

Workout workoutOf(std::initializer_list<double> seconds)
{
    Workout w;
    w.setCount(static_cast<int>(seconds.size()));
    int i = 1;
    for (double s : seconds)
        w.segment(i++).setSegmentTime(s);
    return w;
}

int widthSum(const ColumnWidths& widths)
{
    return std::accumulate(widths.begin(), widths.end(), 0);
}

QStringList texts(const std::array<AxisLabel, 6>& labels)
{
    QStringList out;
    for (const AxisLabel& l : labels)
        out << l.text;
    return out;
}

QStringList texts(const std::array<std::optional<AxisLabel>, 6>& labels)
{
    QStringList out;
    for (const auto& l : labels)
        out << (l ? l->text : QStringLiteral("<kept>"));
    return out;
}

class GraphTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(GraphTest, OneSegmentFillsTheGraphLessItsGap)
{
    Workout w = workoutOf({60});
    const ColumnWidths widths = columnWidths(w, 301);
    EXPECT_EQ(widths[0], 300);
    const auto spans = columnSpans(widths, 301);
    EXPECT_EQ(spans[0].left, 0);
    EXPECT_EQ(spans[0].width, 300);
}

TEST_F(GraphTest, EqualSegmentsGiveBackTheRoundingPixelByPixel)
{
    Workout w = workoutOf({60, 60, 60, 60, 60, 60, 60, 60, 60, 60});
    const ColumnWidths widths = columnWidths(w, 500);
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(widths[i - 1], 49) << "segment " << i;
    EXPECT_EQ(widthSum(widths) + w.count(), 500);
}

TEST_F(GraphTest, ShortSegmentKeepsOnePixel)
{
    Workout w = workoutOf({3595, 5});
    const ColumnWidths widths = columnWidths(w, 300);
    EXPECT_EQ(widths[1], 1);
    EXPECT_EQ(widthSum(widths) + w.count(), 300);
}

TEST_F(GraphTest, WidthsAlwaysFillTheGraph)
{
    Workout w = workoutOf({60, 120, 240, 480, 240, 120, 120, 180, 180, 60});
    for (int width : {100, 317, 413, 587, 1024, 1999}) {
        const ColumnWidths widths = columnWidths(w, width);
        EXPECT_EQ(widthSum(widths) + w.count(), width) << "graph width " << width;
        const auto spans = columnSpans(widths, width);
        EXPECT_EQ(spans.front().left, 0);
        EXPECT_EQ(spans.back().left + spans.back().width, width - 1); // the last gap pixel
        for (std::size_t i = 1; i < spans.size(); ++i)
            EXPECT_EQ(spans[i].left, spans[i - 1].left + spans[i - 1].width + 1);
    }
}

TEST_F(GraphTest, TooNarrowGraphStopsAtOnePixelColumns)
{
    Workout w = workoutOf({60, 60, 60, 60, 60, 60});
    const ColumnWidths widths =
        columnWidths(w, 8); // fewer pixels than two per segment: must not loop forever
    for (int i = 1; i <= 6; ++i)
        EXPECT_GE(widths[i - 1], 1);
}

TEST_F(GraphTest, EmptyTimeStillGivesWidths)
{
    Workout w = workoutOf({0, 0});
    const ColumnWidths widths = columnWidths(w, 100);
    EXPECT_EQ(widths[0], 1);
}

TEST_F(GraphTest, SegmentUnderPointerWalksFromTheLeft)
{
    const ColumnWidths w{10, 20};
    EXPECT_EQ(segmentAtX(w, 0), 1);
    EXPECT_EQ(segmentAtX(w, 10), 1); // the gap belongs to the column before it
    EXPECT_EQ(segmentAtX(w, 11), 2);
    EXPECT_EQ(segmentAtX(w, 31), 2);
    EXPECT_EQ(segmentAtX(w, 32), 0); // right of the last column
}

TEST_F(GraphTest, ProfilePartsSurroundTheGraphWithinTheArea)
{
    const ProfileMeasures m{14, 18, 36, 26, 37};
    const QRect area(10, 20, 500, 300);
    const ProfileLayout p = layOutProfile(area, m);
    EXPECT_EQ(p.graph, QRect(10 + 18 + 36, 20 + 7, 500 - 2 * 18 - 36 - 26, 300 - 7 - 37));
    for (const QRect& r : {p.graph, p.leftAxis, p.rightAxis, p.leftCaption, p.rightCaption, p.timeAxis})
        EXPECT_TRUE(area.contains(r)) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    EXPECT_EQ(p.leftCaption.left(), area.left());
    EXPECT_EQ(p.rightCaption.right(), area.right());
    EXPECT_EQ(p.leftAxis.right() + 3, p.graph.left() - 1);
    EXPECT_EQ(p.rightAxis.left() - 3, p.graph.right() + 1);
    EXPECT_EQ(p.timeAxis.top(), p.graph.bottom() + 1);
    EXPECT_EQ(p.timeAxis.bottom(), area.bottom());
    // A small area keeps a 20 × 20 graph.
    EXPECT_EQ(layOutProfile(QRect(0, 0, 50, 40), m).graph.size(), QSize(20, 20));
}

TEST_F(GraphTest, ScalesReachFourPercentAboveTheMaximum)
{
    EXPECT_EQ(scaleTop(100), 104);
    EXPECT_EQ(scaleTop(120), 125); // 124.8
    EXPECT_EQ(scaleTop(50), 52);
    // Value 0 sits on the bottom row, the scale top on the top row.
    EXPECT_EQ(valueToY(0, 104, 208), 208);
    EXPECT_EQ(valueToY(10.4, 104, 208), 0);
    EXPECT_EQ(valueToY(5.0, 104, 208), 108);
}

TEST_F(GraphTest, BarColours)
{
    EXPECT_EQ(barColours(false, false).speed, QColor(160, 160, 160));
    EXPECT_EQ(barColours(false, false).incline, QColor(128, 0, 0));
    EXPECT_EQ(barColours(true, false).speed, QColor(0, 0, 255));
    EXPECT_EQ(barColours(true, false).incline, QColor(255, 0, 0));
    EXPECT_EQ(barColours(false, true).speed, QColor(0, 0, 255));
    EXPECT_EQ(barColours(false, true).incline, QColor(0, 255, 0));
    EXPECT_EQ(barColours(true, true).speed, QColor(255, 255, 0)); // yellow on black
    EXPECT_EQ(barColours(true, true).incline, QColor(255, 0, 0));
    EXPECT_TRUE(isDarkBackground(Qt::black));
    EXPECT_FALSE(isDarkBackground(Qt::white));
    EXPECT_FALSE(isDarkBackground(QColor(160, 160, 160)));
}

TEST_F(GraphTest, BothBarsShowInEveryColumn)
{
    struct Case {
        int left, width, speedY, inclineY;
        QRect speed, incline;
        bool speedInFront;
    };
    const Case cases[] = {
        // Wide columns: side by side, the speed on the left, whichever is taller.
        {10, 8, 20, 60, QRect(10, 20, 4, 80), QRect(14, 60, 4, 40), true},
        {10, 8, 60, 20, QRect(10, 60, 4, 40), QRect(14, 20, 4, 80), true},
        {0, 3, 50, 50, QRect(0, 50, 1, 50), QRect(1, 50, 2, 50), true},
        // Narrow columns: across the width, the shorter bar in front.
        {5, 2, 30, 70, QRect(5, 30, 2, 70), QRect(5, 70, 2, 30), false},
        {5, 1, 70, 30, QRect(5, 70, 1, 30), QRect(5, 30, 1, 70), true},
    };
    for (const Case& c : cases) {
        const ColumnBars bars = columnBars({c.left, c.width}, 100, c.speedY, c.inclineY);
        EXPECT_EQ(bars.speed, c.speed) << c.left << " " << c.width;
        EXPECT_EQ(bars.incline, c.incline) << c.left << " " << c.width;
        EXPECT_EQ(bars.speedInFront, c.speedInFront) << c.width << " " << c.speedY;
    }
}

TEST_F(GraphTest, TimeAxisLabels)
{
    const auto labels = timeAxisLabels(1800);
    EXPECT_EQ(labels[0], "0:00");
    EXPECT_EQ(labels[1], "7:30");
    EXPECT_EQ(labels[2], "15:00");
    EXPECT_EQ(labels[3], "22:30");
    EXPECT_EQ(labels[4], "30:00");
    EXPECT_EQ(timeAxisLabels(65)[4], "1:05");
    EXPECT_EQ(timeAxisLabels(0)[4], "0:00");
    // 239 s × 1/4 = 59.75 s rounds into the next minute rather than showing "0:60".
    EXPECT_EQ(timeAxisLabels(239)[1], "1:00");
}

TEST_F(GraphTest, LeftAxisTable)
{
    EXPECT_EQ(texts(leftAxisLabels(50, false)), QStringList({"5-", "4-", "3-", "2-", "1-", "0-"}));
    EXPECT_EQ(texts(leftAxisLabels(60, false)), QStringList({"6-", "5-", "4-", "3-", "2-", "1-"}));
    EXPECT_EQ(texts(leftAxisLabels(100, false)), QStringList({"10-", "8-", "6-", "4-", "2-", "0-"}));
    EXPECT_EQ(texts(leftAxisLabels(120, false)), QStringList({"12-", "10-", "8-", "6-", "4-", "2-"}));
    EXPECT_EQ(leftAxisLabels(120, false)[1].value, 10);
}

TEST_F(GraphTest, LeftAxisInKilometres)
{
    EXPECT_EQ(texts(leftAxisLabels(120, true)),
              QStringList({"19.3-", "16.1-", "12.9-", "9.7-", "6.4-", "3.2-"}));
    EXPECT_EQ(texts(leftAxisLabels(100, true)).last(), "0-");
    // The labels stay at the heights of the miles values they convert.
    EXPECT_EQ(leftAxisLabels(120, true)[0].value, 12);
}

TEST_F(GraphTest, RightAxisTable)
{
    EXPECT_EQ(texts(rightAxisLabels(60)), QStringList({"-6", "-5", "-4", "-3", "-2", "-1"}));
    EXPECT_EQ(texts(rightAxisLabels(100)), QStringList({"-10", "-8", "-6", "-4", "-2", "-0"}));
    EXPECT_EQ(texts(rightAxisLabels(120)), QStringList({"-12", "-10", "-8", "-6", "-4", "-2"}));
    EXPECT_EQ(texts(rightAxisLabels(250)), QStringList({"-25", "-21", "-17", "-12", "-8", "-4"}));
    EXPECT_EQ(texts(rightAxisLabels(300)), QStringList({"-30", "-25", "-20", "-15", "-10", "-5"}));
    EXPECT_EQ(texts(rightAxisLabels(500)), QStringList({"-50", "-40", "-30", "-20", "-10", "-0"}));
    // A maximum of 5 has five labels; the sixth keeps what it showed.
    EXPECT_EQ(texts(rightAxisLabels(50)), QStringList({"-5", "-4", "-3", "-2", "-1", "<kept>"}));
}

TEST_F(GraphTest, AxesForMaximaOutsideTheTable)
{
    EXPECT_EQ(texts(leftAxisLabels(75, false)), QStringList({"7.5-", "6.2-", "5-", "3.8-", "2.5-", "1.2-"}));
    EXPECT_EQ(texts(rightAxisLabels(180)), QStringList({"-18", "-15", "-12", "-9", "-6", "-3"}));
}

TEST_F(GraphTest, DecimalCommaOnTheAxis)
{
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(leftAxisLabels(120, true)[0].text, "19,3-");
    QLocale::setDefault(QLocale::c());
}

TEST_F(GraphTest, AxisCaptions)
{
    Machine m;
    m.setMachineType("Treadmill");
    EXPECT_EQ(leftAxisCaption(m, false), "Speed");
    EXPECT_EQ(leftAxisCaption(m, true), "1/Speed");
    EXPECT_EQ(rightAxisCaption(m), "Incline");
    m.setMachineType("Elliptical");
    EXPECT_EQ(leftAxisCaption(m, false), "Resistance");
    m.setMachineType("Bike");
    EXPECT_EQ(rightAxisCaption(m), "Resistance");
}

} // namespace
