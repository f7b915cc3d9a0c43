// The player's command strings, sent to the real interpreter over a scripted sound library.
#include "music/media_player.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>

#include "platform/media_commands.h"
#include "platform/short_name.h"
#include "support/fake_audio_backend.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using test::FakeAudioBackend;
using test::RecordingSink;

const QString kClose = QStringLiteral("close NOWMEDIA");
const QString kTimeFormat = QStringLiteral("set NOWMEDIA time format milliseconds");

class CommandPlayerTest : public ::testing::Test {
protected:
    CommandPlayerTest() {
        QDir().mkpath(folders.path(QStringLiteral("private")));
        names.SetFolder(folders.path(QStringLiteral("private/")));
    }
    QString Song(const QString& name) {
        return folders.write(QStringLiteral("music/") + name, "tune");
    }

    test::TempFolder folders;
    FakeAudioBackend backend;
    MediaCommands mci{backend};
    RecordingSink sink{mci};
    ShortNames names;
    CommandPlayer player{sink, names};
};

struct OpenRow {
    const char* fileName;
    const char* type;
    bool overlapped;  // the command ends in " style overlapped "
};

void PrintTo(const OpenRow& row, std::ostream* os) {
    *os << row.fileName;
}

class CommandPlayerOpen : public CommandPlayerTest,
                          public ::testing::WithParamInterface<OpenRow> {};

TEST_P(CommandPlayerOpen, SendsTheDeviceTypeCommand) {
    const OpenRow& row = GetParam();
    const QString path = Song(QString::fromUtf8(row.fileName));
    const QString shortName = names.GetShortName(path);
    ASSERT_FALSE(shortName.isEmpty());
    ASSERT_TRUE(player.OpenMedia(path, 0));
    QString open = QStringLiteral("open ") + shortName + QStringLiteral(" type ") +
                   QLatin1StringView(row.type) + QStringLiteral(" alias NOWMEDIA");
    if (row.overlapped) {
        open += QStringLiteral(" style overlapped ");
    }
    EXPECT_EQ(sink.sent, (QStringList{kClose, open, kTimeFormat}));
    EXPECT_EQ(player.CurrentMedia(), path);
    EXPECT_EQ(backend.loaded, shortName);
    EXPECT_TRUE(player.PlayMedia());
    EXPECT_EQ(sink.sent.last(), QStringLiteral("play NOWMEDIA"));
    EXPECT_TRUE(player.IsPlaying());
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandPlayerOpen,
    ::testing::Values(OpenRow{"a.mid", "Sequencer", false}, OpenRow{"a.rmi", "Sequencer", false},
                      OpenRow{"a long name.midi", "Sequencer", false},
                      OpenRow{"a.wav", "Waveaudio", false}, OpenRow{"a.avi", "AVIVideo", true},
                      OpenRow{"Track01.cda", "CDAudio", false}, OpenRow{"a.mp3", "MPEGVideo", true},
                      OpenRow{"a.wma", "MPEGVideo", true}, OpenRow{"a.mov", "MPEGVideo", true},
                      OpenRow{"a.snd", "MPEGVideo", true}, OpenRow{"a.ogg", "MPEGVideo", true},
                      OpenRow{"song.Mp3", "MPEGVideo", true},
                      OpenRow{"生日 快乐 \"歌\".WAV", "Waveaudio", false}));

