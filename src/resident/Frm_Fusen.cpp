#include "resident/Frm_Fusen.h"

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

#include "resident/NoteTable.h"
#include "resident/NoteTexts.h"

namespace tovrimo {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), text.size());
}

}  // namespace

Frm_Fusen::Frm_Fusen(int slot, const QImage& picture, NoteActions& actions)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint),
      slot_(slot),
      picture_(picture),
      actions_(actions),
      pic_(new QLabel(this))
{
    setObjectName(QStringLiteral("Frm_Fusen"));
    setWindowTitle(QStringLiteral("付せん %1").arg(slot_));
    // Notes come and go while the program stays resident.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    pic_->setObjectName(QStringLiteral("Pic_Fusen"));
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
    pic_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pic_->setPixmap(pixmap);
    pic_->setGeometry(0, 0, windowSize.width(), windowSize.height());
    pic_->installEventFilter(this);
    // Without a frame the inner area is the whole window.
    setFixedSize(windowSize);

    if (screen) move(NoteTopLeft(pointer, windowSize, screen->availableGeometry()));

    buildMenu();
}

void Frm_Fusen::buildMenu()
{
    menu_ = new QMenu(Q(texts::kNoteMenuTitle), this);
    menu_->setObjectName(QStringLiteral("Pop_FusenMenu"));
    auto add = [this](const char* name, std::string_view caption, void (Frm_Fusen::*handler)()) {
        QAction* item = menu_->addAction(Q(caption));
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    add("Pop_FusenPrint", texts::kNotePrint, &Frm_Fusen::Pop_FusenPrint_Click);
    add("Pop_FusenCopy", texts::kNoteCopy, &Frm_Fusen::Pop_FusenCopy_Click);
    add("Pop_FusenSave", texts::kNoteSave, &Frm_Fusen::Pop_FusenSave_Click);
    menu_->addSeparator()->setObjectName(QStringLiteral("Pop_FusenHifun2"));
    onTopItem_ = add("Pop_FusenZenmen", texts::kNoteOnTop, &Frm_Fusen::Pop_FusenZenmen_Click);
    onTopItem_->setCheckable(true);
    onTopItem_->setChecked(false);
    menu_->addSeparator()->setObjectName(QStringLiteral("Pop_FusenHifun3"));
    add("Pop_Close", texts::kNotePeel, &Frm_Fusen::Pop_Close_Click);
}

void Frm_Fusen::Pop_FusenPrint_Click()
{
    actions_.printNote(picture_);
}

void Frm_Fusen::Pop_FusenCopy_Click()
{
    actions_.copyNote(picture_);
}

void Frm_Fusen::Pop_FusenSave_Click()
{
    actions_.saveNote(picture_, this);
}

void Frm_Fusen::Pop_FusenZenmen_Click()
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

void Frm_Fusen::Pop_Close_Click()
{
    actions_.closeNote(Txt_No().toInt());
}

void Frm_Fusen::StartNoteDrag()
{
    if (dragStarted_) return;
    dragStarted_ = true;
    QWindow* window = windowHandle();
    if (window && window->startSystemMove()) return;
    followingPointer_ = true;
}

bool Frm_Fusen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != pic_) return QWidget::eventFilter(watched, event);
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
        StartNoteDrag();
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

void Frm_Fusen::bringToFront()
{
    show();
    raise();
    activateWindow();
}

void Frm_Fusen::dispose()
{
    disposing_ = true;
    menu_->close();
    hide();
    deleteLater();
}

void Frm_Fusen::closeEvent(QCloseEvent* event)
{
    // Closed from outside (the window manager): the note is peeled off like from its menu,
    // so that its slot is free again.
    if (!disposing_) {
        event->ignore();
        Pop_Close_Click();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace tovrimo
