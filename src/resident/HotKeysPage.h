#pragma once

#include <QWidget>
#include <array>

#include "core/Settings.h"
#include "resident/HotKeyAvailability.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

namespace tovrimo {

// The second page of the options dialog: one row per hot-key slot, each with its switch, its
// modifier boxes and its key list. The first four slots print, the next four copy; the last
// two stand on their own. The dialog fills the lists and connects the rows.
class HotKeysPage : public QWidget {
    Q_OBJECT
public:
    explicit HotKeysPage(QWidget* parent = nullptr);

    QGroupBox* printGroup = nullptr;
    QGroupBox* copyGroup = nullptr;
    // Indexed by slot.
    std::array<QLabel*, kHotKeySlots> slotLabels{};
    std::array<QCheckBox*, kHotKeySlots> enabledBoxes{};
    std::array<QCheckBox*, kHotKeySlots> ctrlBoxes{};
    std::array<QCheckBox*, kHotKeySlots> shiftBoxes{};
    std::array<QCheckBox*, kHotKeySlots> altBoxes{};
    std::array<QComboBox*, kHotKeySlots> keyLists{};
    // Shown above the rows when no hot key works in this session (none can, or the desktop
    // bound none of those switched on), with what to do instead; hidden otherwise.
    QLabel* noHotKeysNotice = nullptr;

    void setHotKeyAvailability(HotKeyAvailability availability, bool gnome);
};

}  // namespace tovrimo
