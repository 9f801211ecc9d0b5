#include "resident/NoteTable.h"

#include <algorithm>
#include <cmath>

namespace tovrimo {

std::vector<int> NoteTable::usedSlots() const
{
    std::vector<int> inUse;
    for (int s = 1; s <= kMaxNotes; ++s)
        if (used_[s - 1]) inUse.push_back(s);
    return inUse;
}

int NoteTable::take()
{
    for (int s = 1; s <= kMaxNotes; ++s) {
        if (!used_[s - 1]) {
            used_[s - 1] = true;
            ++count_;
            return s;
        }
    }
    return 0;
}

void NoteTable::release(int slot)
{
    if (!used(slot)) return;
    used_[slot - 1] = false;
    --count_;
}

std::vector<int> NoteTable::clear()
{
    std::vector<int> inUse = usedSlots();
    used_.fill(false);
    count_ = 0;
    return inUse;
}

QPoint NoteTopLeft(QPoint pointer, QSize size, QRect available)
{
    if (available.isEmpty()) return pointer;
    const int x =
        std::max(available.left(), std::min(pointer.x(), available.right() + 1 - size.width()));
    const int y =
        std::max(available.top(), std::min(pointer.y(), available.bottom() + 1 - size.height()));
    return {x, y};
}

int NextNoteZoom(int currentPercent, int steps)
{
    const int last = static_cast<int>(kNoteZoomSteps.size()) - 1;
    int at = 0;
    if (steps >= 0) {
        // The highest step at or below the current size: one up is then the next one above.
        while (at < last && kNoteZoomSteps[static_cast<size_t>(at) + 1] <= currentPercent) ++at;
    } else {
        // The lowest step at or above it.
        at = last;
        while (at > 0 && kNoteZoomSteps[static_cast<size_t>(at - 1)] >= currentPercent) --at;
    }
    return kNoteZoomSteps[static_cast<size_t>(std::clamp(at + steps, 0, last))];
}

QSize ZoomedPictureSize(QSize picture, int percent)
{
    auto side = [percent](int pixels) {
        return std::max(1, static_cast<int>(std::lround(pixels * (percent / 100.0))));
    };
    return {side(picture.width()), side(picture.height())};
}

QSize NoteWindowSize(QSize devicePixels, double devicePixelRatio)
{
    if (!(devicePixelRatio > 0)) devicePixelRatio = 1.0;
    auto covering = [devicePixelRatio](int pixels) {
        int size = static_cast<int>(std::floor(pixels / devicePixelRatio));
        // Qt takes the window's device size as the nearest whole number of pixels, a half
        // rounded up: 67 units at 1.5 are 101 pixels.
        while (std::lround(size * devicePixelRatio) < pixels) ++size;
        return std::max(size, 0);
    };
    return {covering(devicePixels.width()), covering(devicePixels.height())};
}

}  // namespace tovrimo
