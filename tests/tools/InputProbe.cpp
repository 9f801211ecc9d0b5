// A plain window that writes every pointer button and key event it receives to stdout, one
// line each, in the window's own coordinates:
//   press <button> <x> <y>
//   release <button> <x> <y>
//   key <Qt key code> <text>
// The window title is the first argument. Tests start it in a session and read the lines to
// see whether input they injected reached a client at all, and where.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <cstdio>

namespace {

class ProbeWindow : public QWidget {
public:
    explicit ProbeWindow(const QString& title)
    {
        setWindowTitle(title);
        resize(400, 300);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { report("press", event); }
    void mouseReleaseEvent(QMouseEvent* event) override { report("release", event); }
    void keyPressEvent(QKeyEvent* event) override
    {
        std::printf("key %d %s\n", event->key(), event->text().toUtf8().constData());
        std::fflush(stdout);
    }

private:
    static void report(const char* what, QMouseEvent* event)
    {
        const QPoint at = event->position().toPoint();
        std::printf("%s %d %d %d\n", what, static_cast<int>(event->button()), at.x(), at.y());
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    ProbeWindow window(args.size() > 1 ? args.at(1) : QStringLiteral("input probe"));
    window.show();
    std::printf("shown\n");
    std::fflush(stdout);
    return app.exec();
}
