#include "musicentrycheck.h"

#include <QFileInfo>
#include <QtEndian>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace kntr {

namespace {

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatFloat = 3;
constexpr quint16 kFormatExtensible = 0xFFFE;
/// Chunks walked before the format chunk must have turned up.
constexpr int kMaxChunks = 64;

/// A file descriptor closed when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd)
        : mFd(fd)
    {
    }
    ~Fd()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return mFd; }

private:
    int mFd;
};

bool readAt(int fd, qint64 at, char* buffer, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, static_cast<size_t>(size - done), at + done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

/// The problem of the WAV file open at fd (size bytes), if any.
std::optional<QString> wavProblem(int fd, qint64 size)
{
    qint64 at = 12;
    for (int chunk = 0; chunk < kMaxChunks && at + 8 <= size; ++chunk) {
        std::array<char, 8> head{};
        if (!readAt(fd, at, head.data(), 8))
            break;
        const QByteArray id(head.data(), 4);
        const qint64 chunkSize = qFromLittleEndian<quint32>(head.data() + 4);
        if (id == "data")
            return QStringLiteral("the WAV header has no format before the sound data");
        if (id != "fmt ") {
            at += 8 + chunkSize + (chunkSize & 1);
            continue;
        }
        std::array<char, 40> fmt{};
        if (chunkSize < 16 || !readAt(fd, at + 8, fmt.data(), std::min<qint64>(chunkSize, 40)))
            return QStringLiteral("the WAV format header is damaged");
        quint16 tag = qFromLittleEndian<quint16>(fmt.data());
        const int channels = qFromLittleEndian<quint16>(fmt.data() + 2);
        const qint64 rate = qFromLittleEndian<quint32>(fmt.data() + 4);
        const int blockAlign = qFromLittleEndian<quint16>(fmt.data() + 12);
        const int bits = qFromLittleEndian<quint16>(fmt.data() + 14);
        if (tag == kFormatExtensible) {
            if (chunkSize < 40)
                return QStringLiteral("the WAV format header is damaged");
            tag = qFromLittleEndian<quint16>(fmt.data() + 24); // the sub-format GUID starts with the tag
        }
        if (channels < 1 || channels > 8)
            return QStringLiteral("it has %1 channels").arg(channels);
        if (rate < 8000 || rate > 192000)
            return (rate == 1 ? QStringLiteral("it has %1 sample a second")
                              : QStringLiteral("it has %1 samples a second"))
                .arg(rate);
        const bool pcm = tag == kFormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
        const bool real = tag == kFormatFloat && (bits == 32 || bits == 64);
        if (!pcm && !real)
            return QStringLiteral("the WAV sound format (%1, %2 bits) is not PCM or float")
                .arg(tag)
                .arg(bits);
        if (blockAlign != channels * bits / 8)
            return QStringLiteral("the WAV header's frame size does not match its format");
        return std::nullopt;
    }
    return QStringLiteral("the WAV header has no format");
}

} // namespace

std::optional<QString> MusicEntryCheck::fileProblem(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("the entry names no file");
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("the file does not exist");
    if (info.isDir())
        return QStringLiteral("it is a folder, not a file");
    if (!info.isFile())
        return QStringLiteral("it is not a regular file");
    return std::nullopt;
}

std::optional<QString> MusicEntryCheck::problem(const QString& path)
{
    if (std::optional<QString> problem = fileProblem(path))
        return problem;
    const QFileInfo info(path);
    // Opened without waiting, and looked at again once open: a file swapped for
    // a FIFO after the look above still cannot hold the caller up.
    const Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return QStringLiteral("the file cannot be read");
    struct stat st = {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return QStringLiteral("it is not a regular file");
    const qint64 size = st.st_size;
    if (size > kMaxBytes)
        return QStringLiteral("the file is larger than %1 MB").arg(kMaxBytes >> 20);
    if (size == 0)
        return QStringLiteral("the file is empty");

    std::array<char, 12> magic{};
    const bool haveMagic = readAt(fd.get(), 0, magic.data(), std::min<qint64>(size, 12)) && size >= 12;
    const QByteArray head(magic.data(), haveMagic ? 12 : 0);
    const bool riffWave =
        haveMagic && (head.startsWith("RIFF") || head.startsWith("RF64")) && head.mid(8, 4) == "WAVE";
    if (riffWave)
        return wavProblem(fd.get(), size);
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("wav") || suffix == QLatin1String("wave"))
        return QStringLiteral("the file has no WAV header");
    return std::nullopt;
}

} // namespace kntr
