#include "common/path_utils.h"

#include <gtest/gtest.h>

namespace leafsong {
namespace {

TEST(PathUtilsTest, SplitsAndJoinsExamples) {
    // File name | folder part | extension (after the last dot of the whole path).
    const std::pair<const char*, const char*> splits[] = {
        {"/music/a.mp3", "a.mp3|/music/|mp3"}, {"a.b.mp3", "a.b.mp3||mp3"},
        {"/music/", "|/music/|/music/"},       {"/x.y/song", "song|/x.y/|y/song"},
        {"/相册/湖.jpg", "湖.jpg|/相册/|jpg"}, {"", "||"}};
    for (const auto& [text, want] : splits) {
        const QString p = QString::fromUtf8(text);
        EXPECT_EQ((GetFileName(p) + u'|' + GetPathName(p) + u'|' + GetExtName(p)).toStdString(),
                  want);
    }
    const std::pair<const char*, const char*> joins[] = {
        {"/pictures/", "/pictures/a.jpg"}, {"/pictures", "/pictures/a.jpg"}, {"/", "/a.jpg"}};
    for (const auto& [folder, joined] : joins) {
        EXPECT_EQ(JoinPath(QLatin1String(folder), QLatin1String("a.jpg")).toStdString(), joined);
    }
}

}  // namespace
}  // namespace leafsong
