// The media command interpreter: its grammar, its answers, its log and its end notice.
#include "platform/media_commands.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QStringList>
#include <random>

#include "support/fake_audio_backend.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using test::FakeAudioBackend;

int Code(MediaError e) {
    return static_cast<int>(e);
}

class MediaCommandsTest : public ::testing::Test {
protected:
    MediaCommandsTest() {
        file = dir.write(QStringLiteral("song.MID"), "MThd");
        dir.write(QStringLiteral("folder.mid/inside"), "x");
    }
    // Sends the command with %F standing for the test file; returns the code, keeps the reply.
    int Send(const QString& command) {
        QString c = command;
        c.replace(QStringLiteral("%F"), file);
        c.replace(QStringLiteral("%D"), dir.path(QStringLiteral("folder.mid")));
        reply = QStringLiteral("left over");
        return mci.Send(c, &reply);
    }
    int OpenNowMedia() { return Send(QStringLiteral("open %F type Sequencer alias NOWMEDIA")); }

    test::TempFolder dir;
    QString file;
    FakeAudioBackend backend;
    MediaCommands mci{backend};
    QString reply;
};

TEST_F(MediaCommandsTest, OpenPlayEndClose) {
    ASSERT_EQ(OpenNowMedia(), 0);
    EXPECT_EQ(backend.opened, QStringList{file});
    EXPECT_EQ(mci.openAlias(), QStringLiteral("NOWMEDIA"));
    EXPECT_EQ(Send(QStringLiteral("set NOWMEDIA time format milliseconds")), 0);
    EXPECT_EQ(Send(QStringLiteral("status NOWMEDIA mode")), 0);
    EXPECT_EQ(reply, QStringLiteral("stopped"));
    EXPECT_EQ(Send(QStringLiteral("play NOWMEDIA")), 0);
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_EQ(Send(QStringLiteral("status NOWMEDIA mode")), 0);
    EXPECT_EQ(reply, QStringLiteral("playing"));
    // A second play while playing changes nothing.
    EXPECT_EQ(Send(QStringLiteral("play NOWMEDIA")), 0);
    EXPECT_EQ(backend.plays, 1);
    backend.End();
    EXPECT_EQ(Send(QStringLiteral("status NOWMEDIA mode")), 0);
    EXPECT_EQ(reply, QStringLiteral("stopped"));
    EXPECT_EQ(Send(QStringLiteral("close NOWMEDIA")), 0);
    EXPECT_TRUE(mci.openAlias().isEmpty());
    EXPECT_TRUE(backend.loaded.isEmpty());
    EXPECT_EQ(Send(QStringLiteral("status NOWMEDIA mode")), Code(MediaError::UnknownAlias));
    EXPECT_TRUE(reply.isEmpty());
}

TEST_F(MediaCommandsTest, OpenFileNamesMayHoldBlanksOrBeQuoted) {
    const QString spaced = dir.write(QStringLiteral("my type songs/a \"b\" 曲.mp3"), "ID3");
    const QStringList commands = {
        QStringLiteral("open ") + spaced + QStringLiteral(" type MPEGVideo alias NOWMEDIA"),
        QStringLiteral("open ") + spaced +
            QStringLiteral(" type MPEGVideo alias NOWMEDIA style overlapped "),
        QStringLiteral("  OPEN   ") + spaced + QStringLiteral("\ttype mpegvideo ALIAS NOWMEDIA"),
    };
    for (const QString& command : commands) {
        SCOPED_TRACE(command.toStdString());
        ASSERT_EQ(mci.Send(command, nullptr), 0);
        EXPECT_EQ(backend.loaded, spaced);
        ASSERT_EQ(mci.Send(QStringLiteral("close nowmedia"), nullptr), 0);
    }
    const QString quoted = dir.write(QStringLiteral("with blank.wav"), "RIFF");
    ASSERT_EQ(mci.Send(QStringLiteral("open \"") + quoted +
                           QStringLiteral("\" type Waveaudio alias NOWMEDIA"),
                       nullptr),
              0);
    EXPECT_EQ(backend.loaded, quoted);
}

