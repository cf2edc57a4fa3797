#pragma once

#include <utility>
#include <vector>

namespace kntr {

/// The list operations of the music windows on rows with one selected row
/// (-1 for none).

/// row when it names a row, else -1.
template<typename Row>
int selectableRow(const std::vector<Row>& rows, int row)
{
    return row >= 0 && row < static_cast<int>(rows.size()) ? row : -1;
}

/// Deletes the selected row, or the last when none is selected; then none is.
/// Returns false when there was no row.
template<typename Row>
bool deleteSelectedOrLast(std::vector<Row>& rows, int& selected)
{
    if (rows.empty())
        return false;
    const int row = selected >= 0 ? selected : static_cast<int>(rows.size()) - 1;
    rows.erase(rows.begin() + row);
    selected = -1;
    return true;
}

/// Exchanges the selected row with its neighbour step rows away (-1 above, +1
/// below), which becomes the selected one. Returns false when there is none.
template<typename Row>
bool moveSelected(std::vector<Row>& rows, int& selected, int step)
{
    const int other = selected + step;
    if (selected < 0 || selectableRow(rows, other) < 0)
        return false;
    std::swap(rows[static_cast<size_t>(selected)], rows[static_cast<size_t>(other)]);
    selected = other;
    return true;
}

} // namespace kntr
