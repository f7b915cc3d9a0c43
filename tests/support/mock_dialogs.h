#pragma once
// The album's dialogs as a strict gmock, for tests that script or forbid them.

#include <gmock/gmock.h>

#include "platform/dialogs.h"

namespace leafsong::test {

struct MockDialogs : Dialogs {
    MOCK_METHOD(QString, BrowseFolder, (QWidget*, const QString&, const QString&), (override));
    MOCK_METHOD(QString, FileDialog,
                (QWidget*, int, const QString&, const QString&, const QString&, const QString&,
                 const QString&, int),
                (override));
    MOCK_METHOD(void, Inform, (QWidget*, const QString&, const QString&), (override));
};

}  // namespace leafsong::test
