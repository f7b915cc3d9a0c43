#pragma once
// The music repeat: restarts the background music whenever it has stopped.

#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

class QTimer;

namespace leafsong {

class MediaCommands;
class MediaPlayer;

class Repeat {
public:
    // Monotonic milliseconds; tests give their own.
    using Now = std::function<qint64()>;

    // backGroundMusic is read at every tick (the album's own string, which outlives this).
    Repeat(MediaPlayer& player, const QString& backGroundMusic, Now now = {});
    Repeat(const Repeat&) = delete;
    Repeat& operator=(const Repeat&) = delete;

    // One tick: nothing while music plays; otherwise, when the background music file exists,
    // opens and plays it. Starts are at least a second apart, so a file that exists but will not
    // play costs one attempt a second.
    void tmrRepeat_Timer();

    // The least time between two starts.
    static constexpr qint64 kRetryMs = 1000;

private:
    MediaPlayer& player_;
    const QString& music_;
    Now now_;
    QElapsedTimer clock_;
    std::optional<qint64> lastStart_;
};

// Ticks on every timeout of tmrRepeat, and at once when the interpreter reports that a tune has
// ended while tmrRepeat runs, so a tune follows the last without waiting for the timer.
void ConnectRepeat(Repeat& repeat, QTimer& tmrRepeat, MediaCommands& mci);

}  // namespace leafsong
