#include "music/music.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "core/texts.h"
#include "music/music_choice.h"
#include "platform/short_name.h"
#include "support/fake_audio_backend.h"
#include "support/mock_dialogs.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;
const QString kClose = u"close NOWMEDIA"_s, kTime = u"set NOWMEDIA time format milliseconds"_s;

struct MusicTest : ::testing::Test {
    QString Song(const QString& name) { return dir.write(u"music/"_s + name, "tune"); }
    test::TempFolder dir;
    test::FakeAudioBackend backend;
    MediaCommands mci{backend};
    test::RecordingSink sink{mci};
    ShortNames names{dir.path() + u'/'};
    CommandPlayer player{sink, names};
    AlbumState state;
    qint64 now = 100000;
    Music music{player, state, [this] { return now; }};
};

TEST_F(MusicTest, EachFileOpensWithTheCommandOfItsDeviceType) {
    for (const QString& row :
         u"a long name.midi:Sequencer|a.RMI:Sequencer|生日 \"歌\".Wav:Waveaudio|"
         u"t.cda:CDAudio|a.avi:AVIVideo|a.Mp3:MPEGVideo|a.wma:MPEGVideo"_s.split(u'|')) {
        const QString path = Song(row.section(u':', 0, 0)), type = row.section(u':', 1);
        sink.sent.clear();
        ASSERT_TRUE(player.OpenMedia(path) && player.PlayMedia() && player.IsPlaying() &&
                    player.CurrentMedia() == path);
        const QString open =
            u"open %1 type %2 alias NOWMEDIA"_s.arg(names.GetShortName(path), type) +
            (type.endsWith(u"Video"_s) ? u" style overlapped "_s : u""_s);
        EXPECT_EQ(sink.sent, (QStringList{kClose, open, kTime, u"play NOWMEDIA"_s,
                                          u"status NOWMEDIA mode"_s}));
    }
    // RealMedia is refused after the close; a failed open still sets the time format.
    EXPECT_FALSE(player.OpenMedia(Song(u"a.Ra"_s)));
    EXPECT_EQ(sink.sent.last(), kClose);
    EXPECT_FALSE(player.CloseMedia());  // nothing open
    backend.refuseOpen = true;
    EXPECT_FALSE(player.OpenMedia(Song(u"bad.mp3"_s)));
    EXPECT_EQ(sink.sent.last(), kTime);
    EXPECT_FALSE(player.PlayMedia() || player.IsPlaying() || !player.CurrentMedia().isEmpty());
}

TEST_F(MusicTest, TheRepeatStartsTheStoppedBackgroundMusicAtMostOnceASecond) {
    state.BackGroundMusic = u"Harrowfen"_s;  // no such file: the repeat does nothing
    music.tmrRepeat_Timer();
    state.BackGroundMusic = Song(u"back ground.mp3"_s);
    music.Start(Song(u"greeting.mid"_s));
    music.tmrRepeat_Timer();  // nothing while it plays
    EXPECT_EQ(backend.opened.size(), 1);
    // A file that ends as soon as it starts: 10 seconds of ticks start it 10 times.
    for (int tick = 0; tick < 200; ++tick) {
        now += 50;
        backend.End();
        music.tmrRepeat_Timer();
    }
    EXPECT_EQ(std::pair(backend.plays, player.CurrentMedia()),
              std::pair(11, state.BackGroundMusic));
    now += 1000;
    backend.End();
    music.OnTuneEnded();  // the repeat is off
    music.FollowRepeat(true);
    music.OnTuneEnded();  // on: the next start comes at once
    EXPECT_EQ(std::pair(backend.plays, music.repeating()), std::pair(12, true));
    music.Play(dir.path(u"gone.wav"_s));  // becomes the music, plays nothing
    EXPECT_EQ(std::pair(backend.plays, state.BackGroundMusic),
              std::pair(12, dir.path(u"gone.wav"_s)));
    // Closed at the end with the repeat on: late ticks and end notices, and whatever else could
    // start a tune, open nothing.
    state.BackGroundMusic = Song(u"late.mp3"_s);
    music.Close();
    const qsizetype opened = backend.opened.size();
    sink.sent.clear();
    now += 60000;
    music.tmrRepeat_Timer();
    music.OnTuneEnded();
    music.FollowRepeat(true);
    music.Start(state.BackGroundMusic);
    music.Play(Song(u"dropped.wav"_s));
    QCoreApplication::processEvents();
    EXPECT_EQ(std::tuple(backend.opened.size(), sink.sent, music.repeating()),
              std::tuple(opened, QStringList(), false));
    EXPECT_FALSE(backend.playing || !player.CurrentMedia().isEmpty());
}

using test::MockDialogs;

// Cancelled: what is done with an answer is tried through the whole album.
TEST(MusicChoiceTest, TheDialogStartsAtTheCurrentMusic) {
    test::TempFolder dir;
    const QString tune = dir.write(u"m/a tune.MID"_s, "x"), m = dir.path(u"m"_s) + u'/';
    // In English too: the same entries in the same order.
    for (const auto& [language, title] :
         {std::pair{TextLanguage::Original, u"选择背景音乐"_s},
          {TextLanguage::English, u"Choose the background music"_s}}) {
        const auto texts = InstallTexts(language);
        for (const auto& [current, name, folder, index] :
             {std::tuple{u"Harrowfen"_s, u""_s, u"/prog"_s, 1},
              {tune, u"a tune.MID"_s, m, 2},
              {m + u"gone.wma"_s, u""_s, m, 4}}) {
            MockDialogs dialogs;
            EXPECT_CALL(dialogs, FileDialog(nullptr, kOpenMode, title, name, MusicFilter(), folder,
                                            u"mp3"_s, index));
            EXPECT_EQ(AskForMusic(dialogs, nullptr, current, u"/prog"_s), u""_s);
        }
    }
}

}  // namespace
}  // namespace leafsong
