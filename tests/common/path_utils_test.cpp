#include "common/path_utils.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

struct PathCase {
    const char* path;
    const char* fileName;
    const char* pathName;
    const char* extName;
};

// Each Windows example is run with "\" and again with "/" in its place.
class PathSplitTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathSplitTest, SplitsWithEitherSeparator) {
    const PathCase& c = GetParam();
    for (const QChar sep : {QChar(u'\\'), QChar(u'/')}) {
        auto s = [&](const char* text) { return QString::fromUtf8(text).replace(u'\\', sep); };
        SCOPED_TRACE(s(c.path).toStdString());
        EXPECT_EQ(GetFileName(s(c.path), sep), s(c.fileName));
        EXPECT_EQ(GetPathName(s(c.path), sep), s(c.pathName));
        EXPECT_EQ(GetExtName(s(c.path)), s(c.extName));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PathSplitTest,
    ::testing::Values(PathCase{R"(C:\Music\a.mp3)", "a.mp3", R"(C:\Music\)", "mp3"},
                      PathCase{"a.mp3", "a.mp3", "", "mp3"},
                      PathCase{R"(C:\Music\)", "", R"(C:\Music\)", R"(C:\Music\)"},
                      PathCase{R"(C:\Music\a.b.mp3)", "a.b.mp3", R"(C:\Music\)", "mp3"},
                      PathCase{R"(C:\x.y\song)", "song", R"(C:\x.y\)", R"(y\song)"},
                      PathCase{"Harrowfen", "Harrowfen", "", "Harrowfen"}, PathCase{"", "", "", ""},
                      PathCase{R"(D:\相册\湖.jpg)", "湖.jpg", R"(D:\相册\)", "jpg"}));

TEST(JoinPathTest, AddsExactlyOneSeparator) {
    struct Row {
        const char* folder;
        const char* name;
        const char* joined;
    };
    const Row rows[] = {{R"(C:\Pictures\)", "a.jpg", R"(C:\Pictures\a.jpg)"},
                        {R"(C:\Pictures)", "a.jpg", R"(C:\Pictures\a.jpg)"},
                        {"", "a.jpg", R"(\a.jpg)"},
                        {R"(C:\)", "a.jpg", R"(C:\a.jpg)"}};
    for (const Row& r : rows) {
        for (const QChar sep : {QChar(u'\\'), QChar(u'/')}) {
            auto s = [&](const char* text) { return QString::fromUtf8(text).replace(u'\\', sep); };
            EXPECT_EQ(JoinPath(s(r.folder), QString::fromUtf8(r.name), sep), s(r.joined));
        }
    }
    // Only the separator in use counts: a folder ending in the other one gets one added.
    EXPECT_EQ(JoinPath(QStringLiteral("C:/Pictures/"), QStringLiteral("a.jpg"), u'\\'),
              QStringLiteral("C:/Pictures/\\a.jpg"));
    EXPECT_EQ(JoinPath(QStringLiteral("/"), QStringLiteral("a.jpg")), QStringLiteral("/a.jpg"));
}

TEST(ExistenceTest, FilesAndFolders) {
    test::TempFolder dir;
    const QString file = dir.write(QStringLiteral("相册/a.jpg"), "x");
    const QString folder = dir.path(QStringLiteral("相册"));
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FolderExists(file));  // a plain file counts as a folder here
    EXPECT_FALSE(FileExists(folder));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(FolderExists(folder + u'/'));
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_FALSE(FolderExists(QString()));
    EXPECT_FALSE(FileExists(dir.path(QStringLiteral("missing.jpg"))));
    EXPECT_FALSE(FolderExists(QStringLiteral("Harrowfen")));
}

}  // namespace
}  // namespace leafsong
