#include "sheetlayout.h"

#include <algorithm>

namespace kntr {

SheetLayout::SheetLayout(QSizeF page, double lineHeight, Measure width)
    : mPage(page)
    , mLine(lineHeight)
    , mWidth(std::move(width))
    , mCharWidth(mWidth(QStringLiteral("1234567890")) / 10)
{
}

QPointF SheetLayout::captionAt() const
{
    return {(mPage.width() - kPictureWidth) / 2, kTopMargin};
}

QRectF SheetLayout::pictureRect() const
{
    return {(mPage.width() - kPictureWidth) / 2, kTopMargin + mLine, kPictureWidth, kPictureHeight};
}

QPointF SheetLayout::footerAt() const
{
    // Centred in the bottom margin, under the last row a page can take.
    return {(mPage.width() - kPictureWidth) / 2,
            mPage.height() - kBottomMargin + (kBottomMargin - mLine) / 2};
}

double SheetLayout::footerRight() const
{
    return (mPage.width() + kPictureWidth) / 2;
}

double SheetLayout::tableTop() const
{
    return kTopMargin + 2 * mLine + kPictureHeight;
}

std::array<double, 4> SheetLayout::columnCentres() const
{
    const double first = mPage.width() / 2 - 18 * mCharWidth;
    return {first, first + 12 * mCharWidth, first + 24 * mCharWidth, first + 36 * mCharWidth};
}

void SheetLayout::placeRow(std::vector<PlacedText>& page, const SheetRow& row, double y) const
{
    const std::array<double, 4> centre = columnCentres();
    const double cw = mCharWidth;
    // Two-digit numbers start a character left of the centre; one digit is centred.
    const double numberX = row.segment.size() >= 2 ? centre[0] - cw : centre[0] - cw / 2;
    page.push_back({row.segment, {numberX, y}});
    // "m:ss" and "mm:ss" keep their colons one above the other.
    const double timeX = centre[1] - (row.time.size() >= 5 ? 2.5 : 1.5) * cw;
    page.push_back({row.time, {timeX, y}});
    // Values: whole numbers end at the centre, one decimal after it ("5", "6.5";
    // "12", "12.5"). Longer texts start where four characters would.
    for (int column : {2, 3}) {
        const QString& text = column == 2 ? row.first : row.second;
        if (text.isEmpty())
            continue;
        const bool odd = text.size() == 1 || text.size() == 3;
        page.push_back({text, {centre[column] - (odd ? 1 : 2) * cw, y}});
    }
}

std::vector<std::vector<PlacedText>> SheetLayout::table(const std::array<QString, 4>& headers,
                                                        const std::vector<SheetRow>& rows) const
{
    const std::array<double, 4> centre = columnCentres();
    const double foot = mPage.height() - kBottomMargin;
    std::vector<std::vector<PlacedText>> pages;
    double y = 0;
    auto startPage = [&](double top) {
        pages.emplace_back();
        for (int c = 0; c < 4; ++c)
            pages.back().push_back({headers[c], {centre[c] - mWidth(headers[c]) / 2, top}});
        y = top;
    };
    startPage(tableTop());
    for (const SheetRow& row : rows) {
        y += mLine;
        // A page always takes at least one row, however short it is.
        if (y + mLine > foot && pages.back().size() > 4) {
            startPage(kTopMargin);
            y += mLine;
        }
        placeRow(pages.back(), row, y);
    }
    return pages;
}

} // namespace kntr
