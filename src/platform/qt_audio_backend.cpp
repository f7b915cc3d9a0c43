#include "platform/qt_audio_backend.h"

#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QMetaObject>
#include <QUrl>
#include <mutex>

#include "platform/log.h"
#include "platform/midi_check.h"

namespace leafsong {

AudioThread::AudioThread(Make make, Accepts accepts)
    : make_(std::move(make)), accepts_(std::move(accepts)) {
    thread_.setObjectName(QStringLiteral("leafsong-audio"));
}

AudioThread::~AudioThread() {
    if (!thread_.isRunning()) {
        return;
    }
    // The backend goes on its own thread, after every job asked of it before.
    Post([this] {
        backend_.reset();
        QThread::currentThread()->quit();
    });
    thread_.wait();
    threadContext_.reset();
}

void AudioThread::Post(std::function<void()> job) {
    QMetaObject::invokeMethod(threadContext_.get(), std::move(job), Qt::QueuedConnection);
}

void AudioThread::PostEnd(quint64 generation) {
    QMetaObject::invokeMethod(
        &context_, [this, generation] { Ended(generation); }, Qt::QueuedConnection);
}

void AudioThread::Ended(quint64 generation) {
    if (generation != generation_ || !playing_) {
        return;
    }
    playing_ = false;
    NotifyEnd();
}

bool AudioThread::Open(const QString& path) {
    Stop();
    if (accepts_ && !accepts_(path)) {
        return false;
    }
    if (!thread_.isRunning()) {
        Starting();
        threadContext_ = std::make_unique<QObject>();
        threadContext_->moveToThread(&thread_);
        thread_.start();
        Post([this] {
            backend_ = make_();
            backend_->SetEndNotice([this] { PostEnd(threadGeneration_); });
        });
    }
    const quint64 generation = ++generation_;
    loaded_ = true;
    Post([this, path, generation] {
        threadGeneration_ = generation;
        if (!backend_->Open(path)) {
            qCDebug(lcMedia) << "the sound library cannot load" << path;
        }
    });
    return true;
}

bool AudioThread::Play() {
    if (!loaded_) {
        return false;
    }
    playing_ = true;
    const quint64 generation = generation_;
    Post([this, generation] {
        // Nothing loaded (the library could not load the file): the stream is over at once.
        if (!backend_->Play()) {
            PostEnd(generation);
        }
    });
    return true;
}

void AudioThread::Stop() {
    playing_ = false;
    loaded_ = false;
    if (!thread_.isRunning()) {
        return;
    }
    const quint64 generation = ++generation_;
    Post([this, generation] {
        threadGeneration_ = generation;
        backend_->Stop();
    });
}

namespace {

QtMessageHandler previousHandler = nullptr;

// Qt's list of audio devices reports a missing sound server as a warning on the terminal; the
// album then plays into a silent sink, which is no news for the user.
void QuietServerWarning(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (type == QtWarningMsg && msg.startsWith(QLatin1StringView("PulseAudioService:"))) {
        qCDebug(lcMedia, "%s", qUtf8Printable(msg));
        return;
    }
    previousHandler(type, context, msg);
}

// False for what would stall the library (see midi_check.h) and for what cannot be read at all.
bool SafeToHandOver(const QString& path) {
    // MIDI files are small: a larger one is not read whole.
    constexpr qint64 kMidiLimit = qint64(8) << 20;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    if (!LooksLikeMidi(f.peek(12))) {
        return true;
    }
    return f.size() <= kMidiLimit && IsReadableMidi(f.readAll());
}

// One stream through Qt Multimedia. It blocks while the library starts and stops a stream, so it
// runs on the audio thread.
class QtStream final : public AudioBackend {
public:
    QtStream() = default;
    ~QtStream() override { Stop(); }
    QtStream(const QtStream&) = delete;
    QtStream& operator=(const QtStream&) = delete;

    // Each file gets a player of its own, so nothing of a failed stream carries over.
    bool Open(const QString& path) override {
        Stop();
        output_ = std::make_unique<QAudioOutput>();
        player_ = std::make_unique<QMediaPlayer>();
        player_->setAudioOutput(output_.get());
        QMediaPlayer* player = player_.get();
        QObject::connect(player, &QMediaPlayer::mediaStatusChanged, player,
                         [this](QMediaPlayer::MediaStatus status) {
                             if (status == QMediaPlayer::EndOfMedia) {
                                 End(QStringLiteral("end of media"));
                             } else if (status == QMediaPlayer::InvalidMedia) {
                                 Fail(QStringLiteral("invalid media"));
                             }
                         });
        QObject::connect(player, &QMediaPlayer::errorOccurred, player,
                         [this](QMediaPlayer::Error, const QString& text) { Fail(text); });
        // A failed stream may stay "playing" in Qt's eyes; the error above ends it for us.
        QObject::connect(player, &QMediaPlayer::playbackStateChanged, player,
                         [this](QMediaPlayer::PlaybackState state) {
                             if (state == QMediaPlayer::StoppedState) {
                                 End(QStringLiteral("stopped"));
                             }
                         });
        player_->setSource(QUrl::fromLocalFile(path));
        return true;
    }

    bool Play() override {
        if (!player_) {
            return false;
        }
        playing_ = true;
        if (failed_) {
            // Qt would wait for ever on a stream that has already failed.
            End(QStringLiteral("failed before it played"));
            return true;
        }
        player_->play();
        return true;
    }

    void Stop() override {
        playing_ = false;
        failed_ = false;
        if (player_) {
            // No notice for a stream we end ourselves.
            QObject::disconnect(player_.get(), nullptr, nullptr, nullptr);
        }
        // Deleting the player tears its pipeline down; stop() first would wait a whole second
        // for a stream that failed to settle.
        player_.reset();
        output_.reset();
    }

    bool IsPlaying() const override { return playing_; }

private:
    void Fail(const QString& why) {
        if (!playing_) {
            qCDebug(lcMedia, "stream failed before it played: %s", qUtf8Printable(why));
            failed_ = true;
            return;
        }
        End(why);
    }

    void End(const QString& why) {
        if (!playing_) {
            return;
        }
        playing_ = false;
        qCDebug(lcMedia, "stream over: %s", qUtf8Printable(why));
        NotifyEnd();
    }

    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
    bool playing_ = false;
    bool failed_ = false;  // the stream failed before it was played
};

}  // namespace

QtAudioBackend::QtAudioBackend()
    : AudioThread([] { return std::make_unique<QtStream>(); },
                  [](const QString& path) {
                      if (QFileInfo(path).isFile() && SafeToHandOver(path)) {
                          return true;
                      }
                      qCDebug(lcMedia) << "not handed to the sound library:" << path;
                      return false;
                  }) {}

void QtAudioBackend::Starting() {
    // For the whole run: the library may look for devices again with any stream. Installed here,
    // before the audio thread exists, so no message can find the handler half set.
    static std::once_flag once;
    std::call_once(once, [] { previousHandler = qInstallMessageHandler(QuietServerWarning); });
}

}  // namespace leafsong
