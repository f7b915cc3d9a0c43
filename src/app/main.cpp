#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <optional>

#include "app/album.h"
#include "app/command_line.h"
#include "platform/runtime_stand_in.h"

int main(int argc, char** argv) {
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
    leafsong::PrepareEnvironment();
    std::optional<leafsong::RuntimeDirStandIn> standIn(std::in_place);
    QApplication app(argc, argv);
    standIn.reset();
    return leafsong::RunAlbum(cl.folder, started);
}
