// The printed workout sheet's layout, in twips.

#include "editor/sheetlayout.h"

#include <gtest/gtest.h>

using namespace kntr;

namespace {

// Every character 100 twips wide, lines 240 twips high, on a Letter page (8.5 × 11 inches):
// the columns stand at the middle − 18 cw and then 12 cw apart: 4320, 5520, 6720, 7920.
constexpr double kCw = 100, kLine = 240;
const SheetLayout kLetter(QSizeF(12240, 15840), kLine, [](const QString& t) { return t.size() * kCw; });
const std::array<QString, 4> kHeaders{"Segment", "Time", "Speed", "Incline"};

TEST(SheetLayoutTest, CaptionPictureAndTableStandWhereThePageSays)
{
    EXPECT_EQ(kLetter.captionAt(), QPointF(2620, 720));
    EXPECT_EQ(kLetter.pictureRect(), QRectF(2620, 960, 7000, 4000));
    // The footer spans the picture's width, in the middle of the bottom margin.
    EXPECT_EQ(kLetter.footerAt(), QPointF(2620, 15840 - 540 + (540 - 240) / 2));
    EXPECT_EQ(kLetter.footerRight(), 2620 + 7000);
    EXPECT_EQ(kLetter.tableTop(), 5200);

    struct Case {
        SheetRow row;
        std::array<double, 4> x; // where each text starts; -1: not printed
    };
    const Case cases[] = {
        {{"7", "6:40", "5", "12"}, {4320 - 50, 5520 - 150, 6720 - 100, 7920 - 200}},
        {{"12", "12:30", "6.5", "12.5"}, {4320 - 100, 5520 - 250, 6720 - 100, 7920 - 200}},
        // An unusually long value is still printed, where four characters start.
        {{"3", "0:10", "", "12.25"}, {4320 - 50, 5520 - 150, -1, 7920 - 200}},
    };
    for (const Case& c : cases) {
        const auto pages = kLetter.table(kHeaders, {c.row});
        ASSERT_EQ(pages.size(), 1u);
        const std::vector<PlacedText>& page = pages[0];
        EXPECT_EQ(page[1].text, "Time"); // headers first, centred on their columns
        EXPECT_EQ(page[1].at, QPointF(5520 - 200, 5200));
        const std::array<QString, 4> texts{c.row.segment, c.row.time, c.row.first, c.row.second};
        size_t next = 4;
        for (int col = 0; col < 4; ++col) {
            if (c.x[col] < 0)
                continue;
            ASSERT_LT(next, page.size());
            EXPECT_EQ(page[next].text, texts[col]);
            EXPECT_EQ(page[next++].at, QPointF(c.x[col], 5200 + kLine)) << texts[col].toStdString();
        }
        EXPECT_EQ(next, page.size());
    }
}

TEST(SheetLayoutTest, ALongTableGoesOnOverleafWithItsHeaders)
{
    std::vector<SheetRow> rows;
    for (int i = 1; i <= 60; ++i)
        rows.push_back({QString::number(i), "1:00", "5", "1"});
    const auto pages = kLetter.table(kHeaders, rows);
    // Rows end 540 twips above the foot: (15840 − 540 − 5200) / 240 − 1 = 41.08, so 41 rows fit under the
    // picture.
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 4 + 41 * 4u);
    EXPECT_EQ(pages[1].size(), 4 + 19 * 4u);
    EXPECT_EQ(pages[1][0].at.y(), 720);
    EXPECT_EQ(pages[1][4].text, "42");
    EXPECT_EQ(pages[1][4].at.y(), 720 + kLine);
}

} // namespace
