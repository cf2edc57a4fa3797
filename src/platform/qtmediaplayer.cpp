#include "qtmediaplayer.h"

#include "mastergain.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <utility>

namespace kntr {

namespace {

qint64 toMs(double seconds)
{
    return std::llround(std::max(0.0, seconds) * 1000.0);
}

} // namespace

QtMediaPlayer::QtMediaPlayer(PlayListReader reader, const MasterGain* gain, QObject* parent)
    : QObject(parent)
    , mReader(std::move(reader))
    , mGain(gain)
    , mPlayer(new QMediaPlayer(this))
    , mOutput(new QAudioOutput(this))
    , mLoadTimer(new QTimer(this))
{
    mPlayer->setAudioOutput(mOutput);
    mLoadTimer->setSingleShot(true);
    connect(mLoadTimer, &QTimer::timeout, this, [this] {
        if (mState == State::Loading)
            entryFailed();
        if (mWaitLoop && mState != State::Loading)
            mWaitLoop->quit();
    });
    // The backend's signals may come from inside its own calls: they only note
    // that something changed, and the change is handled from the event loop.
    connect(mPlayer, &QMediaPlayer::mediaStatusChanged, this, &QtMediaPlayer::noteChange);
    connect(mPlayer, &QMediaPlayer::positionChanged, this, &QtMediaPlayer::noteChange);
    connect(mPlayer, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError)
            mError = true;
        noteChange();
    });
    if (gain)
        connect(gain, &MasterGain::changed, this, &QtMediaPlayer::applyGain);
    applyGain();
}

QtMediaPlayer::~QtMediaPlayer()
{
    mLoadTimer->stop();
    mPlayer->disconnect(this);
    mPlayer->stop();
}

bool QtMediaPlayer::setPlayList(const QString& path)
{
    mLoadTimer->stop();
    mPlayer->stop();
    mEntries = mReader ? mReader(path) : QStringList();
    mCurrent = 0;
    mFailedInRow = 0;
    mPartStart = mPartEnd = 0.0;
    mWantPlay = mAutoStart;
    if (mEntries.isEmpty()) {
        mState = State::Empty;
        mWantPlay = false;
        mPlayer->setSource(QUrl());
        return false;
    }
    startEntry(1);
    waitWhileLoading();
    if (mState == State::Loading)
        giveUp(); // a player that cannot load within the wait does not count as playable
    return mState == State::Loaded;
}

int QtMediaPlayer::entryCount() const
{
    return static_cast<int>(mEntries.size());
}

void QtMediaPlayer::selectEntry(int n)
{
    if (n < 1 || n > entryCount())
        return;
    if (mAutoStart)
        mWantPlay = true;
    if (n == mCurrent && mState == State::Loaded) {
        // Already there: it keeps its place, so a resume goes on without a reload.
        if (mWantPlay)
            play();
        return;
    }
    mPartStart = mPartEnd = 0.0;
    mFailedInRow = 0;
    startEntry(n);
    waitWhileLoading();
}

int QtMediaPlayer::currentEntry() const
{
    return mEntries.isEmpty() ? 0 : mCurrent;
}

double QtMediaPlayer::position() const
{
    switch (mState) {
    case State::Loading:
        return mPartStart;
    case State::Loaded:
        return mPlayer->position() / 1000.0;
    case State::Empty:
    case State::Dead:
        break;
    }
    return -1.0;
}

double QtMediaPlayer::duration() const
{
    return mState == State::Loaded ? mPlayer->duration() / 1000.0 : 0.0;
}

void QtMediaPlayer::setPart(double start, double end)
{
    mPartStart = std::max(0.0, start);
    mPartEnd = std::max(0.0, end);
    if (mState == State::Loaded) {
        mPlayer->setPosition(toMs(mPartStart));
        noteChange();
    }
}

void QtMediaPlayer::setAutoStart(bool on)
{
    mAutoStart = on;
}

