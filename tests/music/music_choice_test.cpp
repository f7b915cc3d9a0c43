#include "music/music_choice.h"

#include <gtest/gtest.h>

#include "app/drops.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

class RecordingPlayer final : public MediaPlayer {
public:
    bool OpenMedia(const QString& path, int) override {
        calls << QStringLiteral("open ") + path;
        return true;
    }
    bool PlayMedia() override {
        calls << QStringLiteral("play");
        return true;
    }
    bool CloseMedia() override { return true; }
    bool IsPlaying() override { return false; }
    QString CurrentMedia() const override { return {}; }
    QStringList calls;
};

class AskingDialogs final : public Dialogs {
public:
    QString BrowseFolder(QWidget*, const QString&) override { return {}; }
    QString FileDialog(QWidget*, int m, const QString& t, const QString& name, const QString& f,
                       const QString& folder, const QString& ext, int index) override {
        mode = m, title = t, initialName = name, filter = f, initialFolder = folder;
        defaultExt = ext, filterIndex = index;
        return answer;
    }
    int mode = 0, filterIndex = 0;
    QString title, initialName, filter, initialFolder, defaultExt, answer;
};

TEST(MusicChoiceTest, TheDialogStartsFromTheCurrentMusic) {
    test::TempFolder dir;
    const QString tune = dir.write(QStringLiteral("music/a tune.MID"), "x");
    struct Row {
        QString music;
        QString name, folder;
        int index;
    };
    const Row rows[] = {
        {QStringLiteral("Harrowfen"), {}, QStringLiteral("/prog"), 1},
        {tune, QStringLiteral("a tune.MID"), dir.path(QStringLiteral("music/")), 2},
        // Deleted, but its folder is still there.
        {dir.path(QStringLiteral("music/gone.wma")), {}, dir.path(QStringLiteral("music/")), 4},
    };
    for (const Row& r : rows) {
        AskingDialogs dialogs;
        AlbumState state;
        state.BackGroundMusic = r.music;
        RecordingPlayer media;
        mnuMusic_Click(dialogs, nullptr, state, media, QStringLiteral("/prog"));
        EXPECT_EQ(dialogs.mode, kOpenMode);
        EXPECT_EQ(dialogs.title, QStringLiteral("选择背景音乐"));
        EXPECT_EQ(dialogs.initialName, r.name);
        EXPECT_EQ(dialogs.initialFolder, r.folder);
        EXPECT_EQ(dialogs.filterIndex, r.index);
        EXPECT_EQ(dialogs.defaultExt, QStringLiteral("mp3"));
        EXPECT_EQ(dialogs.filter, MusicFilter());
        EXPECT_TRUE(media.calls.isEmpty()) << "cancelled";
        EXPECT_EQ(state.BackGroundMusic, r.music);
    }
}

TEST(MusicChoiceTest, ANewFilePlaysTheSameOneIsLeftAlone) {
    test::TempFolder dir;
    const QString a = dir.write(QStringLiteral("a.mp3"), "x");
    const QString b = dir.write(QStringLiteral("b.wav"), "x");
    AskingDialogs dialogs;
    AlbumState state;
    state.BackGroundMusic = a;
    RecordingPlayer media;
    dialogs.answer = a;
    mnuMusic_Click(dialogs, nullptr, state, media, {});
    EXPECT_TRUE(media.calls.isEmpty());
    dialogs.answer = dir.path(QStringLiteral("missing.mp3"));
    mnuMusic_Click(dialogs, nullptr, state, media, {});
    EXPECT_TRUE(media.calls.isEmpty());
    dialogs.answer = b;
    mnuMusic_Click(dialogs, nullptr, state, media, {});
    EXPECT_EQ(state.BackGroundMusic, b);
    EXPECT_EQ(media.calls, (QStringList{QStringLiteral("open ") + b, QStringLiteral("play")}));
}

TEST(DropTest, TheFirstPictureOrMusicFileIsTaken) {
    using K = DropChoice::Kind;
    struct Row {
        QStringList paths;
        K kind;
        const char* path;
    };
    const Row rows[] = {
        {{QStringLiteral("/a/notes.txt"), QStringLiteral("/p/02.JPG"), QStringLiteral("/m/x.mp3")},
         K::Picture,
         "/p/02.JPG"},
        {{QStringLiteral("/m/x.Midi"), QStringLiteral("/p/a.jpg")}, K::Music, "/m/x.Midi"},
        {{QStringLiteral("/p/a.jpeg"), QStringLiteral("/p/noext"), QStringLiteral("/a.b/dir")},
         K::None,
         ""},
        {{QStringLiteral("/s/t.rmi")}, K::Music, "/s/t.rmi"},
        {{QStringLiteral("/s/t.cda"), QStringLiteral("/s/t.gif")}, K::Music, "/s/t.cda"},
        {{}, K::None, ""},
    };
    for (const Row& r : rows) {
        const DropChoice c = ChooseDropped(r.paths);
        EXPECT_EQ(c.kind, r.kind) << r.paths.join(u' ').toStdString();
        EXPECT_EQ(c.path, QString::fromLatin1(r.path));
    }
}

TEST(DropTest, PicturesOpenTheirFolderAndMusicAlwaysRestarts) {
    test::TempFolder dir;
    dir.writePicture(QStringLiteral("pics/b.jpg"), 8, 8);
    const QString picture = dir.writePicture(QStringLiteral("pics/c.jpg"), 8, 8);
    const QString tune = dir.write(QStringLiteral("t.wav"), "x");
    AlbumState state;
    Listing File1;
    RecordingPlayer media;
    int layouts = 0;
    // Many names: only the first usable one counts, at any size of drop.
    QStringList many(50000, QStringLiteral("/x/readme.txt"));
    many << picture;
    TakeDroppedFiles(many, state, File1, media, [&] { ++layouts; });
    EXPECT_EQ(state.PicturePath, dir.path(QStringLiteral("pics/")));
    EXPECT_EQ(File1.List(0), QStringLiteral("b.jpg"));
    EXPECT_EQ(layouts, 1);
    state.BackGroundMusic = tune;
    TakeDroppedFiles({tune}, state, File1, media, {});
    TakeDroppedFiles({dir.path(QStringLiteral("gone.mp3"))}, state, File1, media, {});
    EXPECT_EQ(media.calls, (QStringList{QStringLiteral("open ") + tune, QStringLiteral("play")}));
    EXPECT_EQ(state.BackGroundMusic, dir.path(QStringLiteral("gone.mp3")));
}

}  // namespace
}  // namespace leafsong
