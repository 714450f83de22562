#include "core/backup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/trace.h"

namespace qv {

bool APIFileCopy(const std::string& source, const std::string& destination, bool failIfExists) {
    return runProc(Owner::module("basGeneral"), "APIFileCopy", [&]() -> bool {
        const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0) return false;
        // O_EXCL: the check for an existing file and the creation are one step.
        const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
        const int out = ::open(destination.c_str(), flags, 0644);
        if (out < 0) {
            ::close(in);
            return false;
        }
        bool ok = true;
        char buf[1 << 16];
        for (;;) {
            const ssize_t n = ::read(in, buf, sizeof buf);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                ok = false;
                break;
            }
            for (ssize_t done = 0; done < n;) {
                const ssize_t w = ::write(out, buf + done, static_cast<size_t>(n - done));
                if (w < 0) {
                    if (errno == EINTR) continue;
                    ok = false;
                    break;
                }
                done += w;
            }
            if (!ok) break;
        }
        if (ok && ::fsync(out) != 0) ok = false;
        if (::close(out) != 0) ok = false;
        ::close(in);
        // A file this call created must not stay behind as a backup when the copy failed.
        if (!ok && failIfExists) ::unlink(destination.c_str());
        return ok;
    });
}

}  // namespace qv
