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
class Frm_Fusen : public QWidget, public NoteView {
    Q_OBJECT
public:
    Frm_Fusen(int slot, const QImage& picture, NoteActions& actions);

    // The note's slot number as text, "1" .. "16".
    QString Txt_No() const { return QString::number(slot_); }
    int slot() const { return slot_; }
    const QImage& picture() const { return picture_; }
    bool topmost() const { return topmost_; }
    QLabel* Pic_Fusen() const { return pic_; }
    QMenu* Pop_FusenMenu() const { return menu_; }

    void Pop_FusenPrint_Click();
    void Pop_FusenCopy_Click();
    void Pop_FusenSave_Click();
    void Pop_FusenZenmen_Click();
    void Pop_Close_Click();
    // Lets the window manager move the note as if by a title bar; where it declines, the
    // note follows the pointer itself until the button is released.
    void StartNoteDrag();

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
    QLabel* pic_;
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
