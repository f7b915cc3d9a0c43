// The editor's command line, and what starting it reports, without starting a real editor.
#include "platform/editor.h"

#include <gtest/gtest.h>

#include <QtCore/qtestsupport_core.h>
#include <QFile>
#include <QScopeGuard>
#include <tuple>

#include "platform/start_environment.h"
#include "support/temp_folder.h"

namespace leafsong {
namespace {

using namespace Qt::StringLiterals;

TEST(EditorTest, TheVariableIsSplitIntoProgramAndArgumentsBeforeTheFile) {
    const QString file = u"/tmp/a b/ReadMe.txt"_s;
    const std::pair<QString, QStringList> rows[] = {
        {u"gedit"_s, {u"gedit"_s, file}},
        {u"  code   --wait "_s, {u"code"_s, u"--wait"_s, file}},
        {u"\"/opt/My Editor/ed\" -s"_s, {u"/opt/My Editor/ed"_s, u"-s"_s, file}},
        {u" \t "_s, {}},
        {u"\"\""_s, {}},
    };
    for (const auto& [variable, command] : rows) {
        EXPECT_EQ(EditorCommand(variable, file), command) << variable.toStdString();
    }
}

TEST(EditorTest, TheEditorOrXdgOpenStartsWithTheFileAndTheStartEnvironmentElseItIsReported) {
    CaptureStartEnvironment();
    const test::TempFolder dir;
    const QByteArray oldPath = qgetenv("PATH");
    const auto restore = qScopeGuard([&] {
        qputenv("PATH", oldPath), qunsetenv("LEAFSONG_EDITOR"), qunsetenv("LEAFSONG_SET_LATER");
    });
    qputenv("LEAFSONG_SET_LATER", "by the album");
    // Each stand-in for an editor writes its arguments and a variable set after the start.
    const QByteArray script =
        "#!/bin/sh\nprintf '%s\\n' \"$@\" \"${LEAFSONG_SET_LATER-unset}\" "
        "> \"$0.out\"\n";
    const QString editor = dir.write(u"my editor"_s, script);
    const QString opener = dir.write(u"bin/xdg-open"_s, script);
    for (const QString& f : {editor, opener}) {
        QFile::setPermissions(f, QFile::ReadOwner | QFile::ExeOwner);
    }
    const QString file = dir.path(u"Read Me.txt"_s);
    // The variable, the PATH (under dir), the program started and what it was told.
    const std::tuple<QString, QString, QString, QByteArray> rows[] = {
        {u"\"%1\" -s"_s.arg(editor), u"bin"_s, editor, "-s\n" + file.toUtf8() + "\nunset\n"},
        {u""_s, u"bin"_s, opener, file.toUtf8() + "\nunset\n"},
        {u""_s, u""_s, {}, {}},  // no xdg-open either
        {dir.path(u"missing editor"_s), u"bin"_s, {}, {}},
        {u"missing"_s, u"bin"_s, {}, {}},
    };
    for (const auto& [variable, path, program, said] : rows) {
        qputenv("LEAFSONG_EDITOR", QFile::encodeName(variable));
        qputenv("PATH", QFile::encodeName(dir.path(path)));
        EXPECT_EQ(DesktopEditor().Open(file), !program.isEmpty()) << variable.toStdString();
        if (!program.isEmpty()) {
            const QString out = program + u".out"_s;
            EXPECT_TRUE(QTest::qWaitFor([&, &said = said] {
                return test::TempFolder::ReadFile(out) == said;
            })) << variable.toStdString()
                << ": " << test::TempFolder::ReadFile(out).toStdString();
        }
    }
}

}  // namespace
}  // namespace leafsong
