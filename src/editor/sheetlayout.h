#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace kntr {

/// One segment's line of the printed table: the texts the editor shows for it.
struct SheetRow {
    QString segment;
    QString time;
    QString first; ///< attribute one (speed or resistance)
    QString second; ///< attribute two (incline or resistance)
};

/// A text placed on a page: its top-left corner in twips.
struct PlacedText {
    QString text;
    QPointF at;
};

/// Where everything stands on the printed workout sheet, in twips (1440 to the
/// inch) from the top-left corner of the page's printable area, so that the
/// sheet looks the same on any printer.
///
/// The caption stands 720 twips from the top, the graph picture (7000 × 4000
/// twips) one text line under it, both centred across the page; the table of
/// segments follows one more line under the picture. Its four columns are 12
/// character widths apart, the first 18 character widths left of the page's
/// middle, where a character width is a tenth of the width of "1234567890".
/// A table too long for the page goes on at the top of further pages, with its
/// header row again. Every page has a footer line in the bottom margin, across
/// the width of the picture.
class SheetLayout {
public:
    static constexpr double kTopMargin = 720;
    static constexpr double kPictureWidth = 7000;
    static constexpr double kPictureHeight = 4000;
    /// Rows stop this far above the foot of the page (3/8 inch), which leaves
    /// room for 44 rows of 10-point Arial on a Letter page and for the footer
    /// line, centred in this margin.
    static constexpr double kBottomMargin = 540;

    /// The width of a text in the sheet's font, in twips.
    using Measure = std::function<double(const QString&)>;

    /// page: the printable area in twips; lineHeight: the font's text height in twips.
    SheetLayout(QSizeF page, double lineHeight, Measure width);

    QPointF captionAt() const;
    QRectF pictureRect() const;
    double tableTop() const;
    /// A tenth of the width of "1234567890".
    double charWidth() const { return mCharWidth; }
    /// Where the footer line starts (its left end) and where it ends on the right.
    QPointF footerAt() const;
    double footerRight() const;
    /// The centres of the four columns.
    std::array<double, 4> columnCentres() const;

    /// The header row and one row per segment, page by page: the first page's
    /// table starts at tableTop(), every further page's at the top margin.
    std::vector<std::vector<PlacedText>> table(const std::array<QString, 4>& headers,
                                               const std::vector<SheetRow>& rows) const;

private:
    void placeRow(std::vector<PlacedText>& page, const SheetRow& row, double y) const;

    QSizeF mPage;
    double mLine;
    Measure mWidth;
    double mCharWidth;
};

} // namespace kntr
