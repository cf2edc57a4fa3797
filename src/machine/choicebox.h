#pragma once

#include <QString>
#include <QStringList>

namespace kntr {

/// One drop-down list of the machine selection window: the choices it offers
/// and the entry it shows.
class ChoiceBox {
public:
    const QStringList& items() const { return mItems; }
    int count() const { return mItems.size(); }
    /// The entry shown; -1 when the list is empty.
    int index() const { return mIndex; }
    /// The text of the entry shown; empty when the list is empty.
    QString text() const { return mIndex >= 0 ? mItems.at(mIndex) : QString(); }

    /// Replaces the choices and shows the first of them.
    void fill(const QStringList& choices)
    {
        mItems = choices;
        mIndex = mItems.isEmpty() ? -1 : 0;
    }
    /// Shows entry i; an index outside the list changes nothing and returns false.
    bool select(int i)
    {
        if (i < 0 || i >= mItems.size())
            return false;
        mIndex = i;
        return true;
    }
    /// Shows the entry whose text is text; a text not among the choices changes nothing.
    bool selectText(const QString& text) { return select(mItems.indexOf(text)); }

private:
    QStringList mItems;
    int mIndex = -1;
};

} // namespace kntr
