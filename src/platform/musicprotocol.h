#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace kntr {

/// The line protocol between Kinetrova and its music process, kinetrova-music,
/// which plays the music (a play list or an audio CD) apart from the tones, so
/// that a file that crashes a decoder ends the music but never a run.
///
/// Every line is one message: words separated by single spaces, ending in "\n".
/// Paths and free text are percent-encoded (no spaces, no line breaks in them).
///
/// To the music process (its stdin), carried out one after the other:
///   gain LEVEL MUTED          the master level (0 … 65535) and mute (0/1) to play at
///   probe PATH                can the decoder open PATH? answered by "probed"
///   clear                     empties the play list being put together
///   add PATH                  appends an entry (checked again before the decoder opens it)
///   load                      loads the play list of the entries added; answered by "loaded"
///   select N | part START END | autostart 0/1 | play | pause
///                             the MediaPlayer calls (seconds with decimals)
///   cd COMMAND                a CD device command ("play%20cdaudio%20from%2000:02:00",
///                             see CdDevice); answered by "cd"
/// End of input makes it stop playing and exit at once.
///
/// From the music process (its stdout):
///   status KEY=VALUE ...      at least every kStatusIntervalMs and after every command:
///                             seq (commands carried out so far), entry, entries,
///                             pos and dur (ms), playing (0/1), cdcode, cd (disc frame),
///                             cdplaying (0/1); the play-list fields once a play list
///                             was loaded, the CD fields once the CD was used
///   probed N ok DURATION_MS | probed N bad REASON
///   loaded N 0/1              whether the play list loaded holds an entry that plays
///   cd N CODE ANSWER          the code and answer (possibly empty) of a CD command
///   entry E                   play-list entry E is about to be opened by the decoder
/// "probed", "loaded" and "cd" name the command they answer by its number N: the
/// commands are numbered from 1 in the order they were sent.
namespace music {

constexpr int kStatusIntervalMs = 100;

inline QByteArray encode(const QString& text)
{
    return text.toUtf8().toPercentEncoding("/:.-_~()[]+,=@");
}

inline QString decode(const QByteArray& word)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(word));
}

/// The KEY=VALUE words of a status line, after "status".
inline QHash<QByteArray, QByteArray> fields(const QList<QByteArray>& words)
{
    QHash<QByteArray, QByteArray> result;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const qsizetype eq = words.at(i).indexOf('=');
        if (eq > 0)
            result.insert(words.at(i).left(eq), words.at(i).mid(eq + 1));
    }
    return result;
}

} // namespace music

} // namespace kntr
