#pragma once
// Debug logging, off unless switched on with QT_LOGGING_RULES (e.g. "leafsong.flip.debug=true").

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcStartup)
Q_DECLARE_LOGGING_CATEGORY(lcPages)
Q_DECLARE_LOGGING_CATEGORY(lcFlip)
Q_DECLARE_LOGGING_CATEGORY(lcMedia)
Q_DECLARE_LOGGING_CATEGORY(lcMarks)
Q_DECLARE_LOGGING_CATEGORY(lcInput)
Q_DECLARE_LOGGING_CATEGORY(lcTexts)
