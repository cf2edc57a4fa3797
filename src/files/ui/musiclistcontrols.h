#pragma once

#include <QListWidget>
#include <QObject>
#include <QPushButton>

namespace kntr {

/// The controls of a music list as both music windows lay them out: the list,
/// Add, Del, Up, Down and the play list's Browse. Each keeps its window's
/// object name; the window places them.
struct MusicListControls {
    QListWidget* list = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* up = nullptr;
    QPushButton* down = nullptr;
    QPushButton* browse = nullptr;
};

/// Passes the controls' clicks and the list's selection to a music-list model
/// (selectRow, addFile, removeFile, moveUp, moveDown, browse), for as long as
/// owner lives.
template<typename Model> void forwardMusicList(QObject* owner, const MusicListControls& c, Model& model)
{
    QObject::connect(c.list, &QListWidget::currentRowChanged, owner,
                     [&model](int row) { model.selectRow(row); });
    QObject::connect(c.add, &QPushButton::clicked, owner, [&model] { model.addFile(); });
    QObject::connect(c.remove, &QPushButton::clicked, owner, [&model] { model.removeFile(); });
    QObject::connect(c.up, &QPushButton::clicked, owner, [&model] { model.moveUp(); });
    QObject::connect(c.down, &QPushButton::clicked, owner, [&model] { model.moveDown(); });
    QObject::connect(c.browse, &QPushButton::clicked, owner, [&model] { model.browse(); });
}

} // namespace kntr
