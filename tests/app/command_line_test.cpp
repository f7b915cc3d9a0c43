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

// Each path as the user typed it, relative to the folder the program starts in; anything else
// than an option, a folder, a picture or a music file is one line saying why.
TEST(CommandLineTest, OptionsAndPathsOpenWhatTheyNameElseOneLineWhy) {
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
        A action;
        K kind;
        QString says;  // the path opened, relative to the folder; or what the message starts with
    };
    for (const Row& row : {
             Row{u""_s, A::Run, K::None, {}},
             {u"x|-h"_s, A::Help, K::None, u"Usage: leafsong [FILE|FOLDER]"_s},
             {u"--version"_s, A::Version, K::None, u"leafsong " LEAFSONG_VERSION ""_s},
             {u"--bogus"_s, A::Error, K::None, u"leafsong: unknown option --bogus"_s},
             {u"a|b"_s, A::Error, K::None, u"leafsong: only one file or folder"_s},
             {u"album/../album/./"_s, A::Run, K::Folder, u"album"_s},
             {u"album/b.JPG"_s, A::Run, K::Picture, u"album/b.JPG"_s},
             {u"--|album/-dash.gif"_s, A::Run, K::Picture, u"album/-dash.gif"_s},
             {u"song.Mp3"_s, A::Run, K::Music, u"song.Mp3"_s},
             {u"missing/a.jpg"_s, A::Error, K::None,
              u"leafsong: missing/a.jpg: No such file or directory"_s},
             {u"notes.txt"_s, A::Error, K::None, u"leafsong: notes.txt: not a folder, a picture"_s},
             {u"nodot"_s, A::Error, K::None, u"leafsong: nodot: not a folder"_s},
             {u"pipe.gif"_s, A::Error, K::None, u"leafsong: pipe.gif: not a folder"_s},
             {u"locked.bmp"_s, root ? A::Run : A::Error, root ? K::Picture : K::None,
              root ? u"locked.bmp"_s : u"leafsong: locked.bmp: Permission denied"_s},
         }) {
        const CommandLine cl =
            ParseCommandLine(row.args.split(u'|', Qt::SkipEmptyParts), dir.path());
        EXPECT_EQ(std::pair(cl.action, cl.open.kind), std::pair(row.action, row.kind))
            << row.args.toStdString();
        if (row.kind != K::None) {
            EXPECT_EQ(cl.open.path, dir.path(row.says)) << row.args.toStdString();
        } else {
            // A wrong option adds the usage; a wrong path is one line.
            const bool path = row.says.startsWith(u"leafsong: "_s + row.args + u':');
            EXPECT_TRUE(cl.message.startsWith(row.says) &&
                        cl.message.isEmpty() == row.says.isEmpty() &&
                        (!path || cl.message.count(u'\n') == 1))
                << row.args.toStdString() << ": " << cl.message.toStdString();
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
