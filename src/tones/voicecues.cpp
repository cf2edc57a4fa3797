#include "voicecues.h"

#include "model/numbers.h"

#include <QDir>

namespace kntr {

namespace {

// The value of the number a text starts with, as far as it reads as digits ("12" → 12).
int leadingValue(const QString& text)
{
    int value = 0;
    for (QChar c : text) {
        if (!c.isDigit())
            break;
        value = std::min(value * 10 + c.digitValue(), 100000);
    }
    return value;
}

} // namespace

VoiceCues::VoiceCues(QString clipDir)
    : mClipDir(std::move(clipDir))
{
}

QString VoiceCues::clipPath(const QString& word) const
{
    const QString name = word + QStringLiteral(".wav");
    const QDir dir(mClipDir);
    for (const QString& entry : dir.entryList(QDir::Files)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

QStringList VoiceCues::numberWords(const QString& text)
{
    return numberWords(text, systemDecimalSeparator());
}

QStringList VoiceCues::numberWords(const QString& text, QChar separator)
{
    QString number = text;
    if (!number.contains(separator))
        number += separator + QStringLiteral("0");
    const QString whole = number.left(number.indexOf(separator));

    QStringList words;
    if (leadingValue(whole) >= 13)
        words << whole.mid(0, 1) << whole.mid(1, 1);
    else
        words << whole;
    words << QStringLiteral("point") << number.right(1);
    return words;
}

} // namespace kntr
