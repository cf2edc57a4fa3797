#include "musicserver.h"

#include "platform/cddevicefactory.h"
#include "platform/helperprogram.h"
#include "platform/musicentrycheck.h"
#include "platform/musicprotocol.h"

#include <QEventLoop>
#include <QMediaPlayer>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <utility>

namespace kntr {

MusicServer::MusicServer(QString cdDevice, QObject* parent)
    : QObject(parent)
    , mCdDevice(std::move(cdDevice))
    , mInput(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this))
    , mHeartbeat(new QTimer(this))
{
    ::fcntl(STDIN_FILENO, F_SETFL, ::fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
    connect(mInput, &QSocketNotifier::activated, this, &MusicServer::readInput);
    connect(mHeartbeat, &QTimer::timeout, this, &MusicServer::reportStatus);
    mHeartbeat->start(music::kStatusIntervalMs);
    reportStatus();
}

void MusicServer::readInput()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n > 0) {
            mPartial.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN) {
            mInputEnded = true;
            mInput->setEnabled(false);
        }
        break;
    }
    if (mInputEnded && mBusy)
        finish(); // nobody waits for the command being carried out
    for (qsizetype end = mPartial.indexOf('\n'); end >= 0; end = mPartial.indexOf('\n')) {
        mQueue.push_back(mPartial.left(end));
        mPartial.remove(0, end + 1);
    }
    runQueued();
}

void MusicServer::runQueued()
{
    if (mBusy)
        return;
    mBusy = true;
    while (!mQueue.empty()) {
        const QByteArray line = std::move(mQueue.front());
        mQueue.pop_front();
        run(line);
        ++mDone;
        reportStatus();
    }
    mBusy = false;
    if (mInputEnded)
        finish();
}

void MusicServer::run(const QByteArray& line)
{
    const QList<QByteArray> words = line.split(' ');
    const QByteArray& verb = words.at(0);
    const QByteArray arg1 = words.value(1);
    const qint64 number = mDone + 1;
    if (verb == "gain") {
        mGain.setLevel(arg1.toUInt());
        mGain.setMuted(words.value(2) == "1");
    } else if (verb == "probe") {
        probe(number, music::decode(arg1));
    } else if (verb == "clear") {
        mAdded.clear();
    } else if (verb == "add") {
        mAdded << music::decode(arg1);
    } else if (verb == "load") {
        mList = std::exchange(mAdded, {});
        const bool ok = player().setPlayList(QString());
        reply("loaded " + QByteArray::number(number) + (ok ? " 1" : " 0"));
    } else if (verb == "select") {
        if (mPlayer)
            mPlayer->selectEntry(arg1.toInt());
    } else if (verb == "part") {
        if (mPlayer)
            mPlayer->setPart(arg1.toDouble(), words.value(2).toDouble());
    } else if (verb == "autostart") {
        player().setAutoStart(arg1 == "1");
    } else if (verb == "play") {
        if (mPlayer)
            mPlayer->play();
    } else if (verb == "pause") {
        if (mPlayer)
            mPlayer->pause();
    } else if (verb == "cd") {
        runCd(number, music::decode(arg1));
    } else {
        qWarning("kinetrova-music: unknown command \"%s\"", verb.constData());
    }
}

