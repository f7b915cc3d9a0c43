#include "platform/qt_audio_backend.h"

#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

#include "platform/log.h"
#include "platform/midi_check.h"

namespace leafsong {

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

// Creates the audio output with that one warning turned into a debug line.
std::unique_ptr<QAudioOutput> MakeOutput() {
    previousHandler = qInstallMessageHandler(QuietServerWarning);
    auto output = std::make_unique<QAudioOutput>();
    qInstallMessageHandler(previousHandler);
    return output;
}

}  // namespace

QtAudioBackend::QtAudioBackend() = default;

QtAudioBackend::~QtAudioBackend() {
    Stop();
}

bool QtAudioBackend::Open(const QString& path) {
    Stop();
    if (!QFileInfo(path).isFile() || !SafeToHandOver(path)) {
        qCDebug(lcMedia) << "not handed to the sound library:" << path;
        return false;
    }
    output_ = MakeOutput();
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

bool QtAudioBackend::Play() {
    if (!player_) {
        return false;
    }
    if (failed_) {
        // Qt would wait for ever on a stream that has already failed.
        return true;
    }
    playing_ = true;
    player_->play();
    return true;
}

void QtAudioBackend::Stop() {
    playing_ = false;
    failed_ = false;
    if (player_) {
        // No notice for a stream we end ourselves.
        QObject::disconnect(player_.get(), nullptr, nullptr, nullptr);
        player_->stop();
    }
    player_.reset();
    output_.reset();
}

void QtAudioBackend::Fail(const QString& why) {
    if (!playing_) {
        qCDebug(lcMedia, "stream failed before it played: %s", qUtf8Printable(why));
        failed_ = true;
        return;
    }
    End(why);
}

void QtAudioBackend::End(const QString& why) {
    if (!playing_) {
        return;
    }
    playing_ = false;
    qCDebug(lcMedia, "stream over: %s", qUtf8Printable(why));
    NotifyEnd();
}

}  // namespace leafsong
