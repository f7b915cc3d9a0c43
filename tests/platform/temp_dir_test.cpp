#include "platform/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

mode_t ModeOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
    return st.st_mode & 07777;
}

class EnvGuard {
public:
    explicit EnvGuard(const char* name)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {}
    ~EnvGuard() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(TempDirTest, CandidateFollowsTheEnvironment) {
    EnvGuard runtime("XDG_RUNTIME_DIR");
    EnvGuard tmp("TMPDIR");
    qputenv("XDG_RUNTIME_DIR", "/run/user/1000");
    EXPECT_EQ(TempDirCandidate(), QStringLiteral("/run/user/1000/leafsong/"));
    qputenv("XDG_RUNTIME_DIR", "/run/user/1000/");
    EXPECT_EQ(TempDirCandidate(), QStringLiteral("/run/user/1000/leafsong/"));
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", "/var/tmp/临时");
    EXPECT_EQ(TempDirCandidate(), QStringLiteral("/var/tmp/临时/leafsong-%1/").arg(::getuid()));
    qunsetenv("TMPDIR");
    EXPECT_EQ(TempDirCandidate(), QStringLiteral("/tmp/leafsong-%1/").arg(::getuid()));
}

TEST(TempDirTest, CreatesAPrivateFolder) {
    test::TempFolder dir;
    const QString folder = dir.path(QStringLiteral("临时 folder"));
    const TempDirResult r = PrepareTempDir(folder);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.path, folder + u'/');
    EXPECT_EQ(ModeOf(folder), 0700u);
    // Taken again as it is.
    EXPECT_TRUE(PrepareTempDir(folder).ok());
}

TEST(TempDirTest, RefusesUnsafeFolders) {
    test::TempFolder dir;
    const QString target = dir.path(QStringLiteral("elsewhere"));
    QDir().mkpath(target);
    ::chmod(QFile::encodeName(target).constData(), 0700);

    const QString link = dir.path(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(target, link));
    const QString file = dir.write(QStringLiteral("file"), "not a folder");
    const QString open = dir.path(QStringLiteral("open"));
    QDir().mkpath(open);
    ::chmod(QFile::encodeName(open).constData(), 0755);

    struct Row {
        QString path;
        const char* why;
    };
    for (const Row& row : {Row{link, "symbolic link"}, Row{file, "not a folder"},
                           Row{open, "open to other users"}}) {
        const TempDirResult r = PrepareTempDir(row.path);
        EXPECT_FALSE(r.ok()) << row.why;
        EXPECT_TRUE(r.error.contains(QLatin1String(row.why))) << r.error.toStdString();
    }
    // Nothing was changed: the link still points where it did, the modes are as they were.
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_EQ(ModeOf(open), 0755u);
    EXPECT_EQ(dir.read(QStringLiteral("file")), QByteArray("not a folder"));
}

TEST(TempDirTest, RefusesAFolderOfAnotherUser) {
    QString foreign;
    test::TempFolder dir;
    if (::geteuid() == 0) {
        foreign = dir.path(QStringLiteral("foreign"));
        QDir().mkpath(foreign);
        ::chmod(QFile::encodeName(foreign).constData(), 0700);
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
    } else {
        // A folder of root's with private permissions, as an unprivileged user sees it.
        struct stat st {};
        if (::stat("/root", &st) != 0 || st.st_uid != 0 || (st.st_mode & 077) != 0) {
            GTEST_SKIP() << "no private folder of another user to try";
        }
        foreign = QStringLiteral("/root");
    }
    const TempDirResult r = PrepareTempDir(foreign);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.contains(QLatin1String("another user"))) << r.error.toStdString();
}

TEST(ResToFileTest, WritesOnlyWhenMissing) {
    test::TempFolder dir;
    const QString path = dir.path(QStringLiteral("Border.png"));
    QFile res(QStringLiteral(":/leafsong/Border.png"));
    ASSERT_TRUE(res.open(QIODevice::ReadOnly));
    const QByteArray bytes = res.readAll();

    EXPECT_TRUE(ResToFile(QStringLiteral(":/leafsong/Border.png"), path));
    EXPECT_EQ(dir.read(QStringLiteral("Border.png")), bytes);
    EXPECT_EQ(ModeOf(path), 0600u);

    dir.write(QStringLiteral("Border.png"), "the user's own");
    EXPECT_FALSE(ResToFile(QStringLiteral(":/leafsong/Border.png"), path));
    EXPECT_EQ(dir.read(QStringLiteral("Border.png")), QByteArray("the user's own"));
    // Only the final names are left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Border.png")});
}

TEST(ResToFileTest, FailuresLeaveNoFile) {
    test::TempFolder dir;
    EXPECT_FALSE(ResToFile(QStringLiteral(":/leafsong/no-such-resource"),
                           dir.path(QStringLiteral("x.png"))));
    EXPECT_FALSE(ResToFile(QStringLiteral(":/leafsong/Border.png"),
                           dir.path(QStringLiteral("missing-folder/Border.png"))));
    // A planted link under the final name is a file that exists: it is not followed or replaced.
    const QString victim = dir.write(QStringLiteral("victim"), "keep");
    ASSERT_TRUE(QFile::link(victim, dir.path(QStringLiteral("Cover.png"))));
    EXPECT_FALSE(
        ResToFile(QStringLiteral(":/leafsong/Border.png"), dir.path(QStringLiteral("Cover.png"))));
    EXPECT_EQ(dir.read(QStringLiteral("victim")), QByteArray("keep"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 2);
}

TEST(ResToFileTest, AnUnwritableFolderLeavesNoFile) {
    test::TempFolder dir;
    const QString ro = dir.path(QStringLiteral("ro"));
    QDir().mkpath(ro);
    ::chmod(QFile::encodeName(ro).constData(), 0500);
    if (::access(QFile::encodeName(ro).constData(), W_OK) == 0) {
        GTEST_SKIP() << "running with privileges that ignore folder permissions";
    }
    EXPECT_FALSE(ResToFile(QStringLiteral(":/leafsong/Border.png"), ro + QStringLiteral("/b.png")));
    EXPECT_TRUE(QDir(ro).entryList(QDir::Files).isEmpty());
    ::chmod(QFile::encodeName(ro).constData(), 0700);
}

}  // namespace
}  // namespace leafsong
