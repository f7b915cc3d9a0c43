#pragma once
// The background music: which file plays, and its repeat. All playing goes through one player.

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QtGlobal>
#include <functional>
#include <optional>

#include "core/album_state.h"
#include "music/media_player.h"

namespace leafsong {

class Music {
public:
    // Monotonic milliseconds; tests give their own.
    using Now = std::function<qint64()>;

    // The background music is state.BackGroundMusic, read at every use.
    Music(MediaPlayer& player, AlbumState& state, Now now = {});
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Opens a file (closing what played) and plays it from its start, whatever the background
    // music is: the greeting tune, or the background music at start-up.
    void Start(const QString& path);
    // path becomes the background music and plays from its start when it exists (the same file
    // again starts again).
    void Play(const QString& path);
    // The repeat runs exactly while on: a tune that ends is followed by the background music.
    void FollowRepeat(bool on);
    bool repeating() const { return tmrRepeat_.isActive(); }
    // One look of the repeat: nothing while music plays; otherwise, when the background music
    // file exists, it is opened and played. Starts are at least a second apart, so a file that
    // exists but will not play costs one attempt a second.
    void tmrRepeat_Timer();
    // The player reports that a tune ended: with the repeat on, the next starts at once instead of
    // at the timer's next look.
    void OnTuneEnded();
    // Stops the repeat and closes the player for good (the album is ending): from then on
    // nothing opens or plays, whatever is asked.
    void Close();

    // The least time between two starts by the repeat.
    static constexpr qint64 kRetryMs = 1000;

private:
    MediaPlayer& player_;
    AlbumState& state_;
    Now now_;
    QElapsedTimer clock_;
    std::optional<qint64> lastStart_;
    QTimer tmrRepeat_;
    bool closed_ = false;
};

}  // namespace leafsong
