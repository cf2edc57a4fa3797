#include "voicecues.h"

#include "model/numbers.h"
#include "platform/clock.h"
#include "platform/waveplayer.h"

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

VoiceCues::VoiceCues(WavePlayer& player, Clock& clock, QString clipDir)
    : mPlayer(player)
    , mClock(clock)
    , mClipDir(std::move(clipDir))
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

void VoiceCues::PlayCue(const QString& word)
{
    mPlayer.playFile(clipPath(word));
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

void VoiceCues::SpeakNumber(const QString& text)
{
    const QStringList words = numberWords(text);
    for (int i = 0; i < words.size(); ++i) {
        PlayCue(words[i]);
        if (i + 1 >= words.size() - 2) // after the whole part and after each clip that follows
            mClock.processEvents();
    }
}

} // namespace kntr
