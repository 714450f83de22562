// A disk that fills up while a test runs.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace qvtest {

// A disk that is full beyond so many bytes, for the files this process writes
// while it lasts; no root needed.
class DiskFullAt {
public:
    explicit DiskFullAt(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~DiskFullAt() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }

private:
    rlimit old_{};
    void (*oldSignal_)(int) = SIG_DFL;
};

}  // namespace qvtest
