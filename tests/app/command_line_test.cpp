#include "app/command_line.h"

#include "app/album.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;
using A = CommandLine::Action;
using K = OpenRequest::Kind;

TEST(CommandLineTest, OptionsAndTheirMessages) {
    for (const auto& [args, action, says] : {
             std::tuple{u""_s, A::Run, u""_s},
             {u"x|-h"_s, A::Help, u"Usage: leafsong [FILE|FOLDER]"_s},
             {u"--version"_s, A::Version, u"leafsong " LEAFSONG_VERSION ""_s},
             {u"--bogus"_s, A::Error, u"unknown option --bogus"_s},
             {u"a|b"_s, A::Error, u"only one file or folder"_s},
         }) {
        const CommandLine cl = ParseCommandLine(args.split(u'|', Qt::SkipEmptyParts), u"/"_s);
        EXPECT_EQ(cl.action, action) << args.toStdString();
        EXPECT_TRUE(cl.message.contains(says) && cl.message.isEmpty() == says.isEmpty())
            << cl.message.toStdString();
    }
}

// Each path as the user typed it, relative to the folder the program starts in.
TEST(CommandLineTest, APathIsAFolderPictureOrMusicFileElseOneLineWhy) {
    const test::TempFolder dir;
    dir.writePicture(u"album/b.JPG"_s, 8, 6);
    dir.write(u"album/-dash.gif"_s, "GIF89a");
    dir.write(u"song.Mp3"_s, "ID3");
    dir.write(u"notes.txt"_s, "text");
    dir.write(u"nodot"_s, "x");
    dir.write(u"locked.bmp"_s, "BM");
    ::chmod(QFile::encodeName(dir.path(u"locked.bmp"_s)).constData(), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.path(u"pipe.gif"_s)).constData(), 0600), 0);
    const bool root = ::geteuid() == 0;  // reads whatever the permissions say
    struct Row {
        QString args;
        K kind;
        QString path;  // opened, relative to the folder; or what the error line says
    };
    for (const Row& row : {
             Row{u"album/../album/./"_s, K::Folder, u"album"_s},
             {u"album/b.JPG"_s, K::Picture, u"album/b.JPG"_s},
             {u"--|album/-dash.gif"_s, K::Picture, u"album/-dash.gif"_s},
             {u"song.Mp3"_s, K::Music, u"song.Mp3"_s},
             {u"missing/a.jpg"_s, K::None, u"missing/a.jpg: No such file or directory"_s},
             {u"notes.txt"_s, K::None, u"notes.txt: not a folder, a picture"_s},
             {u"nodot"_s, K::None, u"nodot: not a folder"_s},
             {u"pipe.gif"_s, K::None, u"pipe.gif: not a folder"_s},
             {u"locked.bmp"_s, root ? K::Picture : K::None,
              root ? u"locked.bmp"_s : u"locked.bmp: Permission denied"_s},
         }) {
        const CommandLine cl = ParseCommandLine(row.args.split(u'|'), dir.path());
        EXPECT_EQ(cl.open.kind, row.kind) << row.args.toStdString();
        if (row.kind == K::None) {
            EXPECT_EQ(cl.action, A::Error);
            EXPECT_TRUE(cl.message.startsWith(u"leafsong: "_s + row.path) &&
                        cl.message.count(u'\n') == 1)
                << cl.message.toStdString();
        } else {
            EXPECT_EQ(cl.action, A::Run);
            EXPECT_EQ(cl.open.path, dir.path(row.path)) << row.args.toStdString();
        }
    }
}

// Installed with any prefix, the tree holds the AppStream file beside bin/; a build folder does
// not.
TEST(CommandLineTest, AnInstalledCopyKnowsItself) {
    const test::TempFolder prefix;
    prefix.write(u"bin/leafsong"_s, "");
    EXPECT_FALSE(IsInstalledCopy(prefix.path(u"bin"_s)));
    prefix.write(u"share/metainfo/org.harrowfen.Leafsong.metainfo.xml"_s, "<component/>");
    EXPECT_TRUE(IsInstalledCopy(prefix.path(u"bin"_s)));
    EXPECT_FALSE(IsInstalledCopy(prefix.path()));
}

}  // namespace
}  // namespace leafsong
