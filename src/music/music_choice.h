#pragma once
// The music command's question: which file to play.

#include <QString>

#include "platform/dialogs.h"

namespace leafsong {

// The music dialog's filter, in the installed language: five description|pattern pairs.
QString MusicFilter();

// Asks for a music file, starting at the current one's folder (programDir when that is gone) on
// the filter entry of its extension. Returns the chosen file when it exists and differs from
// current; "" when the dialog was cancelled or the choice changes nothing (the tune that plays
// goes on undisturbed).
QString AskForMusic(Dialogs& dialogs, QWidget* owner, const QString& current,
                    const QString& programDir);

}  // namespace leafsong
