#pragma once

#include <QListWidget>
#include <QSignalBlocker>
#include <QStringList>

namespace kntr {

/// Shows rows in list with selected (0-based, -1 for none) current, without
/// signalling the change back; a list that already holds the rows keeps its
/// scroll position.
inline void showListRows(QListWidget& list, const QStringList& rows, int selected)
{
    const QSignalBlocker block(&list);
    bool same = list.count() == rows.size();
    for (int i = 0; same && i < rows.size(); ++i)
        same = list.item(i)->text() == rows.at(i);
    if (!same) {
        list.clear();
        list.addItems(rows);
    }
    list.setCurrentRow(selected);
}

} // namespace kntr
