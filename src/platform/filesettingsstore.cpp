#include "filesettingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace kntr {

FileSettingsStore::FileSettingsStore(QString path)
    : mPath(std::move(path))
{
}

QString FileSettingsStore::defaultPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/kinetrova/settings.json");
}

FileSettingsStore::ReadStatus FileSettingsStore::read(SettingsTree& tree) const
{
    QFile file(mPath);
    if (!file.open(QIODevice::ReadOnly))
        return file.exists() ? ReadStatus::Unreadable : ReadStatus::Missing;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return ReadStatus::Unreadable;
    tree = SettingsTree::fromJson(doc.object());
    return ReadStatus::Ok;
}

QString FileSettingsStore::GetSetting(const QString& application, const QString& section,
                                      const QString& key, const QString& defaultValue) const
{
    SettingsTree tree;
    read(tree);
    return tree.value(application, section, key).value_or(defaultValue);
}

template<typename Change>
void FileSettingsStore::update(Change change)
{
    QDir().mkpath(QFileInfo(mPath).absolutePath());
    QLockFile lock(mPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(200))
        qWarning("Settings file is locked by another program; writing anyway: %s",
                 qPrintable(mPath));

    SettingsTree tree;
    if (read(tree) == ReadStatus::Unreadable) {
        // Keep a damaged file for the user to inspect rather than silently dropping it.
        const QString keep = mPath + QStringLiteral(".damaged");
        QFile::remove(keep);
        QFile::copy(mPath, keep);
        qWarning("Settings file could not be read and was set aside as %s", qPrintable(keep));
    }
    if (!change(tree))
        return;

    QSaveFile file(mPath);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(tree.toJson()).toJson(QJsonDocument::Indented)) < 0
        || !file.commit())
        qWarning("Could not write the settings file %s: %s", qPrintable(mPath),
                 qPrintable(file.errorString()));
}

void FileSettingsStore::SaveSetting(const QString& application, const QString& section,
                                    const QString& key, const QString& value)
{
    update([&](SettingsTree& tree) {
        if (tree.value(application, section, key) == value)
            return false;
        tree.setValue(application, section, key, value);
        return true;
    });
}

void FileSettingsStore::DeleteSetting(const QString& application, const QString& section,
                                      const QString& key)
{
    update([&](SettingsTree& tree) { return tree.remove(application, section, key); });
}

} // namespace kntr
