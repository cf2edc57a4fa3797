#include "filesettingsstore.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

#include <thread>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kntr {

namespace {

/// A larger file is not a settings file: it is neither read nor replaced.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

/// A file descriptor that closes itself.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd)
        : mFd(fd)
    {
    }
    Fd(Fd&& other) noexcept
        : mFd(std::exchange(other.mFd, -1))
    {
    }
    Fd& operator=(Fd&& other) noexcept
    {
        std::swap(mFd, other.mFd);
        return *this;
    }
    ~Fd()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    int get() const { return mFd; }
    bool valid() const { return mFd >= 0; }

private:
    int mFd = -1;
};

/// Opens without blocking (a FIFO would wait for a writer) and without becoming
/// the controlling terminal; the descriptor is not passed on to started programs.
Fd openForReading(const QByteArray& path, int flags = 0)
{
    int fd;
    do
        fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | flags, 0600);
    while (fd < 0 && errno == EINTR);
    return Fd(fd);
}

/// What identifies one state of the file: a write by rename gives another inode,
/// a write in place another size or modification time, chmod another mode and
/// status-change time.
struct Stamp {
    int error = -1; ///< errno of stat(); 0 when it succeeded; -1 for "never looked"
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    mode_t mode = 0;
    timespec modified{};
    timespec changed{};

    static Stamp of(const struct stat& st)
    {
        return {0, st.st_dev, st.st_ino, st.st_size, st.st_mode, st.st_mtim, st.st_ctim};
    }
    static Stamp ofPath(const QByteArray& path)
    {
        struct stat st { };
        if (::stat(path.constData(), &st) != 0) {
            Stamp failed;
            failed.error = errno;
            return failed;
        }
        return of(st);
    }
    bool operator==(const Stamp& o) const
    {
        return error == o.error && device == o.device && inode == o.inode && size == o.size && mode == o.mode
            && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec
            && changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

/// Reads the whole of an open regular file, at most kMaxFileSize bytes.
bool readAll(const Fd& fd, QByteArray& bytes, QString& problem)
{
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            problem = qt_error_string(errno);
            return false;
        }
        if (n == 0)
            return true;
        bytes.append(buffer, n);
        if (bytes.size() > kMaxFileSize) {
            problem = QStringLiteral("it is larger than 16 MB");
            return false;
        }
    }
}

/// Writes a whole file by a rename over the old one. Unbuffered, for a short write
/// (disk full, file size limit) to be seen: QSaveFile::commit() misses one that
/// happens while it flushes its buffer.
bool writeWhole(const QString& path, const QByteArray& bytes, QString& problem)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size()
        && file.commit())
        return true;
    problem = file.errorString();
    return false;
}

/// Why the file at a path of this stamp is not to be read, or an empty string.
QString unusable(const Stamp& stamp)
{
    if (stamp.error > 0)
        return qt_error_string(stamp.error);
    if (!S_ISREG(stamp.mode))
        return QStringLiteral("it is not a regular file");
    if (stamp.size > kMaxFileSize)
        return QStringLiteral("it is larger than 16 MB");
    // Root reads any file; a file its owner may not read is left alone all the same.
    if (!(stamp.mode & S_IRUSR))
        return QStringLiteral("it has no read permission");
    return {};
}

