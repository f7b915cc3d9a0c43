// A tiny drag source for the drop tests: a green square at (10, 10) that starts a drag of the
// files named on its command line when pressed, as a file manager does. It prints "action 1"
// once a window under the pointer takes the drag as a copy, and ends when the drag is over (on
// X11 that is once the target has fetched the data and said it has finished).
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPushButton>
#include <QTextStream>
#include <QUrl>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (int i = 1; i < argc; ++i) {
        urls << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i]));
    }
    QPushButton source;
    source.setGeometry(10, 10, 120, 120);
    source.setStyleSheet(QStringLiteral("background: #20a040; border: none"));
    QObject::connect(&source, &QPushButton::pressed, &source, [&] {
        auto* drag = new QDrag(&source);
        drag->setMimeData(new QMimeData);
        drag->mimeData()->setUrls(urls);
        QObject::connect(drag, &QDrag::actionChanged, &source, [](Qt::DropAction action) {
            QTextStream(stdout) << "action " << action << Qt::endl;
        });
        QObject::connect(drag, &QObject::destroyed, &app, &QApplication::quit);
        drag->exec(Qt::CopyAction);
    });
    source.show();
    return QApplication::exec();
}