struct GrammarRow {
    bool deviceOpen;
    const char* command;
    MediaError code;
    const char* reply = "";
};

void PrintTo(const GrammarRow& row, std::ostream* os) {
    *os << '"' << row.command << '"';
}

class MediaCommandsGrammar : public MediaCommandsTest,
                             public ::testing::WithParamInterface<GrammarRow> {};

TEST_P(MediaCommandsGrammar, Answers) {
    const GrammarRow& row = GetParam();
    if (row.deviceOpen) {
        ASSERT_EQ(OpenNowMedia(), 0);
    }
    EXPECT_EQ(Send(QString::fromUtf8(row.command)), Code(row.code));
    EXPECT_EQ(reply, QString::fromUtf8(row.reply));
}

using E = MediaError;
INSTANTIATE_TEST_SUITE_P(
    Table, MediaCommandsGrammar,
    ::testing::Values(
        GrammarRow{false, "", E::UnknownCommand}, GrammarRow{false, "   ", E::UnknownCommand},
        GrammarRow{true, "pause NOWMEDIA", E::UnknownCommand},
        GrammarRow{true, "seek NOWMEDIA to start", E::UnknownCommand},
        GrammarRow{true, "\"play\" NOWMEDIA", E::UnknownCommand},
        GrammarRow{true, "playing NOWMEDIA", E::UnknownCommand},
        GrammarRow{true, "play", E::BadSyntax}, GrammarRow{true, "play OTHER", E::UnknownAlias},
        GrammarRow{true, "play nowmedia", E::None}, GrammarRow{true, "PLAY NOWMEDIA", E::None},
        GrammarRow{true, "play NOWMEDIA from 0", E::Unsupported},
        GrammarRow{true, "close NOWMEDIA now", E::BadSyntax},
        GrammarRow{true, "status NOWMEDIA", E::BadSyntax},
        GrammarRow{true, "status NOWMEDIA mode", E::None, "stopped"},
        GrammarRow{true, "Status NowMedia MODE", E::None, "stopped"},
        GrammarRow{true, "status NOWMEDIA length", E::Unsupported},
        GrammarRow{true, "status NOWMEDIA mode now", E::BadSyntax},
        GrammarRow{true, "set NOWMEDIA", E::BadSyntax},
        GrammarRow{true, "set NOWMEDIA time format ms", E::None},
        GrammarRow{true, "set NOWMEDIA time format frames", E::Unsupported},
        GrammarRow{true, "set NOWMEDIA audio all off", E::Unsupported},
        GrammarRow{true, "open %F type Sequencer alias SECOND", E::AliasInUse},
        GrammarRow{true, "open \"unclosed type Sequencer alias NOWMEDIA", E::BadSyntax},
        GrammarRow{false, "close NOWMEDIA", E::UnknownAlias},
        GrammarRow{false, "status NOWMEDIA mode", E::UnknownAlias},
        GrammarRow{false, "set NOWMEDIA time format milliseconds", E::UnknownAlias},
        GrammarRow{false, "play NOWMEDIA", E::UnknownAlias},
        GrammarRow{false, "open %F type Sequencer alias NOWMEDIA", E::None},
        GrammarRow{false, "open %F type cdaudio alias NOWMEDIA", E::None},
        GrammarRow{false, "open %F type AVIVideo alias NOWMEDIA style popup", E::None},
        GrammarRow{false, "open %F type MPEGVideo alias NOWMEDIA style overlapped ", E::None},
        GrammarRow{false, "open %F type Sequencer", E::BadSyntax},
        GrammarRow{false, "open %F alias NOWMEDIA", E::BadSyntax},
        GrammarRow{false, "open type Sequencer alias NOWMEDIA", E::BadSyntax},
        GrammarRow{false, "open", E::BadSyntax},
        GrammarRow{false, "open %F type Sequencer alias", E::BadSyntax},
        GrammarRow{false, "open %F type Sequencer alias NOWMEDIA wait", E::BadSyntax},
        GrammarRow{false, "open \"%F\" type MPEGVideo alias NOWMEDIA type MPEGVideo", E::BadSyntax},
        // Unquoted, the first "type" reads as part of the file name.
        GrammarRow{false, "open %F type MPEGVideo alias NOWMEDIA type MPEGVideo", E::FileNotFound},
        GrammarRow{false, "open %F type Sequencer alias NOWMEDIA style overlapped ", E::BadSyntax},
        GrammarRow{false, "open %F type MPEGVideo alias NOWMEDIA style sideways", E::BadSyntax},
        GrammarRow{false, "open %F type RealPlayer alias NOWMEDIA", E::UnknownType},
        GrammarRow{false, "open /no/such/song.mid type Sequencer alias NOWMEDIA", E::FileNotFound},
        GrammarRow{false, "open %D type Sequencer alias NOWMEDIA", E::FileNotFound}));

