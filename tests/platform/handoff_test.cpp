#include "platform/handoff.h"

#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>
#include <QFile>
#include <future>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

// Hands path over from another thread while this one runs the listener's events.
HandoffResult HandOver(const QString& socket, const QString& path) {
    auto sent =
        std::async(std::launch::async, [&] { return HandToRunningAlbum(socket, path, 5000); });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    return sent.get();
}

TEST(HandoffTest, TheRunningAlbumAnswersForEachPathAndTakesItsSocketAlongButLeavesAFileAlone) {
    const test::TempFolder dir;
    const QString socket = HandoffSocketPath(dir.path(u"leafsong.lock"_s));
    EXPECT_EQ(socket, dir.path(u"leafsong.sock"_s));
    QStringList got;
    {
        HandoffListener listener([&](const QString& path) {
            got << path;
            return !path.endsWith(u"no"_s);
        });
        dir.write(u"leafsong.sock"_s, "mine");
        EXPECT_FALSE(listener.Listen(socket));
        EXPECT_EQ(dir.read(u"leafsong.sock"_s), "mine");
        ASSERT_TRUE(QFile::remove(socket) && listener.Listen(socket));
        EXPECT_EQ(HandOver(socket, u"/p/照片 1.jpg"_s), HandoffResult::Taken);
        EXPECT_EQ(HandOver(socket, u"/p/no"_s), HandoffResult::Refused);
        EXPECT_EQ(got, (QStringList{u"/p/照片 1.jpg"_s, u"/p/no"_s}));
    }
    EXPECT_FALSE(QFile::exists(socket));
    EXPECT_EQ(HandToRunningAlbum(socket, u"/p/a.jpg"_s, 100), HandoffResult::NoAlbum);
}

}  // namespace
}  // namespace leafsong