void QtMediaPlayer::play()
{
    mWantPlay = true;
    if (mState != State::Loaded)
        return; // a loading entry starts once it is loaded
    if (mPlayer->mediaStatus() == QMediaPlayer::EndOfMedia)
        advance();
    else
        mPlayer->play();
}

void QtMediaPlayer::pause()
{
    mWantPlay = false;
    if (mState == State::Loaded)
        mPlayer->pause();
}

void QtMediaPlayer::startEntry(int n)
{
    mLoadTimer->stop();
    const int count = entryCount();
    for (int tried = 0; tried < count && mFailedInRow < count; ++tried, n = nextEntry(n)) {
        mCurrent = n;
        const QFileInfo file(mEntries.at(n - 1));
        if (!file.isFile() || !file.isReadable() || (mEntryCheck && !mEntryCheck(file.absoluteFilePath()))) {
            ++mFailedInRow;
            continue;
        }
        const QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
        mState = State::Loading;
        mError = false;
        // The same source set again is not loaded again: clear it first.
        if (mPlayer->source() == url)
            mPlayer->setSource(QUrl());
        mPlayer->setSource(url);
        mLoadTimer->start(kEntryLoadMs);
        // The backend may have finished loading inside setSource.
        noteChange();
        return;
    }
    giveUp();
}

int QtMediaPlayer::nextEntry(int n) const
{
    return n < entryCount() ? n + 1 : 1;
}

void QtMediaPlayer::entryFailed()
{
    ++mFailedInRow;
    mPartStart = mPartEnd = 0.0;
    if (mFailedInRow >= entryCount())
        giveUp();
    else
        startEntry(nextEntry(mCurrent));
}

void QtMediaPlayer::advance()
{
    mPartStart = mPartEnd = 0.0;
    mFailedInRow = 0;
    startEntry(nextEntry(mCurrent));
}

void QtMediaPlayer::giveUp()
{
    mLoadTimer->stop();
    mState = State::Dead;
    mPlayer->stop();
    mPlayer->setSource(QUrl());
}

void QtMediaPlayer::noteChange()
{
    if (mUpdatePending)
        return;
    mUpdatePending = true;
    QMetaObject::invokeMethod(this, &QtMediaPlayer::update, Qt::QueuedConnection);
}

void QtMediaPlayer::update()
{
    mUpdatePending = false;
    const QMediaPlayer::MediaStatus status = mPlayer->mediaStatus();
    if (mState == State::Loading) {
        if (mError || status == QMediaPlayer::InvalidMedia) {
            entryFailed();
        } else if (status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia
                   || status == QMediaPlayer::BufferedMedia) {
            mLoadTimer->stop();
            mState = State::Loaded;
            mFailedInRow = 0;
            if (mPartStart > 0.0)
                mPlayer->setPosition(toMs(mPartStart));
            if (mWantPlay)
                mPlayer->play();
        }
    } else if (mState == State::Loaded) {
        if (mError)
            entryFailed(); // broken further in than loading could tell
        else if (mWantPlay
                 && (status == QMediaPlayer::EndOfMedia
                     || (mPartEnd > 0.0 && mPlayer->position() >= toMs(mPartEnd))))
            advance();
    }
    if (mWaitLoop && mState != State::Loading)
        mWaitLoop->quit();
}

void QtMediaPlayer::waitWhileLoading()
{
    if (mState != State::Loading)
        return;
    // Window input waits meanwhile: a click must not start a run step inside this one.
    QEventLoop loop;
    QEventLoop* outer = std::exchange(mWaitLoop, &loop);
    QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    mWaitLoop = outer;
    if (mWaitLoop && mState != State::Loading)
        mWaitLoop->quit();
}

void QtMediaPlayer::applyGain()
{
    mOutput->setVolume(mGain ? static_cast<float>(mGain->gain()) : 1.0f);
}

} // namespace kntr
