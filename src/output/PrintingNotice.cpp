#include "output/PrintingNotice.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

#include "platform/qt/ProgramIcon.h"

namespace tovrimo {

namespace {
// 4212 x 624 twips at 15 twips per pixel.
constexpr int kClientWidth = 4212 / 15;
constexpr int kClientHeight = 624 / 15;
}  // namespace

PrintingNotice::PrintingNotice(const QIcon& customIcon, QWidget* parent)
    : QWidget(parent,
              Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(tr("トヴリモ"));
    setFixedSize(kClientWidth, kClientHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* iconLabel = new QLabel(this);
    iconLabel->setObjectName(QStringLiteral("icon"));
    const QIcon icon = customIcon.isNull() ? ProgramIcon() : customIcon;
    iconLabel->setPixmap(icon.pixmap(32, 32));
    auto* message = new QLabel(tr("プリンタに情報を転送しています..."), this);
    message->setObjectName(QStringLiteral("message"));
    message->setFont(QFont(QStringLiteral("MS UI Gothic"), 9));
    layout->addWidget(iconLabel);
    layout->addWidget(message, 1);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move((s.width() - width()) / 2, (s.height() - height()) / 2);
    }
}

}  // namespace tovrimo
