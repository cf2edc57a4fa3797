#pragma once

#include "platform/cddevice.h"
#include "platform/mastergain.h"
#include "platform/qtmediaplayer.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <deque>
#include <memory>

class QSocketNotifier;
class QTimer;

namespace kntr {

/// The music process's side of the line protocol (platform/musicprotocol.h):
/// reads commands from stdin without blocking, carries them out one after the
/// other on the play-list player and the CD device, and reports on stdout.
/// The player and the CD device are made on first use.
class MusicServer : public QObject {
    Q_OBJECT

public:
    /// How long the decoder may take to open an entry being checked.
    static constexpr int kProbeMs = 3000;

    /// cdDevice names the CD drive or image; empty for the default drive.
    explicit MusicServer(QString cdDevice, QObject* parent = nullptr);

private:
    void readInput();
    /// Carries out the commands read, unless one is being carried out already
    /// (a player's wait lets input in while it loads).
    void runQueued();
    void run(const QByteArray& line);
    void probe(qint64 number, const QString& path);
    void runCd(qint64 number, const QString& command);
    void reportStatus();
    void reply(const QByteArray& line);
    QtMediaPlayer& player();
    /// Stops the music and exits at once, past every destructor.
    [[noreturn]] void finish();

    QString mCdDevice;
    MasterGain mGain;
    std::unique_ptr<QtMediaPlayer> mPlayer;
    std::unique_ptr<CdDevice> mCd;
    QSocketNotifier* mInput;
    QTimer* mHeartbeat;

    QByteArray mPartial; ///< input after the last complete line
    std::deque<QByteArray> mQueue;
    bool mBusy = false;
    bool mInputEnded = false;
    qint64 mDone = 0; ///< commands carried out
    QStringList mAdded; ///< the play list being put together
    QStringList mList; ///< the play list loaded

    bool mCdInUse = false; ///< played since the last stop or close
    bool mCdPlaying = false;
    int mCdCode = -1;
    int mCdFrame = 0;
};

} // namespace kntr
