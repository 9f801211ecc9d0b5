#pragma once

#include <QImage>

class QWidget;

namespace tovrimo {

// What a note's menu asks of the program.
class NoteActions {
public:
    virtual ~NoteActions() = default;
    virtual void printNote(const QImage& picture) = 0;
    virtual void copyNote(const QImage& picture) = 0;
    virtual void saveNote(const QImage& picture, QWidget* owner) = 0;
    // Peels the note of the slot off.
    virtual void closeNote(int slot) = 0;
};

// One open note as the note table sees it.
class NoteView {
public:
    virtual ~NoteView() = default;
    // Raises the note and makes it the active window.
    virtual void bringToFront() = 0;
    // Takes the note off the screen and lets it go; the view must not be used afterwards.
    virtual void dispose() = 0;
};

}  // namespace tovrimo
