// One running copy of the program per database: a lock file beside the
// database, held while the copy runs. Two copies on one file would each save
// over the other's changes unseen.
#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace qv {

class DatabaseLock {
public:
    enum class State {
        Held,        // this copy has the database to itself
        InUse,       // another running copy holds it
        NotPossible  // no lock file can be made there (a folder that cannot be written)
    };
    // Tries once, at once. A lock left by a copy that ended without letting
    // go (killed, a power loss) is taken over.
    explicit DatabaseLock(const std::string& databasePath);
    ~DatabaseLock();   // lets go
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    State state() const { return state_; }
    static std::string lockPath(const std::string& databasePath) { return databasePath + ".lock"; }

private:
    std::unique_ptr<QLockFile> lock_;
    State state_ = State::NotPossible;
};

}  // namespace qv
