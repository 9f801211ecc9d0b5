#include "resident/FrmTovrimo.h"

#include <QCursor>
#include <QImageReader>
#include <QMenu>

#include "platform/TrayIcon.h"

namespace tovrimo {

FrmTovrimo::FrmTovrimo(std::unique_ptr<TrayIcon> tray, QWidget* parent)
    : QWidget(parent), tray_(std::move(tray)), icon_(BuiltInIcon())
{
    setWindowTitle(QStringLiteral("トヴリモ"));
    tray_->onNotification = [this](TrayNotification n) { onNotification(static_cast<int>(n)); };
}

FrmTovrimo::~FrmTovrimo()
{
    RemoveTrayIcon();
}

QIcon FrmTovrimo::BuiltInIcon()
{
    return QIcon(QStringLiteral(":/tovrimo.png"));
}

bool FrmTovrimo::ApplyTrayIconImage(const std::string& iconPath)
{
    icon_ = BuiltInIcon();
    if (iconPath.empty()) return true;
    QImageReader reader(QString::fromStdString(iconPath));
    const QImage image = reader.read();
    if (image.isNull()) return true;  // silently keep the built-in picture
    icon_ = QIcon(QPixmap::fromImage(image));
    setWindowIcon(icon_);
    return false;
}

void FrmTovrimo::AddTrayIcon(const std::string& tooltip)
{
    tray_->add(icon_, tooltip);
}

void FrmTovrimo::RemoveTrayIcon()
{
    tray_->remove();
}

void FrmTovrimo::onNotification(int message)
{
    if (message == static_cast<int>(TrayNotification::RightDown)) {
        QMenu menu;
        menu.addAction(QStringLiteral("トヴリモの終了"), this, &FrmTovrimo::exitRequested);
        menu.exec(QCursor::pos());
    }
}

}  // namespace tovrimo
