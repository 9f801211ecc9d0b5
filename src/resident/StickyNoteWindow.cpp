#include "resident/StickyNoteWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include "controls/WidgetText.h"
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
    setWindowTitle(QStringLiteral("付せん %1").arg(slot_));
    // Notes come and go while the program stays resident.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    pictureLabel_->setObjectName(QStringLiteral("pictureLabel"));
    QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) setScreen(screen);

    // The picture is in device pixels, as it was on the screen: shown one to one it keeps its
    // size and stays sharp on a scaled screen, where Qt would otherwise enlarge it.
    const qreal ratio = screen ? screen->devicePixelRatio() : devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(picture_);
    pixmap.setDevicePixelRatio(ratio);
    const QSize windowSize = NoteWindowSize(picture_.size(), ratio);
    pictureLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pictureLabel_->setPixmap(pixmap);
    pictureLabel_->setGeometry(0, 0, windowSize.width(), windowSize.height());
    pictureLabel_->installEventFilter(this);
    // Without a frame the inner area is the whole window.
    setFixedSize(windowSize);

    if (screen) move(NoteTopLeft(pointer, windowSize, screen->availableGeometry()));

    buildMenu();
}

void StickyNoteWindow::buildMenu()
{
    menu_ = new QMenu(FromUtf8(texts::kNoteMenuTitle), this);
    menu_->setObjectName(QStringLiteral("menu"));
    auto add = [this](const char* name, std::string_view caption,
                      void (StickyNoteWindow::*handler)()) {
        QAction* item = menu_->addAction(FromUtf8(caption));
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
        onTopItem_->setToolTip(FromUtf8(texts::kNoteOnTopUnavailable));
        menu_->setToolTipsVisible(true);
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
