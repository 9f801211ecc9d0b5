#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "resident/NoteView.h"

class QAction;
class QLabel;
class QMenu;

namespace tovrimo {

// A sticky note: a frameless window exactly the size of its picture, dragged by the picture,
// with its own menu on the right button.
class StickyNoteWindow : public QWidget, public NoteView {
    Q_OBJECT
public:
    StickyNoteWindow(int slot, const QImage& picture, NoteActions& actions);

    // The note's slot number as text, "1" .. "16".
    QString slotText() const { return QString::number(slot_); }
    int slot() const { return slot_; }
    const QImage& picture() const { return picture_; }
    bool topmost() const { return topmost_; }
    QLabel* pictureLabel() const { return pictureLabel_; }
    QMenu* menu() const { return menu_; }

    void printPicture();
    void copyPicture();
    void savePicture();
    void toggleAlwaysOnTop();
    void closeNote();
    // Lets the window manager move the note as if by a title bar; where it declines, the
    // note follows the pointer itself until the button is released.
    void startNoteDrag();

    // NoteView
    void bringToFront() override;
    void dispose() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();

    int slot_;
    QImage picture_;
    NoteActions& actions_;
    QLabel* pictureLabel_;
    QMenu* menu_ = nullptr;
    QAction* onTopItem_ = nullptr;
    bool topmost_ = false;
    bool disposing_ = false;
    // Dragging: the system move is asked for once per press; the fallback follows the pointer.
    bool dragStarted_ = false;
    bool followingPointer_ = false;
    QPoint pressGlobal_;
    QPoint pressWindowPos_;
};

}  // namespace tovrimo
