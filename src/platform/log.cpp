#include "platform/log.h"

// Only warnings and worse are on by default; the album itself prints none in normal use.
Q_LOGGING_CATEGORY(lcStartup, "leafsong.startup", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPages, "leafsong.pages", QtWarningMsg)
Q_LOGGING_CATEGORY(lcFlip, "leafsong.flip", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMedia, "leafsong.media", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMarks, "leafsong.marks", QtWarningMsg)
Q_LOGGING_CATEGORY(lcInput, "leafsong.input", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTexts, "leafsong.texts", QtWarningMsg)