TEST_F(CommandPlayerTest, RefusesRealMediaAfterTheClose) {
    for (const char* name : {"a.rm", "a.ram", "a.ra", "A.RM"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(player.OpenMedia(Song(QStringLiteral("first.mp3"))));
        sink.sent.clear();
        EXPECT_FALSE(player.OpenMedia(Song(QString::fromUtf8(name))));
        EXPECT_EQ(sink.sent, QStringList{kClose});
        EXPECT_TRUE(player.CurrentMedia().isEmpty());
        EXPECT_FALSE(player.PlayMedia());
        EXPECT_FALSE(player.IsPlaying());
    }
}

// Answers as scripted and keeps the answer codes of the interpreter behind it.
class CodeSink final : public MediaCommandSink {
public:
    explicit CodeSink(MediaCommandSink& next) : next_(next) {}
    int Send(const QString& command, QString* reply) override {
        const int code = next_.Send(command, reply);
        codes << code;
        return code;
    }
    QList<int> codes;

private:
    MediaCommandSink& next_;
};

TEST_F(CommandPlayerTest, OpeningWithNothingOpenClosesHarmlesslyFirst) {
    CodeSink codes(sink);
    CommandPlayer fresh(codes, names);
    ASSERT_TRUE(fresh.OpenMedia(Song(QStringLiteral("a.mid"))));
    ASSERT_EQ(sink.sent.size(), 3);
    EXPECT_EQ(sink.sent[0], kClose);
    EXPECT_EQ(codes.codes, (QList<int>{static_cast<int>(MediaError::UnknownAlias), 0, 0}));
}

TEST_F(CommandPlayerTest, FailedOpenStillSetsTheTimeFormatAndLeavesItClosed) {
    ASSERT_TRUE(player.OpenMedia(Song(QStringLiteral("good.mp3"))));
    backend.refuseOpen = true;
    sink.sent.clear();
    EXPECT_FALSE(player.OpenMedia(Song(QStringLiteral("bad.mp3"))));
    ASSERT_EQ(sink.sent.size(), 3);
    EXPECT_EQ(sink.sent[2], kTimeFormat);
    EXPECT_TRUE(player.CurrentMedia().isEmpty());
    EXPECT_FALSE(player.PlayMedia());
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(CommandPlayerTest, PlayingLastsUntilTheTuneEnds) {
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(sink.sent, QStringList{QStringLiteral("status NOWMEDIA mode")});
    const QString path = Song(QStringLiteral("a.wav"));
    ASSERT_TRUE(player.OpenMedia(path));
    EXPECT_FALSE(player.IsPlaying());
    ASSERT_TRUE(player.PlayMedia());
    EXPECT_TRUE(player.IsPlaying());
    backend.End();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.CurrentMedia(), path);
    EXPECT_TRUE(player.CloseMedia());
    EXPECT_TRUE(player.CurrentMedia().isEmpty());
    EXPECT_FALSE(player.CloseMedia());
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(CommandPlayerTest, AParentWindowMeansNoOverlappedStyle) {
    const QString path = Song(QStringLiteral("a.mp3"));
    ASSERT_TRUE(player.OpenMedia(path, 42));
    EXPECT_EQ(sink.sent[1], QStringLiteral("open ") + names.GetShortName(path) +
                                QStringLiteral(" type MPEGVideo alias NOWMEDIA"));
}

// Replies with a fixed mode text.
class ModeSink final : public MediaCommandSink {
public:
    int Send(const QString&, QString* reply) override {
        if (reply) {
            *reply = mode;
        }
        return code;
    }
    QString mode;
    int code = 0;
};

TEST(CommandPlayerModeTest, PlayingMeansTheReplyStartsWithTheWord) {
    ShortNames names;
    ModeSink sink;
    CommandPlayer player(sink, names);
    const struct {
        const char* reply;
        bool playing;
    } rows[] = {{"playing", true}, {"playing back", true}, {"播放", true},
                {"播放中", true},  {"Playing", false},     {" playing", false},
                {"play", false},   {"stopped", false},     {"paused", false},
                {"", false},       {"停止", false}};
    for (const auto& row : rows) {
        sink.mode = QString::fromUtf8(row.reply);
        EXPECT_EQ(player.IsPlaying(), row.playing) << row.reply;
    }
}

TEST(DeviceTypeTest, Table) {
    const struct {
        const char* path;
        const char* type;
    } rows[] = {
        {"a.mid", "Sequencer"},
        {"a.RMI", "Sequencer"},
        {"a.midi", "Sequencer"},
        {"a.wav", "Waveaudio"},
        {"a.Avi", "AVIVideo"},
        {"a.cda", "CDAudio"},
        {"a.aif", "MPEGVideo"},
        {"a.aifc", "MPEGVideo"},
        {"a.aiff", "MPEGVideo"},
        {"a.au", "MPEGVideo"},
        {"a.m1v", "MPEGVideo"},
        {"a.m3u", "MPEGVideo"},
        {"a.mov", "MPEGVideo"},
        {"a.mp2", "MPEGVideo"},
        {"a.mp3", "MPEGVideo"},
        {"a.mpa", "MPEGVideo"},
        {"a.mpe", "MPEGVideo"},
        {"a.mpeg", "MPEGVideo"},
        {"a.mpg", "MPEGVideo"},
        {"a.mpv2", "MPEGVideo"},
        {"a.qt", "MPEGVideo"},
        {"a.snd", "MPEGVideo"},
        {"a.rm", "RealPlayer"},
        {"a.ram", "RealPlayer"},
        {"a.Ra", "RealPlayer"},
        {"a.wma", "MPEGVideo"},
        {"a.ogg", "MPEGVideo"},
        {"Harrowfen", "MPEGVideo"},
        {"/x.y/song", "MPEGVideo"},
        {"", "MPEGVideo"},
        {"/music/x.mid.wav", "Waveaudio"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(GetDeviceType(QString::fromUtf8(row.path)), QLatin1StringView(row.type))
            << row.path;
    }
}

TEST(NetMediaTest, OnlyFtpAndHttpAddresses) {
    EXPECT_TRUE(IsNetMedia(QStringLiteral("http://example.org/a.mp3")));
    EXPECT_TRUE(IsNetMedia(QStringLiteral("HTTP://example.org/a.mp3")));
    EXPECT_TRUE(IsNetMedia(QStringLiteral("Ftp://host/a.mid")));
    EXPECT_FALSE(IsNetMedia(QStringLiteral("https://example.org/a.mp3")));
    EXPECT_FALSE(IsNetMedia(QStringLiteral("/home/u/http://a.mp3")));
    EXPECT_FALSE(IsNetMedia(QStringLiteral("ftp:/")));
    EXPECT_FALSE(IsNetMedia(QString()));
}

}  // namespace
}  // namespace leafsong
