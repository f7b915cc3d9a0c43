#pragma once
// The real sound library: Qt Multimedia (its GStreamer backend, see audio_environment.h), run on
// a thread of its own. Starting, stopping and tearing down a stream there can take the library
// from 100 ms (a MIDI synthesizer) to a whole second (a stream that failed), and the first stream
// of a run 100 ms more to look for sound devices: none of it may hold up the window.

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

#include "platform/audio_backend.h"

namespace leafsong {

// Runs another AudioBackend on a thread of its own, made there at the first Open it accepts (not
// before: an album without music never starts the sound library). Every call returns at once;
// the answers come from what this side last heard: a stream plays from the Play that was accepted
// until its end notice arrives here, or until it is stopped.
class AudioThread : public AudioBackend {
public:
    using Make = std::function<std::unique_ptr<AudioBackend>()>;
    using Accepts = std::function<bool(const QString& path)>;

    // make is called once, on the thread. accepts, asked on the caller's thread, decides which
    // files Open refuses at once.
    explicit AudioThread(Make make, Accepts accepts = {});
    // Stops, lets the backend go on its thread and waits for that.
    ~AudioThread() override;
    AudioThread(const AudioThread&) = delete;
    AudioThread& operator=(const AudioThread&) = delete;

    // False only for a file accepts refuses; a file the backend cannot load ends as soon as it is
    // played.
    bool Open(const QString& path) override;
    bool Play() override;
    void Stop() override;
    bool IsPlaying() const override { return playing_; }

    // True once the thread and its backend have been started.
    bool started() const { return thread_.isRunning(); }

protected:
    // Called on the caller's thread right before the thread starts.
    virtual void Starting() {}

private:
    void Post(std::function<void()> job);
    void PostEnd(quint64 generation);
    void Ended(quint64 generation);

    Make make_;
    Accepts accepts_;
    // This side's knowledge.
    quint64 generation_ = 0;  // the latest Open or Stop: older end notices are dropped
    bool loaded_ = false;
    bool playing_ = false;
    QObject context_;  // end notices arrive through it, on this thread
    // The thread's side, touched only there.
    std::unique_ptr<AudioBackend> backend_;
    quint64 threadGeneration_ = 0;
    QThread thread_;
    std::unique_ptr<QObject> threadContext_;  // jobs run through it, on the thread
};

class QtAudioBackend final : public AudioThread {
public:
    QtAudioBackend();

private:
    void Starting() override;
};

}  // namespace leafsong
