#include "platform/handoff.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
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
    const QDeadlineTimer deadline(10000);
    while (sent.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready &&
           !deadline.hasExpired()) {
        QCoreApplication::processEvents();
    }
    return sent.get();
}

TEST(HandoffTest, TheRunningAlbumAnswersForEachPathAndTakesItsSocketAlong) {
    const test::TempFolder dir;
    EXPECT_EQ(HandoffSocketPath(dir.path(u"leafsong.lock"_s)), dir.path(u"leafsong.sock"_s));
    const QString socket = dir.path(u"leafsong.sock"_s);
    QStringList got;
    {
        HandoffListener listener([&](const QString& path) {
            got << path;
            return !path.endsWith(u"no"_s);
        });
        ASSERT_TRUE(listener.Listen(socket));
        EXPECT_EQ(HandOver(socket, u"/p/照片 1.jpg"_s), HandoffResult::Taken);
        EXPECT_EQ(HandOver(socket, u"/p/no"_s), HandoffResult::Refused);
        EXPECT_EQ(got, (QStringList{u"/p/照片 1.jpg"_s, u"/p/no"_s}));
    }
    EXPECT_FALSE(QFile::exists(socket));
    EXPECT_EQ(HandToRunningAlbum(socket, u"/p/a.jpg"_s, 100), HandoffResult::NoAlbum);
}

TEST(HandoffTest, AFileInTheSocketsPlaceIsLeftAlone) {
    const test::TempFolder dir;
    const QString socket = dir.write(u"leafsong.sock"_s, "mine");
    HandoffListener listener([](const QString&) { return true; });
    EXPECT_FALSE(listener.Listen(socket));
    EXPECT_EQ(dir.read(u"leafsong.sock"_s), "mine");
}

}  // namespace
}  // namespace leafsong
