#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <optional>

#include "app/album.h"
#include "app/command_line.h"
#include "core/texts.h"
#include "platform/instance_lock.h"
#include "platform/runtime_stand_in.h"
#include "platform/start_environment.h"

int main(int argc, char** argv) {
    leafsong::CaptureStartEnvironment();
    QElapsedTimer started;
    started.start();
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    const leafsong::CommandLine cl = leafsong::ParseCommandLine(args, QDir::currentPath());
    switch (cl.action) {
        case leafsong::CommandLine::Action::Help:
        case leafsong::CommandLine::Action::Version:
            std::fputs(cl.message.toUtf8().constData(), stdout);
            return 0;
        case leafsong::CommandLine::Action::Error:
            std::fputs(cl.message.toUtf8().constData(), stderr);
            return 2;
        case leafsong::CommandLine::Action::Run:
            break;
    }
    // A running album takes the file itself; this copy needs no window then.
    if (cl.open.kind != leafsong::OpenRequest::Kind::None) {
        if (const std::optional<int> status = leafsong::HandOverToRunningAlbum(
                leafsong::InstanceLock::DefaultPath(), cl.open.path, 0)) {
            return *status;
        }
    }
    leafsong::PrepareEnvironment();
    std::optional<leafsong::RuntimeDirStandIn> standIn(std::in_place);
    QApplication app(argc, argv);
    standIn.reset();
    // Before any window or menu is made: they take their texts when made.
    const std::unique_ptr<QTranslator> texts =
        leafsong::InstallTexts(leafsong::ChooseTextLanguage(leafsong::LocaleVariablesOfProcess()));
    return leafsong::RunAlbum(cl.open, started);
}
