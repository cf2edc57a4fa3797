#include "runmusic.h"

#include "cdposition.h"
#include "levelswitch.h"

#include "model/storedsettings.h"
#include "platform/cddevice.h"
#include "platform/clock.h"
#include "platform/mediaplayer.h"
#include "platform/settingsstore.h"
#include "tones/mcicommands.h"

#include <utility>

namespace kntr {

namespace {

constexpr double kFirstSecond = 1.0;
/// A place this close to an entry's end moves on to the next entry.
constexpr double kNearEndSeconds = 10.0;

} // namespace

RunMusic::RunMusic(SettingsStore& settings, CdDevice& cd, MciCommands& mci, MediaPlayer& player,
                   LevelSwitch& levels, Clock& clock)
    : mSettings(settings)
    , mCd(cd)
    , mMci(mci)
    , mPlayer(player)
    , mLevels(levels)
    , mClock(clock)
{
}

int RunMusic::menuEntry() const
{
    if (mAudioType == kCd || mAudioType == kCdVariant)
        return 2;
    return mAudioType == kPlayList ? 3 : 1;
}

QString RunMusic::playListFile() const
{
    return AudioSettings(mSettings).playList();
}

void RunMusic::store(int value)
{
    mAudioType = value;
    AudioSettings(mSettings).setMusicSource(value);
}

void RunMusic::SetAudioType(int value)
{
    mCd.sendCommand(QStringLiteral("stop cdaudio"));
    mCd.sendCommand(QStringLiteral("close cdaudio"));
    switch (value) {
    case 2:
    case 4:
        store(kCdVariant);
        break;
    case 3:
        store(kCd);
        break;
    case 5:
        store(playListFile().isEmpty() ? kNone : kPlayList);
        break;
    default:
        store(kNone);
        break;
    }
}

void RunMusic::restoreAudioType()
{
    SetAudioType(AudioSettings(std::as_const(mSettings)).musicSourceText(QStringLiteral("1")).toInt());
}

void RunMusic::chooseMenuEntry(int entry)
{
    SetAudioType(entry == 2 ? kCd : entry == 3 ? kPlayList : kNone);
}

bool RunMusic::cdPresent()
{
    QString answer;
    mCd.sendCommand(QStringLiteral("status cdaudio media present"), &answer);
    return answer.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

bool RunMusic::loadPlayList()
{
    const bool loaded = mPlayer.setPlayList(playListFile());
    mNotes = mPlayer.skippedNotes();
    if (!loaded)
        return false;
    mPlayer.selectEntry(1);
    mEntry = 1;
    mPosition = kFirstSecond;
    mPlayer.setPart(kFirstSecond, mPlayer.duration());
    mPlayer.setAutoStart(true);
    return mPlayer.position() >= 0;
}

void RunMusic::reloadPlayList()
{
    mPlayer.setPlayList(playListFile());
    mNotes = mPlayer.skippedNotes();
}

QStringList RunMusic::takeNotes()
{
    return std::exchange(mNotes, {});
}

void RunMusic::dropForThisRun()
{
    mDropped = true;
    mLevels.useLevel(SoundLevel::Main);
}

void RunMusic::startMusic(bool resumed)
{
    if (isCd()) {
        if (!resumed) {
            mLevels.useLevel(SoundLevel::Music);
            mCd.sendCommand(QStringLiteral("play cdaudio"));
            return;
        }
        if (mCdPosition.mid(2, 1) == QLatin1String(":"))
            mCd.sendCommand(QStringLiteral("play cdaudio from ") + mCdPosition);
        else if (mCdPosition.trimmed().isEmpty())
            mCd.sendCommand(QStringLiteral("play cdaudio"));
        else
            mCd.sendCommand(QStringLiteral("play cdaudio from ")
                            + QString::number(mCdPosition.trimmed().toLongLong() * 1000));
    } else if (isPlayList()) {
        if (resumed)
            resume(); // the play list was read again before the run
        else
            mPlayer.play();
    }
}

void RunMusic::saveCdPosition()
{
    QString answer;
    mCd.sendCommand(QStringLiteral("status cdaudio position"), &answer);
    mCdPosition = answer.leftJustified(50, QLatin1Char(' '), true);
}

void RunMusic::pause()
{
    if (isCd()) {
        saveCdPosition();
        mCd.sendCommand(QStringLiteral("pause cdaudio"));
        mCdPausedAt = mClock.tickMs();
    } else if (isPlayList()) {
        notePlace();
        mPlayer.pause();
    }
}

void RunMusic::selectPart(double from)
{
    mPlayer.selectEntry(mEntry);
    mPlayer.setPart(from, mPlayer.duration());
}

void RunMusic::resume()
{
    if (isCd()) {
        mLevels.useLevel(SoundLevel::Music);
        mCdPosition = cdResumePosition(mCdPosition, mClock.tickMs() - mCdPausedAt);
        mCd.sendCommand(QStringLiteral("play cdaudio from ") + mCdPosition.trimmed());
    } else if (isPlayList()) {
        mLevels.useLevel(SoundLevel::Music);
        mPlayer.play();
        selectPart(mPosition);
        if (mPosition + kNearEndSeconds >= mPlayer.duration()) {
            mEntry = mEntry < mPlayer.entryCount() ? mEntry + 1 : 1;
            mPosition = kFirstSecond;
            selectPart(mPosition);
        }
    } else {
        mLevels.useLevel(SoundLevel::Main);
    }
}

void RunMusic::stopAtEnd()
{
    if (isPlayList()) {
        notePlace();
        mPlayer.pause();
    } else if (isCd() && mAudioType == kCd) {
        mCd.sendCommand(QStringLiteral("stop cdaudio"));
    } else if (isCd()) {
        saveCdPosition();
        mMci.SendMci(QStringLiteral("stop cdaudio"), true);
    }
}

void RunMusic::afterRun(bool resumed)
{
    if (!resumed && isCd()) {
        saveCdPosition();
        mCd.sendCommand(QStringLiteral("pause cdaudio"));
    } else if (resumed && isCd() && mAudioType == kCd) {
        mCd.sendCommand(QStringLiteral("stop cdaudio"));
        mCd.sendCommand(QStringLiteral("close cdaudio"));
    }
    mDropped = false;
}

void RunMusic::cancelCountdown()
{
    if (isCd())
        mCd.sendCommand(QStringLiteral("stop cdaudio"));
}

void RunMusic::notePlace()
{
    if (!isPlayList())
        return;
    mEntry = mPlayer.currentEntry();
    mPosition = mPlayer.position();
}

} // namespace kntr
