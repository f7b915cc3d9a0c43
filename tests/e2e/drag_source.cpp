// A tiny drag source for the drop tests: a window that starts a drag of the files named on its
// command line when pressed, as a file manager does.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

namespace {

class Source final : public QWidget {
public:
    explicit Source(QList<QUrl> urls) : urls_(std::move(urls)) {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setGeometry(10, 10, 120, 120);
        setStyleSheet(QStringLiteral("background: #20a040"));
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setUrls(urls_);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (int i = 1; i < argc; ++i) {
        urls << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i]));
    }
    Source source(urls);
    source.show();
    return QApplication::exec();
}
