// The sound library on a thread of its own: started only for a file to play, never holding up
// the caller, answering from what it last heard.
#include <gtest/gtest.h>

#include <QtCore/qtestsupport_core.h>
#include <QSemaphore>
#include <QThread>
#include <atomic>
#include <optional>

#include "platform/qt_audio_backend.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

// A library that plays until told to end, on the thread it was made on; its next Stop can be made
// to hang there until released.
struct ScriptedLibrary final : AudioBackend {
    explicit ScriptedLibrary(std::atomic<ScriptedLibrary*>& slot) : self(slot) { slot = this; }
    ~ScriptedLibrary() override {
        self = nullptr, deletedOnItsThread = thread == QThread::currentThread();
    }
    bool Open(const QString& path) override { return loaded = path != u"unloadable"_s; }
    bool Play() override { return playing = loaded.load(); }
    void Stop() override {
        playing = false;
        if (hangInStop.exchange(false)) {
            inStop.release();
            stopTimedOut = !release.tryAcquire(1, 10000);
        }
    }
    bool IsPlaying() const override { return playing; }
    void EndThere() {  // from the library's own thread
        QMetaObject::invokeMethod(&anchor, [this] { playing = false, NotifyEnd(); });
    }
    std::atomic<ScriptedLibrary*>& self;
    QThread* thread = QThread::currentThread();
    QObject anchor;  // lives on the library's thread
    std::atomic<bool> loaded = false, playing = false, hangInStop = false, stopTimedOut = false;
    QSemaphore inStop, release;
    static inline std::atomic<bool> deletedOnItsThread = false;
};

TEST(AudioThreadTest, StartsForAFileAnswersFromWhatItLastHeardAndAHangingStopHoldsNothingUp) {
    std::atomic<ScriptedLibrary*> library = nullptr;
    std::atomic<int> made = 0;
    int ends = 0;
    std::optional<AudioThread> audio(
        std::in_place, [&] { return ++made, std::make_unique<ScriptedLibrary>(library); },
        [](const QString& path) { return path != u"refused"_s; });
    audio->SetEndNotice([&] { ++ends; });
    const auto playingThere = [&] { return library && library.load()->playing; };
    // No file yet, or one refused: no thread, no library.
    audio->Stop();
    EXPECT_FALSE(audio->Play() || audio->IsPlaying() || audio->Open(u"refused"_s));
    EXPECT_FALSE(audio->started());
    ASSERT_TRUE(audio->Open(u"tune"_s) && audio->Play());
    EXPECT_TRUE(audio->started() && audio->IsPlaying());
    ASSERT_TRUE(QTest::qWaitFor(playingThere, 10000));
    ScriptedLibrary& lib = *library.load();
    EXPECT_NE(lib.thread, QThread::currentThread());
    // The end is heard here, once, from the event loop.
    lib.EndThere();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ends == 1; }, 10000));
    EXPECT_FALSE(audio->IsPlaying());
    // A file the library cannot load ends as soon as it is played.
    ASSERT_TRUE(audio->Open(u"unloadable"_s) && audio->Play());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ends == 2; }, 10000));
    EXPECT_EQ(std::pair(made.load(), audio->IsPlaying()), std::pair(1, false));

    // A stop that hangs in the library holds nothing up here, and the end it overtook is dropped.
    ASSERT_TRUE(audio->Open(u"tune"_s) && audio->Play());
    ASSERT_TRUE(QTest::qWaitFor(playingThere, 10000));
    lib.hangInStop = true;
    lib.EndThere();  // reaches the library before the stop does
    audio->Stop();
    ASSERT_TRUE(lib.inStop.tryAcquire(1, 10000));
    EXPECT_TRUE(audio->Open(u"next"_s) && audio->Play() && audio->IsPlaying());
    lib.release.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lib.playing.load(); }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(std::tuple(ends, lib.stopTimedOut.load(), audio->IsPlaying()),
              std::tuple(2, false, true));
    // The library goes on its own thread.
    audio.reset();
    EXPECT_TRUE(library == nullptr && ScriptedLibrary::deletedOnItsThread);
}

}  // namespace
}  // namespace leafsong