TEST_F(MediaCommandsTest, LibraryRefusals) {
    backend.refuseOpen = true;
    EXPECT_EQ(OpenNowMedia(), Code(MediaError::CannotOpen));
    EXPECT_TRUE(mci.openAlias().isEmpty());
    backend.refuseOpen = false;
    backend.refusePlay = true;
    ASSERT_EQ(OpenNowMedia(), 0);
    EXPECT_EQ(Send(QStringLiteral("play NOWMEDIA")), Code(MediaError::CannotPlay));
    EXPECT_EQ(Send(QStringLiteral("status NOWMEDIA mode")), 0);
    EXPECT_EQ(reply, QStringLiteral("stopped"));
}

// Collects the lines of leafsong.media while it lives.
class MediaLog {
public:
    MediaLog() {
        lines().clear();
        QLoggingCategory::setFilterRules(QStringLiteral("leafsong.media.debug=true"));
        previous_ = qInstallMessageHandler(&MediaLog::Keep);
    }
    ~MediaLog() {
        qInstallMessageHandler(previous_);
        QLoggingCategory::setFilterRules(QString());
    }
    static QStringList& lines() {
        static QStringList l;
        return l;
    }

private:
    static void Keep(QtMsgType, const QMessageLogContext& context, const QString& msg) {
        if (context.category && qstrcmp(context.category, "leafsong.media") == 0) {
            lines() << msg;
        }
    }
    QtMessageHandler previous_;
};

TEST_F(MediaCommandsTest, LogsEveryCommandAndItsAnswerOnOneLine) {
    MediaLog log;
    OpenNowMedia();
    Send(QStringLiteral("play NOWMEDIA"));
    Send(QStringLiteral("status NOWMEDIA mode"));
    Send(QStringLiteral("close NOWMEDIA"));
    Send(QStringLiteral("close NOWMEDIA"));
    const QStringList expected = {
        QStringLiteral("\"open ") + file + QStringLiteral(" type Sequencer alias NOWMEDIA\" -> 0"),
        QStringLiteral("\"play NOWMEDIA\" -> 0"),
        QStringLiteral("\"status NOWMEDIA mode\" -> 0 playing"),
        QStringLiteral("\"close NOWMEDIA\" -> 0"),
        QStringLiteral("\"close NOWMEDIA\" -> 3"),
    };
    EXPECT_EQ(MediaLog::lines(), expected);
}

TEST_F(MediaCommandsTest, EndNoticeComesFromTheEventLoopOnce) {
    int notices = 0;
    mci.SetEndNotice([&] {
        ++notices;
        // The player may start the next tune from inside the notice.
        EXPECT_EQ(Send(QStringLiteral("close NOWMEDIA")), 0);
        EXPECT_EQ(OpenNowMedia(), 0);
    });
    ASSERT_EQ(OpenNowMedia(), 0);
    ASSERT_EQ(Send(QStringLiteral("play NOWMEDIA")), 0);
    backend.End();
    EXPECT_EQ(notices, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, 1);
}