/// An exclusive lock on the file beside the settings that every writer takes.
/// The system releases it when its holder ends, killed or not, so it never goes stale.
class WriteLock {
public:
    WriteLock(const QString& path, std::chrono::milliseconds timeout)
    {
        const QByteArray name = QFile::encodeName(path);
        const QDeadlineTimer deadline(timeout);
        Fd fd;
        for (;;) {
            if (!fd.valid() && !(fd = openForReading(name, O_CREAT)).valid()) {
                mProblem = qt_error_string(errno);
                return;
            }
            if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
                // The lock counts only if the file locked is still the one at the path.
                struct stat held { };
                const Stamp there = Stamp::ofPath(name);
                if (::fstat(fd.get(), &held) == 0 && there.error == 0 && there.device == held.st_dev
                    && there.inode == held.st_ino) {
                    mFd = std::move(fd);
                    return;
                }
                fd = Fd();
            } else if (errno != EWOULDBLOCK && errno != EINTR) {
                mProblem = qt_error_string(errno);
                return;
            }
            if (deadline.hasExpired()) {
                mProblem = QStringLiteral("another program kept it locked for %1 ms").arg(timeout.count());
                return;
            }
            // Polled often: a program writing one setting after another frees the lock
            // only for some microseconds between its writes.
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
    bool held() const { return mFd.valid(); }
    const QString& problem() const { return mProblem; }

private:
    Fd mFd;
    QString mProblem;
};

} // namespace

/// The file as last read or written by this object.
struct FileSettingsStore::Snapshot {
    enum class State {
        Missing, ///< no file: reads give defaults, a write creates it
        Whole, ///< the tree holds everything the file holds
        Partial, ///< damaged or lossy: the tree holds what could be read; original the rest
        Unusable, ///< not to be read nor replaced (problem says why)
    };
    Stamp stamp;
    State state = State::Missing;
    SettingsTree tree;
    QByteArray original; ///< the bytes of a Partial file, set aside before it is replaced
    QString problem;
    Fd fd; ///< the file read, held open so that no later file can take its inode number

    static Snapshot load(const QString& path, const Stamp& stamp);
};

FileSettingsStore::Snapshot FileSettingsStore::Snapshot::load(const QString& path, const Stamp& stamp)
{
    Snapshot s;
    s.stamp = stamp;
    if (stamp.error == ENOENT)
        return s;
    auto fail = [&](const QString& problem) {
        s.state = State::Unusable;
        s.problem = problem;
        qWarning("Settings file %s cannot be used (%s); defaults are read and no setting is "
                 "saved until it is mended or removed",
                 qPrintable(path), qPrintable(problem));
        return std::move(s);
    };
    if (const QString problem = unusable(stamp); !problem.isEmpty())
        return fail(problem);

    s.fd = openForReading(QFile::encodeName(path));
    struct stat st { };
    if (!s.fd.valid() || ::fstat(s.fd.get(), &st) != 0)
        return fail(qt_error_string(errno));
    s.stamp = Stamp::of(st); // of the file opened, should it have been replaced since
    QByteArray bytes;
    if (QString problem = unusable(s.stamp); !problem.isEmpty() || !readAll(s.fd, bytes, problem))
        return fail(problem);

    s.state = State::Whole;
    if (bytes.trimmed().isEmpty())
        return s; // nothing there to lose
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    bool complete = false;
    if (error.error == QJsonParseError::NoError && doc.isObject()) {
        s.tree = SettingsTree::fromJson(doc.object(), &complete);
        complete = complete && !SettingsTree::repeatsNames(bytes, doc.object());
    } else {
        qWarning("Settings file %s is damaged (%s); defaults are read", qPrintable(path),
                 qPrintable(error.error == QJsonParseError::NoError ? QStringLiteral("no object")
                                                                    : error.errorString()));
    }
    if (!complete) {
        s.state = State::Partial;
        s.original = std::move(bytes);
    }
    return s;
}

FileSettingsStore::FileSettingsStore(QString path)
    : mPath(std::move(path))
    , mSnapshot(std::make_unique<Snapshot>())
{
}

FileSettingsStore::~FileSettingsStore() = default;

QString FileSettingsStore::defaultPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/kinetrova/settings.json");
}

const FileSettingsStore::Snapshot& FileSettingsStore::current() const
{
    const Stamp now = Stamp::ofPath(QFile::encodeName(mPath));
    if (!(now == mSnapshot->stamp))
        *mSnapshot = Snapshot::load(mPath, now);
    return *mSnapshot;
}

