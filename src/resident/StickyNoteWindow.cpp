#include "resident/StickyNoteWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>

#include "controls/WidgetText.h"
#include "platform/Translated.h"
#include "platform/WindowStacking.h"
#include "resident/NoteTable.h"
#include "resident/NoteTexts.h"

namespace tovrimo {

StickyNoteWindow::StickyNoteWindow(int slot, const QImage& picture, NoteActions& actions)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint),
      slot_(slot),
      picture_(picture),
      actions_(actions),
      pictureLabel_(new QLabel(this))
{
    setObjectName(QStringLiteral("StickyNoteWindow"));
    setWindowTitle(tr("付せん %1").arg(slot_));
    // Notes come and go while the program stays resident.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    pictureLabel_->setObjectName(QStringLiteral("pictureLabel"));
    QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) setScreen(screen);

    pictureLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pictureLabel_->installEventFilter(this);
    showPictureAtZoom();

    if (screen) move(NoteTopLeft(pointer, size(), screen->availableGeometry()));

    buildMenu();
}

void StickyNoteWindow::showPictureAtZoom()
{
    // The picture is in device pixels, as it was on the screen: shown one to one it keeps its
    // size and stays sharp on a scaled screen, where Qt would otherwise enlarge it.
    QScreen* shownOn = screen();
    const qreal ratio = shownOn ? shownOn->devicePixelRatio() : devicePixelRatioF();
    const QSize devicePixels = ZoomedPictureSize(picture_.size(), zoomPercent_);
    // Enlarged, a screen picture shows its pixels as crisp blocks, which is what one zooms in
    // to read; shrunk, the pixels are averaged so that text stays legible.
    const Qt::TransformationMode mode =
        zoomPercent_ > 100 ? Qt::FastTransformation : Qt::SmoothTransformation;
    QPixmap pixmap = QPixmap::fromImage(
        zoomPercent_ == 100 ? picture_
                            : picture_.scaled(devicePixels, Qt::IgnoreAspectRatio, mode));
    pixmap.setDevicePixelRatio(ratio);
    const QSize windowSize = NoteWindowSize(devicePixels, ratio);
    pictureLabel_->setPixmap(pixmap);
    pictureLabel_->setGeometry(0, 0, windowSize.width(), windowSize.height());
    // Without a frame the inner area is the whole window.
    setFixedSize(windowSize);
}

void StickyNoteWindow::setZoomPercent(int percent)
{
    percent = std::clamp(percent, kNoteZoomSteps.front(), kNoteZoomSteps.back());
    if (percent == zoomPercent_) return;
    zoomPercent_ = percent;
    showPictureAtZoom();
}

void StickyNoteWindow::setOpacityPercent(int percent)
{
    opacityPercent_ = std::clamp(percent, 1, 100);
    setWindowOpacity(opacityPercent_ / 100.0);
    for (QAction* item : opacityMenu_->actions())
        item->setChecked(item->data().toInt() == opacityPercent_);
}