void MusicServer::probe(qint64 number, const QString& path)
{
    const QByteArray head = "probed " + QByteArray::number(number);
    // The decoder never sees a file that our own check turns down.
    if (const std::optional<QString> problem = MusicEntryCheck::problem(path)) {
        reply(head + " bad " + music::encode(*problem));
        return;
    }
    QMediaPlayer decoder;
    QEventLoop loop;
    bool error = false;
    const auto settled = [&decoder, &error] {
        const QMediaPlayer::MediaStatus status = decoder.mediaStatus();
        return error || status == QMediaPlayer::InvalidMedia || status == QMediaPlayer::LoadedMedia
            || status == QMediaPlayer::BufferingMedia || status == QMediaPlayer::BufferedMedia;
    };
    connect(&decoder, &QMediaPlayer::mediaStatusChanged, &loop, [&] {
        if (settled())
            loop.quit();
    });
    connect(&decoder, &QMediaPlayer::errorOccurred, &loop, [&](QMediaPlayer::Error e) {
        error = e != QMediaPlayer::NoError;
        if (settled())
            loop.quit();
    });
    QTimer::singleShot(kProbeMs, &loop, &QEventLoop::quit);
    decoder.setSource(QUrl::fromLocalFile(path));
    if (!settled())
        loop.exec();
    const QMediaPlayer::MediaStatus status = decoder.mediaStatus();
    if (!error && status != QMediaPlayer::InvalidMedia && settled()) {
        reply(head + " ok " + QByteArray::number(decoder.duration()));
    } else {
        const QString why = !settled() ? QStringLiteral("the decoder took too long to open it")
            : decoder.errorString().isEmpty()
            ? QStringLiteral("the decoder cannot open it")
            : QStringLiteral("the decoder cannot open it: ") + decoder.errorString();
        reply(head + " bad " + music::encode(why));
    }
    decoder.setSource(QUrl());
}

void MusicServer::runCd(qint64 number, const QString& command)
{
    if (!mCd)
        mCd = makeCdDevice(mCdDevice, &mGain);
    QString answer;
    const int code = mCd->sendCommand(command, &answer);
    reply("cd " + QByteArray::number(number) + ' ' + QByteArray::number(code) + ' ' + music::encode(answer));
    const QString verb = command.simplified().section(QLatin1Char(' '), 0, 0).toLower();
    if (verb == QLatin1String("play")) {
        mCdInUse = code == CdDevice::kOk;
        mCdPlaying = mCdInUse;
    } else if (verb == QLatin1String("pause")) {
        mCdPlaying = false;
    } else if (verb == QLatin1String("stop") || verb == QLatin1String("close")) {
        mCdInUse = mCdPlaying = false;
    }
    mCdCode = mCd->sendCommand(QStringLiteral("status cdaudio position"), &answer);
    if (mCdCode == CdDevice::kOk)
        mCdFrame = CdDevice::parsePosition(answer).value_or(0);
}

void MusicServer::reportStatus()
{
    if (mCd && mCdInUse) {
        QString answer;
        mCdCode = mCd->sendCommand(QStringLiteral("status cdaudio position"), &answer);
        if (mCdCode == CdDevice::kOk)
            mCdFrame = CdDevice::parsePosition(answer).value_or(mCdFrame);
    }
    QByteArray line = "status seq=" + QByteArray::number(mDone);
    if (mPlayer) {
        line += " entry=" + QByteArray::number(mPlayer->currentEntry())
            + " entries=" + QByteArray::number(mPlayer->entryCount())
            + " pos=" + QByteArray::number(std::llround(mPlayer->position() * 1000.0))
            + " dur=" + QByteArray::number(std::llround(mPlayer->duration() * 1000.0))
            + " playing=" + (mPlayer->isPlaying() ? "1" : "0");
    }
    if (mCd) {
        line += " cdcode=" + QByteArray::number(mCdCode) + " cd=" + QByteArray::number(mCdFrame)
            + " cdplaying=" + (mCdPlaying ? "1" : "0");
    }
    reply(line);
}

void MusicServer::reply(const QByteArray& line)
{
    writeToParentOrExit(line + '\n');
}

QtMediaPlayer& MusicServer::player()
{
    if (!mPlayer) {
        mPlayer = std::make_unique<QtMediaPlayer>([this](const QString&) { return mList; }, &mGain);
        mPlayer->setEntryCheck([this](const QString& path) {
            if (MusicEntryCheck::problem(path))
                return false;
            // Should the decoder take this process down, the program knows which entry did it.
            reply("entry " + QByteArray::number(mPlayer->currentEntry()));
            return true;
        });
    }
    return *mPlayer;
}

void MusicServer::finish()
{
    if (mPlayer)
        mPlayer->pause();
    if (mCd && mCdInUse)
        mCd->sendCommand(QStringLiteral("stop cdaudio"));
    // Qt Multimedia's teardown is no use to a process that ends here.
    ::_exit(0);
}

} // namespace kntr
