#include <gtest/gtest.h>

#include "app/album_state.h"
#include "app/command_line.h"
#include "app/key_gate.h"

namespace leafsong {
namespace {

TEST(PlaceBookTest, CentresWithHalvesToEven) {
    struct Row {
        int W, H, left, top;
    };
    const Row rows[] = {{1920, 1080, 585, 365}, {1365, 768, 308, 209},  {1367, 768, 308, 209},
                        {1366, 768, 308, 209},  {1280, 1024, 265, 337}, {1024, 601, 137, 126},
                        {1024, 603, 137, 126},  {3840, 2160, 1545, 905}};
    for (const Row& r : rows) {
        const BookGeometry g = PlaceBook(r.W, r.H);
        EXPECT_EQ(g.BookLeft, r.left) << r.W << "x" << r.H;
        EXPECT_EQ(g.BookTop, r.top) << r.W << "x" << r.H;
        EXPECT_EQ(g.BookWidth, 750);
        EXPECT_EQ(g.BookHeight, 500);
        EXPECT_EQ(g.LiftBase, 688);
    }
}

TEST(CommandLineTest, Table) {
    using A = CommandLine::Action;
    struct Row {
        QStringList args;
        A action;
        const char* folder;
    };
    const QString cwd = QStringLiteral("/home/u/照片");
    const Row rows[] = {
        {{}, A::Run, ""},
        {{QStringLiteral("trip")}, A::Run, "/home/u/照片/trip"},
        {{QStringLiteral("../other/./x/")}, A::Run, "/home/u/other/x"},
        {{QStringLiteral("/abs/album")}, A::Run, "/abs/album"},
        {{QStringLiteral("--"), QStringLiteral("-dash")}, A::Run, "/home/u/照片/-dash"},
        {{QStringLiteral("--help")}, A::Help, ""},
        {{QStringLiteral("x"), QStringLiteral("-h")}, A::Help, ""},
        {{QStringLiteral("--version")}, A::Version, ""},
        {{QStringLiteral("--bogus")}, A::Error, ""},
        {{QStringLiteral("a"), QStringLiteral("b")}, A::Error, ""},
    };
    for (const Row& r : rows) {
        const CommandLine cl = ParseCommandLine(r.args, cwd);
        EXPECT_EQ(cl.action, r.action) << r.args.join(u' ').toStdString();
        EXPECT_EQ(cl.folder, QString::fromUtf8(r.folder));
    }
    EXPECT_TRUE(ParseCommandLine({QStringLiteral("--version")}, cwd)
                    .message.contains(QLatin1String(LEAFSONG_VERSION)));
    EXPECT_TRUE(ParseCommandLine({QStringLiteral("--bogus")}, cwd)
                    .message.contains(QLatin1String("--bogus")));
}

TEST(KeyGateTest, ActsOnlyOnReleasesWhosePressItSaw) {
    KeyGate gate;
    // The release of a key pressed in a menu or dialog that has since closed.
    EXPECT_FALSE(gate.Release(Qt::Key_Escape, false));
    gate.Press(Qt::Key_Escape, false);
    EXPECT_TRUE(gate.Release(Qt::Key_Escape, false));
    EXPECT_FALSE(gate.Release(Qt::Key_Escape, false));  // one press, one action

    // A held key: repeats act never, the real release once.
    gate.Press(Qt::Key_Left, false);
    gate.Press(Qt::Key_Left, true);
    EXPECT_FALSE(gate.Release(Qt::Key_Left, true));
    gate.Press(Qt::Key_Left, true);
    EXPECT_TRUE(gate.Release(Qt::Key_Left, false));

    gate.Press(Qt::Key_A, false);
    gate.Reset();
    EXPECT_FALSE(gate.Release(Qt::Key_A, false));
}

}  // namespace
}  // namespace leafsong
