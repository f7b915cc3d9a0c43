#include "platform/editor.h"

#include <QProcess>
#include <QStandardPaths>

#include "platform/log.h"
#include "platform/start_environment.h"

namespace leafsong {

QStringList EditorCommand(const QString& variable, const QString& file) {
    QStringList command = QProcess::splitCommand(variable);
    if (!command.isEmpty()) {
        command << file;
    }
    return command;
}

bool DesktopEditor::Open(const QString& file) {
    QStringList command = EditorCommand(qEnvironmentVariable("LEAFSONG_EDITOR"), file);
    if (command.isEmpty()) {
        // Not QDesktopServices: without a desktop session it shows nothing and cannot say so.
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty()) {
            qCDebug(lcStartup) << "no editor: LEAFSONG_EDITOR is unset and xdg-open is missing";
            return false;
        }
        command = QStringList{opener, file};
    }
    QProcess process;
    process.setProgram(command.takeFirst());
    process.setArguments(command);
    process.setProcessEnvironment(StartEnvironment());
    if (!process.startDetached()) {
        qCDebug(lcStartup) << "cannot start the editor" << process.program()
                           << process.errorString();
        return false;
    }
    return true;
}

}  // namespace leafsong
