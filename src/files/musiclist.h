#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace kntr {

/// The music list of the builder window and the play-list window: rows of
/// music files in play order, at most one of them selected, and the Add, Del,
/// Up and Down operations on them. Row has a `path` member.
template<typename Row> class MusicList {
public:
    const std::vector<Row>& rows() const { return mRows; }
    bool empty() const { return mRows.empty(); }
    int size() const { return static_cast<int>(mRows.size()); }
    QStringList paths() const
    {
        QStringList out;
        for (const Row& row : mRows)
            out << row.path;
        return out;
    }

    /// The selected row, from 0; -1 when none is.
    int selected() const { return mSelected; }
    /// Selects row; a row outside the list selects none.
    void select(int row) { mSelected = row >= 0 && row < size() ? row : -1; }

    void append(Row row) { mRows.push_back(std::move(row)); }
    /// Empties the list; none is selected.
    void clear()
    {
        mRows.clear();
        mSelected = -1;
    }
    /// Deletes the selected row, or the last when none is selected; then none
    /// is. Returns false when there was no row.
    bool removeSelectedOrLast()
    {
        if (mRows.empty())
            return false;
        const int row = mSelected >= 0 ? mSelected : size() - 1;
        mRows.erase(mRows.begin() + row);
        mSelected = -1;
        return true;
    }
    /// Exchanges the selected row with its neighbour step rows away (-1 above,
    /// +1 below), which becomes the selected one. Returns false when there is none.
    bool moveSelected(int step)
    {
        const int other = mSelected + step;
        if (mSelected < 0 || other < 0 || other >= size())
            return false;
        std::swap(mRows[static_cast<size_t>(mSelected)], mRows[static_cast<size_t>(other)]);
        mSelected = other;
        return true;
    }

private:
    std::vector<Row> mRows;
    int mSelected = -1;
};

} // namespace kntr
