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
    QMenu* opacityMenu() const { return opacityMenu_; }

    // How large the note shows its picture, in percent; the picture itself keeps its pixels,
    // and print, copy and save use them. Held within the zoom steps' range.
    int zoomPercent() const { return zoomPercent_; }
    void setZoomPercent(int percent);
    // How opaque the whole note is, in percent.
    int opacityPercent() const { return opacityPercent_; }
    void setOpacityPercent(int percent);

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
    void showPictureAtZoom();

    int slot_;
    QImage picture_;
    NoteActions& actions_;
    QLabel* pictureLabel_;
    QMenu* menu_ = nullptr;
    QAction* onTopItem_ = nullptr;
    QMenu* opacityMenu_ = nullptr;
    int zoomPercent_ = 100;
    int opacityPercent_ = 100;
    int wheelEighths_ = 0;  // a fine-grained wheel's turn not yet a whole step
    bool topmost_ = false;
    bool disposing_ = false;
    // Dragging: the system move is asked for once per press; the fallback follows the pointer.
    bool dragStarted_ = false;
    bool followingPointer_ = false;
    QPoint pressGlobal_;
    QPoint pressWindowPos_;
};

}  // namespace tovrimo