QString FileSettingsStore::GetSetting(const QString& application, const QString& section, const QString& key,
                                      const QString& defaultValue) const
{
    return current().tree.value(application, section, key).value_or(defaultValue);
}

/// Keeps the bytes of a file about to be replaced in the first of settings.json.damaged,
/// settings.json.damaged.1, ... that is free or already holds them.
bool FileSettingsStore::setAside(const QByteArray& original) const
{
    for (int n = 0; n < 100; ++n) {
        const QString name =
            mPath + QStringLiteral(".damaged") + (n ? QStringLiteral(".%1").arg(n) : QString());
        const QByteArray encoded = QFile::encodeName(name);
        const Stamp there = Stamp::ofPath(encoded);
        if (there.error == ENOENT) {
            QString problem;
            if (writeWhole(name, original, problem)) {
                qWarning("Settings file %s could not be read whole; it was set aside as %s",
                         qPrintable(mPath), qPrintable(name));
                return true;
            }
            qWarning("Settings file %s could not be read whole and could not be set aside as "
                     "%s (%s); it is left as it is and the setting is not saved",
                     qPrintable(mPath), qPrintable(name), qPrintable(problem));
            return false;
        }
        if (there.error == 0 && S_ISREG(there.mode) && there.size == original.size()) {
            QByteArray kept;
            QString problem;
            if (const Fd fd = openForReading(encoded);
                fd.valid() && readAll(fd, kept, problem) && kept == original)
                return true; // set aside already
        }
    }
    qWarning("Settings file %s could not be read whole and there is no free name to set it "
             "aside; it is left as it is and the setting is not saved",
             qPrintable(mPath));
    return false;
}

template<typename Change> void FileSettingsStore::update(Change change)
{
    QDir().mkpath(QFileInfo(mPath).absolutePath());
    const WriteLock lock(mPath + QStringLiteral(".lock"), mLockTimeout);
    if (!lock.held()) {
        qWarning("Settings file %s could not be locked (%s); the setting is not saved", qPrintable(mPath),
                 qPrintable(lock.problem()));
        return;
    }

    const Snapshot& before = current();
    if (before.state == Snapshot::State::Unusable) {
        // Said once: a window that stores its state at every resize would repeat it endlessly.
        if (before.problem != mUnsavedProblem)
            qWarning("Settings file %s cannot be used (%s); settings are not saved", qPrintable(mPath),
                     qPrintable(before.problem));
        mUnsavedProblem = before.problem;
        return;
    }
    mUnsavedProblem.clear();
    SettingsTree tree = before.tree;
    if (!change(tree))
        return;
    if (before.state == Snapshot::State::Partial && !setAside(before.original))
        return;

    if (QString problem;
        !writeWhole(mPath, QJsonDocument(tree.toJson()).toJson(QJsonDocument::Indented), problem)) {
        qWarning("Could not write the settings file %s (%s); the setting is not saved", qPrintable(mPath),
                 qPrintable(problem));
        return;
    }

    // What was written is what the file holds: no other writer can come in while the
    // lock is held.
    Snapshot written;
    written.state = Snapshot::State::Whole;
    written.fd = openForReading(QFile::encodeName(mPath));
    struct stat st { };
    if (written.fd.valid() && ::fstat(written.fd.get(), &st) == 0) {
        written.stamp = Stamp::of(st);
        written.tree = std::move(tree);
    } // otherwise the stamp matches nothing and the next read reads the file
    *mSnapshot = std::move(written);
}

void FileSettingsStore::SaveSetting(const QString& application, const QString& section, const QString& key,
                                    const QString& value)
{
    update([&](SettingsTree& tree) {
        if (tree.value(application, section, key) == value)
            return false;
        tree.setValue(application, section, key, value);
        return true;
    });
}

void FileSettingsStore::DeleteSetting(const QString& application, const QString& section, const QString& key)
{
    update([&](SettingsTree& tree) { return tree.remove(application, section, key); });
}

} // namespace kntr
