#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kntr::test {

/// A temporary folder that XDG_CONFIG_HOME and XDG_DATA_HOME point into while
/// the object lives; the previous values come back afterwards.
class ScopedXdgHome {
public:
    ScopedXdgHome();
    ~ScopedXdgHome();
    ScopedXdgHome(const ScopedXdgHome&) = delete;
    ScopedXdgHome& operator=(const ScopedXdgHome&) = delete;

    QString configHome() const { return mDir.path() + QStringLiteral("/config"); }
    QString dataHome() const { return mDir.path() + QStringLiteral("/data"); }
    QString path() const { return mDir.path(); }

private:
    QTemporaryDir mDir;
    QByteArray mOldConfig, mOldData;
};

} // namespace kntr::test

#include <ostream>

/// Lets GoogleTest print QStrings as text in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
