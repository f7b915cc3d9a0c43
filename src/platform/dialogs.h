#pragma once
// The questions the album asks (a folder of pictures, a music file) and the notices it gives.
// Filters are written "description|pattern|description|pattern...", patterns separated by ";".

#include <QString>
#include <QStringList>

class QWidget;

namespace leafsong {

inline constexpr int kOpenMode = 1;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The chosen folder's full path, or "" when cancelled; the dialog opens at startFolder.
    virtual QString BrowseFolder(QWidget* owner, const QString& title,
                                 const QString& startFolder) = 0;
    // The chosen file's full path, or "" when cancelled. mode 1 opens an existing file, any
    // other value saves; filterIndex counts the filter's pairs from 1; an empty initialFolder
    // opens where the dialog opens by default.
    virtual QString FileDialog(QWidget* owner, int mode, const QString& title,
                               const QString& initialName, const QString& filter,
                               const QString& initialFolder, const QString& defaultExt,
                               int filterIndex) = 0;
    // Shows a notice and returns once the user has closed it.
    virtual void Inform(QWidget* owner, const QString& title, const QString& text) = 0;
};

// Qt's own modal dialogs.
class QtDialogs final : public Dialogs {
public:
    QString BrowseFolder(QWidget* owner, const QString& title, const QString& startFolder) override;
    QString FileDialog(QWidget* owner, int mode, const QString& title, const QString& initialName,
                       const QString& filter, const QString& initialFolder,
                       const QString& defaultExt, int filterIndex) override;
    void Inform(QWidget* owner, const QString& title, const QString& text) override;
};

// The filter's pairs as Qt's name filters: "description (patterns)" with blanks between the
// patterns.
QStringList ToNameFilters(const QString& filter);

// The 1-based number of the first pair whose description or pattern contains "*." + extension
// (letter case ignored); 1 when none does.
int GetFilterIndex(const QString& extension, const QString& filter);

}  // namespace leafsong
