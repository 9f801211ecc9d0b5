// A window that shows nothing but one colour, for tests that need something recognisable on
// the screen:
//   colour_window <title> <#rrggbb> [<width> <height>]
// It prints "shown" once the window has been painted for the first time.

#include <QApplication>
#include <QColor>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <cstdio>

namespace {

class ColourWindow : public QWidget {
public:
    ColourWindow(const QString& title, const QColor& colour) : colour_(colour)
    {
        setWindowTitle(title);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), colour_);
        if (!shown_) {
            shown_ = true;
            std::printf("shown\n");
            std::fflush(stdout);
        }
    }

private:
    QColor colour_;
    bool shown_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 && args.size() != 5) {
        std::fprintf(stderr, "usage: colour_window <title> <#rrggbb> [<width> <height>]\n");
        return 2;
    }
    const QColor colour(args.at(2));
    if (!colour.isValid()) {
        std::fprintf(stderr, "colour_window: not a colour: %s\n", args.at(2).toUtf8().constData());
        return 2;
    }
    ColourWindow window(args.at(1), colour);
    if (args.size() == 5) window.resize(args.at(3).toInt(), args.at(4).toInt());
    window.show();
    return app.exec();
}