void StickyNoteWindow::buildMenu()
{
    menu_ = new QMenu(Translated(texts::kNoteContext, texts::kNoteMenuTitle), this);
    menu_->setObjectName(QStringLiteral("menu"));
    auto add = [this](const char* name, std::string_view caption,
                      void (StickyNoteWindow::*handler)()) {
        QAction* item = menu_->addAction(Translated(texts::kNoteContext, caption));
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    add("printItem", texts::kNotePrint, &StickyNoteWindow::printPicture);
    add("copyItem", texts::kNoteCopy, &StickyNoteWindow::copyPicture);
    add("saveItem", texts::kNoteSave, &StickyNoteWindow::savePicture);
    menu_->addSeparator()->setObjectName(QStringLiteral("alwaysOnTopSeparator"));
    onTopItem_ = add("alwaysOnTopItem", texts::kNoteOnTop, &StickyNoteWindow::toggleAlwaysOnTop);
    onTopItem_->setCheckable(true);
    onTopItem_->setChecked(false);
    if (!WindowsCanStayOnTop()) {
        // Rather than an item that seems to work and does nothing, say why it cannot.
        onTopItem_->setEnabled(false);
        onTopItem_->setToolTip(Translated(texts::kNoteContext, texts::kNoteOnTopUnavailable));
        menu_->setToolTipsVisible(true);
    }
    opacityMenu_ = menu_->addMenu(Translated(texts::kNoteContext, texts::kNoteOpacity));
    opacityMenu_->setObjectName(QStringLiteral("opacityMenu"));
    opacityMenu_->menuAction()->setObjectName(QStringLiteral("opacityItem"));
    auto* opacities = new QActionGroup(opacityMenu_);
    for (int percent : texts::kNoteOpacitySteps) {
        QAction* item =
            opacityMenu_->addAction(QString::fromStdString(texts::NoteOpacityItem(percent)));
        item->setObjectName(QStringLiteral("opacity%1Item").arg(percent));
        item->setData(percent);
        item->setCheckable(true);
        item->setChecked(percent == opacityPercent_);
        opacities->addAction(item);
        connect(item, &QAction::triggered, this, [this, percent] { setOpacityPercent(percent); });
    }
    menu_->addSeparator()->setObjectName(QStringLiteral("closeSeparator"));
    add("closeItem", texts::kNotePeel, &StickyNoteWindow::closeNote);
}

void StickyNoteWindow::printPicture()
{
    actions_.printNote(picture_);
}

void StickyNoteWindow::copyPicture()
{
    actions_.copyNote(picture_);
}

void StickyNoteWindow::savePicture()
{
    actions_.saveNote(picture_, this);
}

void StickyNoteWindow::toggleAlwaysOnTop()
{
    topmost_ = !topmost_;
    if (KeepAboveService* compositor = CurrentKeepAboveService()) {
        // Wayland has no request for it: the compositor's own service keeps the note above.
        if (!compositor->keepAbove(windowTitle().toStdString(), topmost_)) topmost_ = !topmost_;
        onTopItem_->setChecked(topmost_);
        return;
    }
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost_);
    if (QWindow* window = windowHandle()) {
        // Told to the shown window directly: the window manager moves it into or out of the
        // band above the others, and position and size stay as they are.
        overrideWindowFlags(flags);
        window->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
    onTopItem_->setChecked(topmost_);
}

void StickyNoteWindow::closeNote()
{
    actions_.closeNote(slotText().toInt());
}

void StickyNoteWindow::startNoteDrag()
{
    if (dragStarted_) return;
    dragStarted_ = true;
    QWindow* window = windowHandle();
    if (window && window->startSystemMove()) return;
    followingPointer_ = true;
}

bool StickyNoteWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != pictureLabel_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            dragStarted_ = false;
            followingPointer_ = false;
            pressGlobal_ = mouse->globalPosition().toPoint();
            pressWindowPos_ = pos();
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->buttons() & Qt::LeftButton)) return false;
        startNoteDrag();
        if (followingPointer_)
            move(pressWindowPos_ + (mouse->globalPosition().toPoint() - pressGlobal_));
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) setZoomPercent(100);
        return true;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
        // One notch is 120; finer wheels add up to whole notches.
        wheelEighths_ += wheel->angleDelta().y();
        const int notches = wheelEighths_ / 120;
        wheelEighths_ -= notches * 120;
        if (notches != 0) setZoomPercent(NextNoteZoom(zoomPercent_, notches));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            dragStarted_ = false;
            followingPointer_ = false;
        } else if (mouse->button() == Qt::RightButton) {
            menu_->popup(mouse->globalPosition().toPoint());
        }
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void StickyNoteWindow::bringToFront()
{
    show();
    raise();
    activateWindow();
}

void StickyNoteWindow::dispose()
{
    disposing_ = true;
    menu_->close();
    hide();
    deleteLater();
}

void StickyNoteWindow::closeEvent(QCloseEvent* event)
{
    // Closed from outside (the window manager): the note is peeled off like from its menu,
    // so that its slot is free again.
    if (!disposing_) {
        event->ignore();
        closeNote();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace tovrimo
