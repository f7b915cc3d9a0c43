#include <gtest/gtest.h>

#include <QProcess>
#include <QUuid>

#include "platform/clock.h"
#include "platform/instance_lock.h"

namespace leafsong {
namespace {

QString UniqueName() {
    return QStringLiteral("leafsong-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

TEST(InstanceLockTest, OneHolderAtATime) {
    const QString name = UniqueName();
    auto first = std::make_unique<InstanceLock>();
    ASSERT_TRUE(first->TryAcquire(name));
    InstanceLock second;
    EXPECT_FALSE(second.TryAcquire(name));
    EXPECT_FALSE(second.held());
    // Freed with its holder, with nothing left behind to clean up.
    first.reset();
    EXPECT_TRUE(second.TryAcquire(name));
}

TEST(InstanceLockTest, NamesDifferPerUserOnly) {
    EXPECT_TRUE(InstanceLock::DefaultName().startsWith(QLatin1String("leafsong-")));
    qputenv("XDG_RUNTIME_DIR", "/elsewhere");
    const QString a = InstanceLock::DefaultName();
    qputenv("TMPDIR", "/other");
    EXPECT_EQ(InstanceLock::DefaultName(), a);
}

TEST(IsBirthdayTest, FifthOfJuneOnly) {
    struct Row {
        QDate day;
        bool birthday;
    };
    const Row rows[] = {{{2026, 6, 5}, true},   {{1999, 6, 5}, true},  {{2024, 6, 5}, true},
                        {{2026, 6, 4}, false},  {{2026, 6, 6}, false}, {{2026, 5, 6}, false},
                        {{2026, 12, 6}, false}, {{2026, 1, 1}, false}};
    for (const Row& r : rows) {
        EXPECT_EQ(IsBirthday(FixedClock(r.day)), r.birthday) << r.day.toString().toStdString();
    }
}

}  // namespace
}  // namespace leafsong
