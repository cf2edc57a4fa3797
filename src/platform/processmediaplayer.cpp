#include "processmediaplayer.h"

#include "musicprocess.h"
#include "musicprotocol.h"

#include <QDeadlineTimer>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <utility>

namespace kntr {

namespace {

QByteArray seconds(double s)
{
    return QByteArray::number(std::max(0.0, s), 'f', 3);
}

} // namespace

ProcessMediaPlayer::ProcessMediaPlayer(MusicProcess& process, PlayListReader reader)
    : mProcess(process)
    , mReader(std::move(reader))
{
    mStatusConnection = QObject::connect(&mProcess, &MusicProcess::statusChanged, [this] { takeStatus(); });
    mFailedConnection = QObject::connect(&mProcess, &MusicProcess::failed, [this] { mLoaded = false; });
    mEntryConnection = QObject::connect(&mProcess, &MusicProcess::entryStarting, [this](int n) {
        if (mLoaded && n >= 1 && n <= entryCount())
            mProcess.setSubject(QFileInfo(mEntries.at(n - 1)).fileName());
    });
    mSince.start();
}

ProcessMediaPlayer::~ProcessMediaPlayer()
{
    QObject::disconnect(mStatusConnection);
    QObject::disconnect(mFailedConnection);
    QObject::disconnect(mEntryConnection);
}

bool ProcessMediaPlayer::setPlayList(const QString& path)
{
    mSkipped.clear();
    mEntries.clear();
    mDurations.clear();
    mLoaded = false;
    mCurrent = 0;
    mPosition = -1.0;
    mDuration = mPartEnd = 0.0;
    mPlaying = false;
    if (mProcess.isDead())
        mProcess.reset(); // a new run gets a new music process

    QStringList candidates;
    for (const QString& entry : mReader ? mReader(path) : QStringList()) {
        if (const std::optional<QString> problem = MusicEntryCheck::problem(entry))
            mSkipped.push_back({entry, *problem});
        else
            candidates << entry;
    }
    checkWithDecoder(candidates);
    if (mEntries.isEmpty()) {
        // Whatever the music process still holds is let go.
        mProcess.send("clear");
        mProcess.send("load");
        return false;
    }

    mProcess.send("clear");
    for (const QString& entry : std::as_const(mEntries))
        mProcess.send("add " + music::encode(entry));
    mProcess.send(QByteArray("autostart ") + (mAutoStart ? "1" : "0"));
    const std::optional<QList<QByteArray>> reply =
        mProcess.waitForReply("loaded", mProcess.send("load"), kLoadMs);
    if (!reply || reply->value(2) != "1") {
        const QString why = reply ? QStringLiteral("the music player could not play it")
                                  : QStringLiteral("the music player stopped while loading the play list");
        for (const QString& entry : std::as_const(mEntries))
            mSkipped.push_back({entry, why});
        mEntries.clear();
        mDurations.clear();
        return false;
    }
    mLoaded = true;
    mCurrent = 1;
    mPosition = 0.0;
    mDuration = mDurations.front();
    mPlaying = mAutoStart;
    mSince.restart();
    noteSubject();
    return true;
}

void ProcessMediaPlayer::checkWithDecoder(const QStringList& candidates)
{
    const QDeadlineTimer all(kListCheckMs);
    qsizetype next = 0;
    int restarts = 0;
    const auto skipRest = [&](const QString& why) {
        for (; next < candidates.size(); ++next)
            mSkipped.push_back({candidates.at(next), why});
    };
    while (next < candidates.size()) {
        if (restarts > kMaxRestarts) {
            skipRest(QStringLiteral("the music player failed on the entries before it"));
            return;
        }
        if (!mProcess.ensureStarted() || !mProcess.waitForStarted()) {
            skipRest(QStringLiteral("the music player (kinetrova-music) could not be started"));
            return;
        }
        // All questions at once; the answers come in order.
        std::vector<qint64> numbers;
        for (qsizetype i = next; i < candidates.size(); ++i)
            numbers.push_back(mProcess.send("probe " + music::encode(candidates.at(i))));
        for (const qint64 number : numbers) {
            const QString& entry = candidates.at(next);
            const int ms = static_cast<int>(std::min<qint64>(kEntryCheckMs, all.remainingTime()));
            const std::optional<QList<QByteArray>> reply = mProcess.waitForReply("probed", number, ms);
            ++next;
            if (!reply) {
                // It crashed or hung on this entry; the rest are checked by a new process.
                mSkipped.push_back({entry,
                                    all.hasExpired() ? QStringLiteral("checking the play list took too long")
                                                     : QStringLiteral("the music player failed on it")});
                mProcess.reset();
                ++restarts;
                if (all.hasExpired())
                    skipRest(QStringLiteral("checking the play list took too long"));
                break;
            }
            if (reply->value(2) == "ok") {
                mEntries << entry;
                mDurations.push_back(reply->value(3).toLongLong() / 1000.0);
            } else {
                mSkipped.push_back({entry, music::decode(reply->value(3))});
            }
        }
    }
}

int ProcessMediaPlayer::entryCount() const
{
    return static_cast<int>(mEntries.size());
}

void ProcessMediaPlayer::selectEntry(int n)
{
    if (!usable() || n < 1 || n > entryCount())
        return;
    mProcess.send("select " + QByteArray::number(n));
    settle();
    if (mAutoStart)
        mPlaying = true;
    if (n == mCurrent)
        return; // it keeps its place
    mCurrent = n;
    mPosition = 0.0;
    mDuration = mDurations.at(n - 1);
    mPartEnd = 0.0;
    noteSubject();
}

int ProcessMediaPlayer::currentEntry() const
{
    return mEntries.isEmpty() ? 0 : mCurrent;
}

double ProcessMediaPlayer::position() const
{
    if (!usable() || mPosition < 0.0)
        return -1.0;
    double at = mPosition + (mPlaying ? mSince.elapsed() / 1000.0 : 0.0);
    const double end = mPartEnd > 0.0 ? mPartEnd : mDuration;
    if (end > 0.0)
        at = std::min(at, end);
    return at;
}

double ProcessMediaPlayer::duration() const
{
    return usable() ? mDuration : 0.0;
}

void ProcessMediaPlayer::setPart(double start, double end)
{
    if (!usable())
        return;
    mProcess.send("part " + seconds(start) + ' ' + seconds(end));
    mPosition = std::max(0.0, start);
    mPartEnd = std::max(0.0, end);
    mSince.restart();
}

void ProcessMediaPlayer::setAutoStart(bool on)
{
    mAutoStart = on;
    if (usable())
        mProcess.send(QByteArray("autostart ") + (on ? "1" : "0"));
}

void ProcessMediaPlayer::play()
{
    if (!usable())
        return;
    mProcess.send("play");
    settle();
    mPlaying = true;
    noteSubject();
}

void ProcessMediaPlayer::pause()
{
    if (!usable())
        return;
    mProcess.send("pause");
    settle();
    mPlaying = false;
}

bool ProcessMediaPlayer::usable() const
{
    return mLoaded && !mProcess.isDead();
}

void ProcessMediaPlayer::takeStatus()
{
    const MusicProcess::Status& status = mProcess.status();
    if (!mLoaded || status.entries != entryCount() || status.entry < 1)
        return;
    const bool movedOn = status.entry != mCurrent;
    mCurrent = status.entry;
    mPosition = status.position;
    mDuration = status.duration > 0.0 ? status.duration : mDurations.at(mCurrent - 1);
    mPlaying = status.playing;
    mSince.restart();
    if (movedOn) {
        mPartEnd = 0.0; // moving on ends the part
        noteSubject();
    }
}

void ProcessMediaPlayer::settle()
{
    mPosition = position();
    mSince.restart();
}

void ProcessMediaPlayer::noteSubject()
{
    if (mCurrent >= 1 && mCurrent <= entryCount())
        mProcess.setSubject(QFileInfo(mEntries.at(mCurrent - 1)).fileName());
}

QStringList ProcessMediaPlayer::skippedNotes() const
{
    QStringList notes;
    for (const SkippedEntry& entry : mSkipped)
        notes << QStringLiteral("%1 was skipped: %2").arg(QFileInfo(entry.path).fileName(), entry.reason);
    return notes;
}

} // namespace kntr
