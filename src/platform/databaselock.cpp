#include "platform/databaselock.h"

#include <QLockFile>
#include <QString>

namespace qv {

DatabaseLock::DatabaseLock(const std::string& databasePath)
    : lock_(std::make_unique<QLockFile>(QString::fromStdString(lockPath(databasePath)))) {
    // A copy may run for days: its lock is never old enough to be taken;
    // only the lock of a process that is gone is.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        state_ = State::Held;
    else
        state_ = lock_->error() == QLockFile::LockFailedError ? State::InUse : State::NotPossible;
}

DatabaseLock::~DatabaseLock() = default;   // QLockFile lets go of a lock it holds

}  // namespace qv
