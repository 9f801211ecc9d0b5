#pragma once

#include <QImage>
#include <array>
#include <functional>
#include <string>

#include "capture/CaptureEngine.h"
#include "controls/FileDialog.h"
#include "resident/NoteTable.h"
#include "resident/NoteView.h"

class QWidget;

namespace tovrimo {

class MessageBoxes;

struct StickyNoteServices {
    CaptureEngine& engine;
    CaptureBuffer& buffer;
    ClipboardAccess& clipboard;
    MessageBoxes& messages;
    FileDialog& fileDialog;
    std::string& lastFolder;  // where the save dialog starts
};

// The program's sticky notes: up to sixteen pictures from the clipboard, each in its own
// floating window, made, raised and peeled off from the tray menu.
class StickyNotes : public NoteActions {
public:
    // Makes the window of a new note; the default makes a StickyNoteWindow and shows it.
    using ViewFactory = std::function<NoteView*(int slot, const QImage& picture, NoteActions&)>;

    explicit StickyNotes(StickyNoteServices services, ViewFactory factory = {});
    ~StickyNotes() override;
    StickyNotes(const StickyNotes&) = delete;
    StickyNotes& operator=(const StickyNotes&) = delete;

    // A note from the clipboard; nothing when it holds no picture, the limit message when
    // sixteen notes are open.
    void noteFromClipboard();
    void removeAllNotes();
    // A note of the given picture, as the print dialog makes one; false when all slots are
    // taken (the caller tells the user).
    bool addNote(const QImage& picture);
    // Each open note in slot order becomes the active window: the highest ends up in front.
    void bringNotesToFront();

    int noteCount() const { return table_.noteCount(); }
    const NoteTable& table() const { return table_; }
    // The window of a slot in use, or null.
    NoteView* note(int slot) const;

    // The save dialog as a note opens it.
    static FileDialogRequest saveRequest(const std::string& lastFolder, QWidget* owner);

    // NoteActions: the commands of a note's menu.
    void printNote(const QImage& picture) override;
    void copyNote(const QImage& picture) override;
    void saveNote(const QImage& picture, QWidget* owner) override;
    void closeNote(int slot) override;

private:
    StickyNoteServices s_;
    ViewFactory factory_;
    NoteTable table_;
    std::array<NoteView*, NoteTable::kMaxNotes> noteWindows_{};
};

}  // namespace tovrimo
