#pragma once

#include "filedialogs.h"
#include "messageboxes.h"

class QWidget;

namespace kntr {

/// Message boxes shown with QMessageBox over a parent window.
class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr)
        : mParent(parent)
    {
    }
    void setParent(QWidget* parent) { mParent = parent; }

    Answer show(const QString& text, Icon icon, Buttons buttons, const QString& title) override;

private:
    QWidget* mParent;
};

/// File dialogs shown with QFileDialog over a parent window.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr)
        : mParent(parent)
    {
    }
    void setParent(QWidget* parent) { mParent = parent; }

    std::optional<QString> getOpenFileName(const FileDialogRequest& request) override;
    std::optional<QStringList> getOpenFileNames(const FileDialogRequest& request) override;
    std::optional<QString> getSaveFileName(const FileDialogRequest& request) override;

private:
    QWidget* mParent;
};

} // namespace kntr
