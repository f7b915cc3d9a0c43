// The editor's command line, and what starting it reports, without starting a real editor.
#include "platform/editor.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QMap>
#include <QThread>
#include <optional>
#include <tuple>

#include "platform/start_environment.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

// Sets variables for one test and gives them their values back.
class ScopedEnvironment {
public:
    void Set(const QByteArray& name, const QString& value) {
        if (!saved_.contains(name)) {
            saved_.insert(name, qEnvironmentVariableIsSet(name.constData())
                                    ? std::optional(qgetenv(name.constData()))
                                    : std::nullopt);
        }
        qputenv(name.constData(), QFile::encodeName(value));
    }
    ~ScopedEnvironment() {
        for (auto it = saved_.cbegin(); it != saved_.cend(); ++it) {
            it.value() ? qputenv(it.key().constData(), *it.value())
                       : qunsetenv(it.key().constData());
        }
    }

private:
    QMap<QByteArray, std::optional<QByteArray>> saved_;
};

TEST(EditorTest, TheVariableIsSplitIntoProgramAndArgumentsBeforeTheFile) {
    const QString file = u"/tmp/a b/ReadMe.txt"_s;
    const std::pair<QString, QStringList> rows[] = {
        {u"gedit"_s, {u"gedit"_s, file}},
        {u"  code   --wait "_s, {u"code"_s, u"--wait"_s, file}},
        {u"\"/opt/My Editor/ed\" -s"_s, {u"/opt/My Editor/ed"_s, u"-s"_s, file}},
        {u""_s, {}},
        {u" \t "_s, {}},
        {u"\"\""_s, {}},
    };
    for (const auto& [variable, command] : rows) {
        EXPECT_EQ(EditorCommand(variable, file), command) << variable.toStdString();
    }
}

TEST(EditorTest, NoEditorToStartIsReported) {
    const test::TempFolder dir;
    ScopedEnvironment env;
    env.Set("PATH", dir.path());  // no xdg-open
    for (const QString& variable : {u""_s, u"  "_s, dir.path(u"missing editor"_s), u"missing"_s}) {
        env.Set("LEAFSONG_EDITOR", variable);
        EXPECT_FALSE(DesktopEditor().Open(dir.path(u"ReadMe.txt"_s))) << variable.toStdString();
    }
}

// Each stand-in for an editor writes its arguments and a variable set after the start.
TEST(EditorTest, TheEditorOrXdgOpenStartsWithTheFileAndTheStartEnvironment) {
    CaptureStartEnvironment();
    const test::TempFolder dir;
    ScopedEnvironment env;
    env.Set("LEAFSONG_SET_LATER", u"by the album"_s);
    const QByteArray script =
        "#!/bin/sh\nprintf '%s\\n' \"$@\" \"${LEAFSONG_SET_LATER-unset}\" "
        "> \"$0.out\"\n";
    const QString editor = dir.write(u"my editor"_s, script);
    const QString opener = dir.write(u"bin/xdg-open"_s, script);
    for (const QString& f : {editor, opener}) {
        QFile::setPermissions(f, QFile::ReadOwner | QFile::ExeOwner);
    }
    const QString file = dir.path(u"Read Me.txt"_s);
    env.Set("PATH", dir.path(u"bin"_s));
    const std::tuple<QString, QString, QByteArray> rows[] = {
        {u"\"%1\" -s"_s.arg(editor), editor, "-s\n" + file.toUtf8() + "\nunset\n"},
        {u""_s, opener, file.toUtf8() + "\nunset\n"},
    };
    for (const auto& [variable, program, said] : rows) {
        env.Set("LEAFSONG_EDITOR", variable);
        EXPECT_TRUE(DesktopEditor().Open(file)) << variable.toStdString();
        const QString out = program + u".out"_s;
        for (const QDeadlineTimer deadline(10000);
             test::TempFolder::ReadFile(out) != said && !deadline.hasExpired();) {
            QThread::msleep(5);
        }
        EXPECT_EQ(test::TempFolder::ReadFile(out), said) << variable.toStdString();
    }
}

}  // namespace
}  // namespace leafsong
