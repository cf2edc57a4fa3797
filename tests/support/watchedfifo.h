#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace kntr::test {

/// A FIFO that tells whether anything opened it for reading while it lived. A
/// reader that would wait for a writer for good is let go at once (it reads the
/// end of the file), so code that wrongly opens the FIFO fails its test instead
/// of hanging it.
class WatchedFifo {
public:
    explicit WatchedFifo(const QString& path)
        : mPath(QFile::encodeName(path))
    {
        mMade = ::mkfifo(mPath.constData(), 0600) == 0;
        if (mMade)
            mWatch = std::thread([this] { watch(); });
    }
    ~WatchedFifo()
    {
        mStop = true;
        if (mWatch.joinable())
            mWatch.join();
    }
    WatchedFifo(const WatchedFifo&) = delete;
    WatchedFifo& operator=(const WatchedFifo&) = delete;

    bool made() const { return mMade; }
    /// A reader opened the FIFO at some time.
    bool opened() const { return mOpened; }
    /// It is still a FIFO (nothing was put in its place).
    bool stillAFifo() const
    {
        struct stat st = {};
        return ::lstat(mPath.constData(), &st) == 0 && S_ISFIFO(st.st_mode);
    }

private:
    void watch()
    {
        // Opening for writing without waiting succeeds only while a reader has it open.
        while (!mStop) {
            const int fd = ::open(mPath.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                mOpened = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    QByteArray mPath;
    bool mMade = false;
    std::atomic_bool mOpened = false;
    std::atomic_bool mStop = false;
    std::thread mWatch;
};

} // namespace kntr::test
