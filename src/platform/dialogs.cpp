#include "platform/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "common/nearest.h"

namespace leafsong {

QStringList ToNameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        out << parts[i] + QStringLiteral(" (") + patterns.simplified() + u')';
    }
    return out;
}

int GetFilterIndex(const QString& extension, const QString& filter) {
    const QStringList parts = filter.split(u'|');
    const QString search = QStringLiteral("*.") + extension;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (parts[i].contains(search, Qt::CaseInsensitive)) {
            return Nearest((i + 2) / 2.0);
        }
    }
    return 1;
}

QString QtDialogs::BrowseFolder(QWidget* owner, const QString& title, const QString& startFolder) {
    QFileDialog dialog(owner, title, startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setModal(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::FileDialog(QWidget* owner, int mode, const QString& title,
                              const QString& initialName, const QString& filter,
                              const QString& initialFolder, const QString& defaultExt,
                              int filterIndex) {
    QFileDialog dialog(owner, title);
    dialog.setModal(true);
    const bool open = mode == kOpenMode;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The descriptions already name their patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = ToNameFilters(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(filterIndex - 1, filters.constFirst()));
    }
    if (!initialFolder.isEmpty()) {
        dialog.setDirectory(initialFolder);
    }
    if (!initialName.isEmpty()) {
        dialog.selectFile(initialName);
    }
    dialog.setDefaultSuffix(defaultExt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void QtDialogs::Inform(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox::information(owner, title, text);
}

}  // namespace leafsong
