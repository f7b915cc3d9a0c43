// The sound library on a thread of its own: started only for a file to play, never holding up
// the caller, answering from what it last heard.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSemaphore>
#include <QThread>
#include <atomic>
#include <functional>
#include <optional>

#include "platform/qt_audio_backend.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

bool WaitFor(const std::function<bool()>& done) {
    for (const QDeadlineTimer deadline(10000); !done() && !deadline.hasExpired();
         QThread::msleep(1)) {
        QCoreApplication::processEvents();
    }
    return done();
}

// A library that plays until told to end, on the thread it was made on; its next Stop can be made
// to hang there until released.
struct ScriptedLibrary final : AudioBackend {
    explicit ScriptedLibrary(std::atomic<ScriptedLibrary*>& slot) : self(slot) { slot = this; }
    ~ScriptedLibrary() override {
        self = nullptr;
        deletedOnItsThread = thread == QThread::currentThread();
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
    // Ends the tune from the library's own thread.
    void EndThere() {
        QMetaObject::invokeMethod(&anchor, [this] {
            playing = false;
            NotifyEnd();
        });
    }
    std::atomic<ScriptedLibrary*>& self;
    QThread* thread = QThread::currentThread();
    QObject anchor;  // lives on the library's thread
    std::atomic<bool> loaded = false, playing = false, hangInStop = false, stopTimedOut = false;
    QSemaphore inStop, release;
    static inline std::atomic<bool> deletedOnItsThread = false;
};

struct AudioThreadTest : ::testing::Test {
    std::atomic<ScriptedLibrary*> library = nullptr;
    std::atomic<int> made = 0;
    std::optional<AudioThread> audio{std::in_place,
                                     [this] {
                                         ++made;
                                         return std::make_unique<ScriptedLibrary>(library);
                                     },
                                     [](const QString& path) { return path != u"refused"_s; }};
    int ends = 0;
    AudioThreadTest() {
        audio->SetEndNotice([this] { ++ends; });
    }
};

TEST_F(AudioThreadTest, StartsForTheFirstFileItTakesAndAnswersFromWhatItLastHeard) {
    // No file yet, or one refused: no thread, no library.
    audio->Stop();
    EXPECT_FALSE(audio->Play() || audio->IsPlaying() || audio->Open(u"refused"_s));
    EXPECT_FALSE(audio->started());
    ASSERT_TRUE(audio->Open(u"tune"_s) && audio->Play());
    EXPECT_TRUE(audio->started() && audio->IsPlaying());
    ASSERT_TRUE(WaitFor([&] { return library && library.load()->playing; }));
    EXPECT_NE(library.load()->thread, QThread::currentThread());
    // The end is heard here, once, from the event loop.
    library.load()->EndThere();
    EXPECT_TRUE(WaitFor([&] { return ends == 1; }));
    EXPECT_FALSE(audio->IsPlaying());
    // A file the library cannot load ends as soon as it is played.
    ASSERT_TRUE(audio->Open(u"unloadable"_s) && audio->Play());
    EXPECT_TRUE(WaitFor([&] { return ends == 2; }));
    EXPECT_EQ(std::pair(made.load(), audio->IsPlaying()), std::pair(1, false));
}

TEST_F(AudioThreadTest, AStopThatHangsInTheLibraryHoldsNothingUpAndItsLateEndIsDropped) {
    ASSERT_TRUE(audio->Open(u"tune"_s) && audio->Play());
    ASSERT_TRUE(WaitFor([&] { return library && library.load()->playing; }));
    ScriptedLibrary& lib = *library.load();
    lib.hangInStop = true;
    lib.EndThere();  // reaches the library before the stop does
    audio->Stop();
    ASSERT_TRUE(lib.inStop.tryAcquire(1, 10000));
    // The library hangs in its stop while this thread goes on.
    EXPECT_TRUE(audio->Open(u"next"_s) && audio->Play() && audio->IsPlaying());
    lib.release.release();
    ASSERT_TRUE(WaitFor([&] { return lib.playing.load(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(std::tuple(ends, lib.stopTimedOut.load(), audio->IsPlaying()),
              std::tuple(0, false, true));
    // The end waits for the library to go, on its own thread.
    audio.reset();
    EXPECT_TRUE(library == nullptr && ScriptedLibrary::deletedOnItsThread);
}

}  // namespace
}  // namespace leafsong
