#include "platform/editor.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "platform/log.h"

namespace leafsong {

void DesktopEditor::Open(const QString& file) {
    const QString editor = qEnvironmentVariable("LEAFSONG_EDITOR");
    if (!editor.isEmpty()) {
        if (!QProcess::startDetached(editor, {file})) {
            qCDebug(lcStartup) << "cannot start the editor" << editor;
        }
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

}  // namespace leafsong
