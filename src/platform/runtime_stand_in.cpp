#include "platform/runtime_stand_in.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <optional>

#include "platform/atomic_file.h"
#include "platform/audio_environment.h"
#include "platform/state_folder.h"

namespace leafsong {

namespace {

// A folder of this user's (not a link to one), with the mode bits.
std::optional<mode_t> OwnFolder(const QByteArray& folder) {
    struct stat st {};
    if (folder.isEmpty() || ::lstat(folder.constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != ::geteuid()) {
        return std::nullopt;
    }
    return st.st_mode & 07777;
}

// The state folder, made when missing and made 0700 (earlier versions obeyed the umask); empty
// when it cannot be had.
QByteArray PrivateStateFolder() {
    const QString folder = StateFolder();
    if (folder.isEmpty() || !MakePrivateFolder(folder.chopped(1), nullptr)) {
        return {};
    }
    const QByteArray native = QFile::encodeName(folder.chopped(1));
    return OwnFolder(native) && ::chmod(native.constData(), 0700) == 0 ? native : QByteArray();
}

}  // namespace

RuntimeDirStandIn::RuntimeDirStandIn() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    // What Qt takes without a word or a change.
    if (OwnFolder(runtime) == 0700) {
        return;
    }
    QByteArray lent = PrivateStateFolder();
    if (!lent.isEmpty()) {
        // Only where no sound output exists: a server that lives where the client looks by
        // default stays in reach everywhere else.
        if (runtime.isEmpty() && qEnvironmentVariableIsEmpty("PULSE_RUNTIME_PATH") &&
            !HasSoundOutput(DefaultSoundProbe())) {
            qputenv("PULSE_RUNTIME_PATH", lent);
        }
    } else if (fresh_.emplace(); fresh_->MakeFresh(SharedTempFolder(), {}).isEmpty()) {
        lent = QFile::encodeName(fresh_->path().chopped(1));
    } else {
        fresh_.reset();
        return;
    }
    saved_ = runtime;
    qputenv("XDG_RUNTIME_DIR", lent);
}

RuntimeDirStandIn::~RuntimeDirStandIn() {
    if (fresh_) {
        fresh_->Close();
    }
    if (!saved_) {
        return;
    }
    if (saved_->isEmpty()) {
        qunsetenv("XDG_RUNTIME_DIR");
    } else {
        qputenv("XDG_RUNTIME_DIR", *saved_);
    }
}

}  // namespace leafsong
