#include "core/backup.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/trace.h"

namespace qv {

namespace {

bool writeAll(int fd, const char* data, ssize_t size) {
    for (ssize_t done = 0; done < size;) {
        const ssize_t w = ::write(fd, data + done, static_cast<size_t>(size - done));
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += w;
    }
    return true;
}

bool copyContents(int in, int out) {
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buf, sizeof buf);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!writeAll(out, buf, n)) return false;
    }
}

// Gives the finished copy its name without ever replacing a file of that name.
bool publishNoReplace(const std::string& temp, const std::string& destination) {
    if (::link(temp.c_str(), destination.c_str()) == 0) {
        ::unlink(temp.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    // File systems without hard links (FAT on a memory stick).
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    struct stat st {};
    if (::lstat(destination.c_str(), &st) == 0 || errno != ENOENT) return false;
    return ::rename(temp.c_str(), destination.c_str()) == 0;
}

}  // namespace

bool APIFileCopy(const std::string& source, const std::string& destination, bool failIfExists) {
    return runProc(Owner::module("basGeneral"), "APIFileCopy", [&]() -> bool {
        struct stat st {};
        if (failIfExists && ::lstat(destination.c_str(), &st) == 0) return false;
        const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0) return false;
        // The copy is written under a temporary name beside the destination and
        // named only when complete, so no half-written backup can ever exist.
        const std::size_t slash = destination.find_last_of('/');
        const std::string folder = slash == std::string::npos ? std::string() : destination.substr(0, slash + 1);
        const std::string base = slash == std::string::npos ? destination : destination.substr(slash + 1);
        std::string temp = folder + "." + base + ".partial-XXXXXX";
        const int out = ::mkostemp(temp.data(), O_CLOEXEC);
        if (out < 0) {
            ::close(in);
            return false;
        }
        bool ok = copyContents(in, out);
        if (ok && ::fstat(in, &st) == 0) ::fchmod(out, st.st_mode & 0777);
        if (ok && ::fsync(out) != 0) ok = false;
        if (::close(out) != 0) ok = false;
        ::close(in);
        if (ok) ok = failIfExists ? publishNoReplace(temp, destination) : ::rename(temp.c_str(), destination.c_str()) == 0;
        if (!ok) ::unlink(temp.c_str());
        return ok;
    });
}

}  // namespace qv
