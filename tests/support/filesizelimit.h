#pragma once

#include <csignal>
#include <sys/resource.h>

namespace kntr::test {

/// While it lives no file may grow past the limit; a write beyond it fails
/// with EFBIG, as on a full disk, instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &mOldAction);
        ::getrlimit(RLIMIT_FSIZE, &mOldLimit);
        const rlimit limit{bytes, mOldLimit.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &mOldLimit);
        ::sigaction(SIGXFSZ, &mOldAction, nullptr);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct sigaction mOldAction = {};
    rlimit mOldLimit = {};
};

} // namespace kntr::test
