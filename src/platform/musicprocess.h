#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QProcess;
class QTimer;

namespace kntr {

class MasterGain;

/// The connection to the music process (kinetrova-music, see musicprotocol.h)
/// that ProcessMediaPlayer and ProcessCdDevice share.
///
/// The process is started on first use. Commands are written and not waited
/// for; the process reports its state at least every 100 ms. When it crashes,
/// exits or stops reporting for kHangMs it is killed and the connection goes
/// dead: commands do nothing, and the failure handler is told once what was
/// playing. reset() (before a run) allows a fresh process again.
///
/// Only waitForReply blocks, with a hard limit and without an event loop: for
/// the calls made before a run that need an answer.
class MusicProcess : public QObject {
    Q_OBJECT

public:
    /// A process that sends nothing for this long is taken as hung.
    static constexpr int kHangMs = 1000;
    /// How long a starting process may take before its first report.
    static constexpr int kStartMs = 5000;
    /// How long end() gives the process to exit once its input is closed.
    static constexpr int kEndMs = 200;

    /// The state the process last reported after carrying out every command sent.
    struct Status {
        int entry = 0;
        int entries = 0;
        double position = -1.0; ///< seconds
        double duration = 0.0; ///< seconds
        bool playing = false;
        int cdCode = -1; ///< -1 while the CD has not been used
        int cdFrame = 0;
        bool cdPlaying = false;
    };

    /// program is the music executable (empty: defaultProgram(), looked for at
    /// the first start); cdDevice names the CD drive or image (empty: the
    /// default drive). The gain, which may be null, is followed.
    MusicProcess(QString program, QString cdDevice, const MasterGain* gain, QObject* parent = nullptr);
    ~MusicProcess() override;

    /// kinetrova-music beside the running executable, or in its libexec folder when installed.
    static QString defaultProgram();

    /// Called once when the process fails during use, with what was playing
    /// (a play-list entry's file name, or "the CD").
    void setFailureHandler(std::function<void(const QString& what)> handler);
    /// What a failure reports as playing.
    void setSubject(const QString& what) { mSubject = what; }

    bool isDead() const { return mDead; }
    bool isRunning() const;
    /// The process id, 0 when no process runs.
    qint64 processId() const;

    /// Starts the process unless it runs or the connection is dead. Whether it runs.
    bool ensureStarted();
    /// Blocks (no event loop) until the process started has begun running; false
    /// when it could not be started (the connection is then dead, nothing reported).
    bool waitForStarted(int ms = kStartMs);
    /// Ends the process without reporting a failure and forgets a failure, so the
    /// next use starts a fresh process.
    void reset();
    /// Closes the process's input, gives it graceMs to exit, then kills it.
    void end(int graceMs = kEndMs);

    /// Writes one command line (without "\n") if the process runs; returns its
    /// number for waitForReply, 0 when nothing was sent.
    qint64 send(const QByteArray& line);
    /// Blocks (no event loop) until the reply to command number arrives (a line
    /// "WORD number ..."): its words. Nothing when the process failed or ms
    /// passed; a process that does not answer in time is killed. No failure is
    /// reported from inside this wait: the caller deals with it.
    std::optional<QList<QByteArray>> waitForReply(const QByteArray& word, qint64 number, int ms);

    /// The latest state reported once every command had been carried out.
    const Status& status() const { return mStatus; }

signals:
    /// A new status arrived (status() holds it).
    void statusChanged();
    /// The connection went dead.
    void failed();
    /// The music process is about to open play-list entry n.
    void entryStarting(int n);

private:
    void readLines();
    void handleLine(const QByteArray& line);
    void checkAlive();
    void sendGain();
    /// The process failed (why, for the log): kill it, go dead, and report unless quiet.
    void fail(bool quiet, const QString& why);
    void dropProcess(bool later = true);

    QString mProgram;
    QString mCdDevice;
    QPointer<const MasterGain> mGain;
    std::unique_ptr<QProcess> mProcess;
    QTimer* mWatchdog;
    QElapsedTimer mSinceLine;
    bool mHeard = false; ///< a line came from the current process
    bool mDead = false;
    bool mEnding = false;
    int mQuiet = 0; ///< inside waitForReply: failures are the caller's
    qint64 mSent = 0; ///< commands written to the current process
    Status mStatus;
    QString mSubject;
    QList<QByteArray> mReply; ///< the reply waited for, once it came
    QByteArray mWaitWord;
    qint64 mWaitNumber = 0;
    std::function<void(const QString&)> mFailureHandler;
};

} // namespace kntr
