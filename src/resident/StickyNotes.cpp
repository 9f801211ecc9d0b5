#include "resident/StickyNotes.h"

#include "platform/MessageBoxes.h"
#include "resident/NoteTexts.h"
#include "resident/StickyNoteWindow.h"

namespace tovrimo {

namespace {

NoteView* showNoteWindow(int slot, const QImage& picture, NoteActions& actions)
{
    auto* note = new StickyNoteWindow(slot, picture, actions);
    note->show();
    return note;
}

}  // namespace

StickyNotes::StickyNotes(StickyNoteServices services, ViewFactory factory)
    : s_(std::move(services)), factory_(factory ? std::move(factory) : ViewFactory(showNoteWindow))
{
}

StickyNotes::~StickyNotes()
{
    removeAllNotes();
}

NoteView* StickyNotes::note(int slot) const
{
    return table_.used(slot) ? noteWindows_[slot - 1] : nullptr;
}

FileDialogRequest StickyNotes::saveRequest(const std::string& lastFolder, QWidget* owner)
{
    FileDialogRequest request;
    request.acceptMode = FileDialogRequest::AcceptMode::Save;
    request.parent = owner;
    request.caption = std::string(texts::kNoteSaveDialogTitle);
    request.filter = std::string(texts::kNoteSaveFilter);
    request.selectedFilter = 0;
    request.confirmOverwrite = true;
    request.dir = lastFolder;
    return request;
}

void StickyNotes::noteFromClipboard()
{
    if (!s_.clipboard.hasImage()) return;
    const QImage picture = s_.clipboard.image();
    if (picture.isNull()) return;  // offered but not delivered: as quiet as no picture
    s_.engine.recordLastCapture({CaptureSource::Clipboard, CaptureDestination::StickyNote});
    if (table_.full()) {
        s_.messages.show(std::string(texts::kNoteCaption),
                         texts::NoteLimitMessage(NoteTable::kMaxNotes), MsgButtons::Ok,
                         MsgIcon::Critical);
        return;
    }
    const int slot = table_.take();
    // The note keeps the clipboard's colours; only translucency is settled, on white.
    noteWindows_[slot - 1] = factory_(slot, CaptureBuffer::transferred(picture, false), *this);
}

bool StickyNotes::addNote(const QImage& picture)
{
    if (table_.full() || picture.isNull()) return false;
    const int slot = table_.take();
    noteWindows_[slot - 1] = factory_(slot, CaptureBuffer::transferred(picture, false), *this);
    return true;
}

void StickyNotes::removeAllNotes()
{
    for (int slot : table_.clear()) {
        NoteView* view = noteWindows_[slot - 1];
        noteWindows_[slot - 1] = nullptr;
        if (view) view->dispose();
    }
}

void StickyNotes::bringNotesToFront()
{
    for (int slot : table_.usedSlots())
        if (NoteView* view = noteWindows_[slot - 1]) view->bringToFront();
}

void StickyNotes::printNote(const QImage& picture)
{
    // As the note shows it: the colours are not inverted, and the last operation stays.
    s_.buffer.image = picture;
    s_.engine.printHandOff();
}

void StickyNotes::copyNote(const QImage& picture)
{
    s_.clipboard.setImage(picture);
}

void StickyNotes::saveNote(const QImage& picture, QWidget* owner)
{
    int chosenFilter = 1;
    FileDialogRequest request = saveRequest(s_.lastFolder, owner);
    request.chosenFilter = &chosenFilter;
    const auto chosen = s_.fileDialog.exec(request);
    if (!chosen) return;
    // Under the name exactly as chosen (no extension is added), in the type chosen.
    std::string format = FileDialog::formatOfFilter(request.filter, chosenFilter);
    if (format.empty()) format = "BMP";
    if (!picture.save(QString::fromStdString(*chosen), format.c_str()))
        s_.messages.show(std::string(texts::kNoteCaption), texts::NoteSaveFailedMessage(*chosen),
                         MsgButtons::Ok, MsgIcon::Critical);
    s_.lastFolder = *chosen;
}

void StickyNotes::closeNote(int slot)
{
    if (!table_.used(slot)) return;
    NoteView* view = noteWindows_[slot - 1];
    noteWindows_[slot - 1] = nullptr;
    table_.release(slot);
    if (view) view->dispose();
}

}  // namespace tovrimo
