// The printed workout sheet: its layout in twips and the texts it takes from the editor.

#include "editor/editor.h"
#include "editor/sheetlayout.h"
#include "editor/workoutsheet.h"

#include "manualclock.h"
#include "model/session.h"
#include "platform/memorysettingsstore.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

// Every character 100 twips wide, lines 240 twips high; a Letter page (8.5 × 11 inches).
constexpr double kCw = 100, kLine = 240;
const QSizeF kLetter(12240, 15840);
SheetLayout letterLayout()
{
    return SheetLayout(kLetter, kLine, [](const QString& t) { return t.size() * kCw; });
}

TEST(SheetLayoutTest, PageFrame)
{
    const SheetLayout layout = letterLayout();
    EXPECT_EQ(layout.captionAt(), QPointF(2620, 720));
    EXPECT_EQ(layout.pictureRect(), QRectF(2620, 960, 7000, 4000));
    EXPECT_EQ(layout.tableTop(), 5200);
    EXPECT_EQ(layout.charWidth(), kCw);
    const std::array<double, 4> centres{4320, 5520, 6720, 7920}; // middle − 18 cw, then 12 cw apart
    EXPECT_EQ(layout.columnCentres(), centres);
}

TEST(SheetLayoutTest, RowTextsStandByTheirLength)
{
    struct Case
    {
        SheetRow row;
        std::array<double, 4> x; // where each text starts; -1: not printed
    };
    const Case cases[] = {
        {{"7", "6:40", "5", "12"}, {4320 - 50, 5520 - 150, 6720 - 100, 7920 - 200}},
        {{"12", "12:30", "6.5", "12.5"}, {4320 - 100, 5520 - 250, 6720 - 100, 7920 - 200}},
        {{"60", "60:00", "10", "0"}, {4320 - 100, 5520 - 250, 6720 - 200, 7920 - 100}},
        // An unusually long value is still printed, where four characters start.
        {{"3", "0:10", "", "12.25"}, {4320 - 50, 5520 - 150, -1, 7920 - 200}},
    };
    const std::array<QString, 4> headers{"Segment", "Time", "Speed", "Incline"};
    for (const Case& c : cases) {
        const auto pages = letterLayout().table(headers, {c.row});
        ASSERT_EQ(pages.size(), 1u);
        const std::vector<PlacedText>& page = pages[0];
        // The header row first, each text centred on its column.
        EXPECT_EQ(page[1].text, "Time");
        EXPECT_EQ(page[1].at, QPointF(5520 - 200, 5200));
        const std::array<QString, 4> texts{c.row.segment, c.row.time, c.row.first, c.row.second};
        size_t next = 4;
        for (int col = 0; col < 4; ++col) {
            if (c.x[col] < 0)
                continue;
            ASSERT_LT(next, page.size());
            EXPECT_EQ(page[next].text, texts[col]);
            EXPECT_EQ(page[next].at, QPointF(c.x[col], 5200 + kLine)) << texts[col].toStdString();
            ++next;
        }
        EXPECT_EQ(next, page.size());
    }
}

TEST(SheetLayoutTest, ALongTableGoesOnOverleafWithItsHeaders)
{
    std::vector<SheetRow> rows;
    for (int i = 1; i <= 60; ++i)
        rows.push_back({QString::number(i), "1:00", "5", "1"});
    const auto pages = letterLayout().table({"Segment", "Time", "Speed", "Incline"}, rows);
    // Rows end 720 twips above the foot: (15840 − 720 − 5200) / 240 − 1 = 40 rows fit under the picture.
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 4 + 40 * 4u);
    EXPECT_EQ(pages[0].back().at.y(), 5200 + 40 * kLine);
    EXPECT_EQ(pages[1].size(), 4 + 20 * 4u);
    EXPECT_EQ(pages[1][0].at.y(), 720);
    EXPECT_EQ(pages[1][4].text, "41");
    EXPECT_EQ(pages[1][4].at.y(), 720 + kLine);
}

class WorkoutSheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        session.machine.resetToDefaults();
        DefaultWorkout(session.workout, settings, "/data");
        editor.applyMachineRanges();
        editor.selectSegment(3);
        session.modified = false;
    }

    Session session;
    MemorySettingsStore settings;
    ScriptedMessageBoxes messages;
    ManualClock clock;
    Editor editor{session, settings, messages, clock};
};

TEST_F(WorkoutSheetTest, TakesTheEditorsTextsAndLeavesTheLastSegmentSelected)
{
    // Twelve segments, two of them with two-digit numbers and values.
    session.workout.setCount(12);
    session.workout.segment(11) = session.workout.segment(4);
    session.workout.segment(11).setSegmentSpeed(10.0);
    session.workout.segment(12) = session.workout.segment(1);
    session.workout.segment(12).setSegmentIncline(7.5);
    session.workout.segment(12).setSegmentTime(750);
    int graphRedraws = 0;
    QObject::connect(&editor, &Editor::changed, [&](unsigned c) { graphRedraws += (c & Editor::Graph) != 0; });

    const WorkoutSheet sheet(editor, "Kinetrova - twelve.txt");
    EXPECT_EQ(sheet.caption(), "Kinetrova - twelve.txt");
    const std::array<QString, 4> headers{"Segment", "Time", "Speed", "Incline"};
    EXPECT_EQ(sheet.headers(), headers);
    ASSERT_EQ(sheet.rows().size(), 12u);
    const SheetRow& fourth = sheet.rows()[3];
    EXPECT_EQ(fourth.segment, "4");
    EXPECT_EQ(fourth.time, "8:00");
    EXPECT_EQ(fourth.first, "3");
    EXPECT_EQ(fourth.second, "2");
    EXPECT_EQ(sheet.rows()[10].first, "10");
    EXPECT_EQ(sheet.rows()[11].second, "7.5");
    EXPECT_EQ(sheet.rows()[11].time, "12:30");

    EXPECT_EQ(session.workout.current(), 12);
    EXPECT_EQ(editor.text(Editor::Field::Segment), "12");
    EXPECT_GT(graphRedraws, 0);
    EXPECT_FALSE(session.modified);
}

TEST_F(WorkoutSheetTest, HeadersAndValuesFollowTheMachineAndUnits)
{
    session.machine.setMachineType("Elliptical");
    session.machine.setAttOneMax(120);
    session.machine.setAttTwoMax(300);
    editor.applyMachineRanges();
    session.workout.segment(2).setSegmentSpeed(12);
    const WorkoutSheet sheet(editor, "Kinetrova - default");
    const std::array<QString, 4> headers{"Segment", "Time", "Resistance", "Incline"};
    EXPECT_EQ(sheet.headers(), headers);
    EXPECT_EQ(sheet.rows()[1].first, "12");
}

} // namespace