TEST_F(MediaCommandsTest, NoEndNoticeForADeviceClosedMeanwhile) {
    int notices = 0;
    mci.SetEndNotice([&] { ++notices; });
    ASSERT_EQ(OpenNowMedia(), 0);
    ASSERT_EQ(Send(QStringLiteral("play NOWMEDIA")), 0);
    backend.End();
    ASSERT_EQ(Send(QStringLiteral("close NOWMEDIA")), 0);
    ASSERT_EQ(OpenNowMedia(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, 0);
}

// Random command strings, from the interpreter's own words and from noise: it always answers,
// unknown commands and aliases never succeed, and a reply comes only with success.
TEST_F(MediaCommandsTest, RandomCommandsNeverConfuseIt) {
    const QStringList vocabulary = {
        QStringLiteral("open"),         QStringLiteral("close"),
        QStringLiteral("play"),         QStringLiteral("status"),
        QStringLiteral("set"),          QStringLiteral("NOWMEDIA"),
        QStringLiteral("nowmedia"),     QStringLiteral("OTHER"),
        QStringLiteral("type"),         QStringLiteral("alias"),
        QStringLiteral("style"),        QStringLiteral("overlapped"),
        QStringLiteral("Sequencer"),    QStringLiteral("MPEGVideo"),
        QStringLiteral("Waveaudio"),    QStringLiteral("mode"),
        QStringLiteral("time"),         QStringLiteral("format"),
        QStringLiteral("milliseconds"), file,
        QStringLiteral("\""),           QStringLiteral("\"\""),
        QStringLiteral("播放"),         QStringLiteral(""),
        QStringLiteral("\t"),           QStringLiteral("%1"),
        QStringLiteral("\0"),
    };
    const QStringList verbs = {QStringLiteral("open"), QStringLiteral("close"),
                               QStringLiteral("play"), QStringLiteral("status"),
                               QStringLiteral("set")};
    std::mt19937 rng(20240605);
    auto pick = [&](qsizetype n) {
        return std::uniform_int_distribution<qsizetype>(0, n - 1)(rng);
    };
    for (int i = 0; i < 20000; ++i) {
        QString command;
        const qsizetype n = pick(8);
        for (qsizetype w = 0; w < n; ++w) {
            if (pick(5) == 0) {
                for (qsizetype c = pick(6); c > 0; --c) {
                    command += QChar(char16_t(std::uniform_int_distribution<int>(1, 0x2fff)(rng)));
                }
            } else {
                command += vocabulary[pick(vocabulary.size())];
            }
            command += pick(4) == 0 ? QStringLiteral("  ") : QStringLiteral(" ");
        }
        QString answer = QStringLiteral("left over");
        const int code = mci.Send(command, &answer);
        SCOPED_TRACE(command.toStdString());
        ASSERT_GE(code, 0);
        ASSERT_LE(code, Code(MediaError::Unsupported));
        if (code != 0) {
            ASSERT_TRUE(answer.isEmpty());
        }
        if (!answer.isEmpty()) {
            ASSERT_TRUE(answer == QStringLiteral("playing") || answer == QStringLiteral("stopped"));
        }
        QStringList words;
        for (const QString& w : command.split(u' ')) {
            QString word;
            for (QChar c : w) {
                if (c.isSpace()) {
                    if (!word.isEmpty()) {
                        words << word;
                    }
                    word.clear();
                } else {
                    word += c;
                }
            }
            if (!word.isEmpty()) {
                words << word;
            }
        }
        if (words.isEmpty()) {
            ASSERT_NE(code, 0);
            continue;
        }
        const QString verb = words[0].toLower();
        if (!verbs.contains(verb)) {
            ASSERT_NE(code, 0);
        } else if (verb != QStringLiteral("open") &&
                   (words.size() < 2 ||
                    words[1].compare(QStringLiteral("nowmedia"), Qt::CaseInsensitive) != 0)) {
            ASSERT_NE(code, 0);
        }
        // What it says about the device matches what the library holds.
        ASSERT_EQ(mci.openAlias().isEmpty(), backend.loaded.isEmpty());
    }
}

}  // namespace
}  // namespace leafsong
