#include "resident/NoteTable.h"

#include <algorithm>

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

}  // namespace tovrimo
