#pragma once
// One running copy per user: a lock file in a folder only the user can write, locked with flock.
// The kernel drops the lock when its holder dies, so a killed copy never blocks a start, and a
// name taken first by another user cannot block it either.

#include <QString>

namespace leafsong {

class InstanceLock {
public:
    enum class Result {
        Held,         // this object holds the lock
        Taken,        // another holder has it: another copy of the album runs
        Unavailable,  // no lock can be had here (no writable folder, a file that is not ours)
    };

    // $XDG_RUNTIME_DIR/leafsong.lock, or leafsong.lock in the state folder when XDG_RUNTIME_DIR
    // is unset; empty when there is neither.
    static QString DefaultPath();

    InstanceLock() = default;
    // Lets the lock go.
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock of that file, made 0600 (its folder 0700) when missing. A symbolic link,
    // or anything but this user's own plain file, is never opened as the lock.
    Result TryAcquire(const QString& path = DefaultPath());
    // True while this object holds the lock.
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace leafsong
