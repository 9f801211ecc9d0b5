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
