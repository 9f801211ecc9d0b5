#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <vector>

namespace tovrimo {

// Which of the sixteen note slots are in use, and how many notes are open. A new note takes
// the lowest free slot, so numbers come back after a note is peeled off.
class NoteTable {
public:
    static constexpr int kMaxNotes = 16;

    int noteCount() const { return count_; }
    // No room for another note.
    bool full() const { return count_ > kMaxNotes - 1; }
    bool used(int slot) const { return valid(slot) && used_[slot - 1]; }
    // Slots in use, lowest first.
    std::vector<int> usedSlots() const;

    // Counts a new note and gives it the lowest free slot (1..16); 0 when none is free.
    int take();
    // Frees a slot in use and counts the note gone; a free slot stays as it is.
    void release(int slot);
    // Frees every slot; returns the ones that were in use, lowest first.
    std::vector<int> clear();

private:
    static bool valid(int slot) { return slot >= 1 && slot <= kMaxNotes; }

    std::array<bool, kMaxNotes> used_{};
    int count_ = 0;
};

// Where a new note of that size goes: its corner at the pointer, moved as little as needed to
// lie fully within the screen's available area (its top-left corner wins when the note is
// larger than the area).
QPoint NoteTopLeft(QPoint pointer, QSize size, QRect available);

// The sizes a note can be shown at, in percent of its picture, smallest first.
inline constexpr std::array<int, 9> kNoteZoomSteps{25, 50, 75, 100, 125, 150, 200, 300, 400};
// The step `steps` places up (positive) or down from the current size, held at the ends. A
// size between two steps counts as the next step in the direction of travel.
int NextNoteZoom(int currentPercent, int steps);
// The picture's size at that zoom, each side rounded to the nearest pixel and at least one.
QSize ZoomedPictureSize(QSize picture, int percent);

// The window size, in Qt's device-independent pixels, that holds a picture of that many device
// pixels at the screen's device pixel ratio. Qt rounds a window's size to device pixels; on a
// fractional ratio no whole size may hit the picture exactly, and the smallest one that covers
// it leaves at most one pixel of background beside it.
QSize NoteWindowSize(QSize devicePixels, double devicePixelRatio);

}  // namespace tovrimo
