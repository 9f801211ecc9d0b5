#include "resident/CountdownWindow.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <algorithm>

#include "platform/WindowStacking.h"

namespace tovrimo {

namespace {

Qt::WindowFlags CountdownFlags()
{
    Qt::WindowFlags flags = Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput;
    // On X11 a tool tip window is one the window manager neither frames, places nor
    // activates. Wayland shows a tool tip only beside a window of ours, so there it is a small
    // window of its own that the compositor places.
    flags |= MenusCanOpenAnywhere() ? Qt::ToolTip : Qt::Tool;
    return flags;
}

}  // namespace

CountdownWindow::CountdownWindow(QWidget* parent)
    : QWidget(parent, CountdownFlags()), number_(new QLabel(this))
{
    setObjectName(QStringLiteral("countdownWindow"));
    setWindowTitle(tr("トヴリモ カウントダウン"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);

    number_->setObjectName(QStringLiteral("countdownNumber"));
    number_->setAlignment(Qt::AlignCenter);
    QFont big = number_->font();
    big.setPixelSize(48);
    big.setBold(true);
    number_->setFont(big);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 4, 12, 4);
    layout->addWidget(number_);
    // Wide enough for "20", so the window keeps its size while it counts down.
    setFixedSize(QFontMetrics(big).horizontalAdvance(QStringLiteral("20")) + 40,
                 QFontMetrics(big).height() + 8);
}

void CountdownWindow::showSeconds(int seconds)
{
    seconds_ = seconds;
    number_->setText(QString::number(seconds));
    if (isVisible()) return;
    const QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen && MenusCanOpenAnywhere())
        move(CountdownTopLeft(pointer, size(), screen->geometry()));
    show();
}

QPoint CountdownTopLeft(QPoint pointer, QSize size, QRect screen)
{
    if (screen.isEmpty()) return pointer;
    auto along = [](int at, int start, int length, int extent) {
        constexpr int kMargin = CountdownWindow::kMarginPixels;
        const bool far = at - start >= length / 2;
        const int placed = far ? start + length - kMargin - extent : start + kMargin;
        // A screen too small for the margins still shows the whole window from its start.
        return std::max(start, std::min(placed, start + length - extent));
    };
    return {along(pointer.x(), screen.left(), screen.width(), size.width()),
            along(pointer.y(), screen.top(), screen.height(), size.height())};
}

}  // namespace tovrimo
