#include "resident/HotKeysPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/WidgetText.h"
#include "platform/Translated.h"
#include "resident/OptionTexts.h"

namespace tovrimo {

HotKeysPage::HotKeysPage(QWidget* parent) : QWidget(parent)
{
    namespace t = option_texts;
    setObjectName(QStringLiteral("hotKeysPage"));
    printGroup = new QGroupBox(Translated(t::kContext, t::kPrintKeysGroup));
    printGroup->setObjectName(QStringLiteral("printGroup"));
    copyGroup = new QGroupBox(Translated(t::kContext, t::kCopyKeysGroup));
    copyGroup->setObjectName(QStringLiteral("copyGroup"));
    auto* printRows = new QGridLayout(printGroup);
    auto* copyRows = new QGridLayout(copyGroup);
    auto* looseRows = new QGridLayout;

    // Every row's label column is as wide as the widest label, so the boxes line up across the
    // two groups and the loose rows.
    int labelWidth = 0;
    for (std::string_view caption : t::kHotKeyRows)
        labelWidth =
            qMax(labelWidth, fontMetrics().horizontalAdvance(Translated(t::kContext, caption)));

    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        slotLabels[slot] =
            Named(new QLabel(Translated(t::kContext, t::kHotKeyRows[slot])), "slotLabel", slot);
        slotLabels[slot]->setMinimumWidth(labelWidth + 8);
        enabledBoxes[slot] =
            Named(new QCheckBox(Translated(t::kContext, t::kEnabledBox)), "enabledBox", slot);
        ctrlBoxes[slot] =
            Named(new QCheckBox(Translated(t::kContext, t::kCtrlBox)), "ctrlBox", slot);
        shiftBoxes[slot] =
            Named(new QCheckBox(Translated(t::kContext, t::kShiftBox)), "shiftBox", slot);
        altBoxes[slot] = Named(new QCheckBox(Translated(t::kContext, t::kAltBox)), "altBox", slot);
        QComboBox* keys = Named(new QComboBox, "keyList", slot);
        keys->setEditable(true);
        keys->setInsertPolicy(QComboBox::NoInsert);
        keys->setMaxVisibleItems(12);
        keys->setMinimumContentsLength(11);  // "PrintScreen"
        keys->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        keyLists[slot] = keys;

        QGridLayout* grid = slot < 4 ? printRows : slot < 8 ? copyRows : looseRows;
        const int row = slot % 4;
        grid->addWidget(slotLabels[slot], row, 0);
        grid->addWidget(enabledBoxes[slot], row, 1);
        grid->addWidget(ctrlBoxes[slot], row, 2);
        grid->addWidget(shiftBoxes[slot], row, 3);
        grid->addWidget(altBoxes[slot], row, 4);
        grid->addWidget(keys, row, 5);
        grid->setHorizontalSpacing(12);
        grid->setColumnStretch(0, 1);
    }
    // The loose rows sit where a group's rows would, so indent them by the group's margin.
    int left = 0, top = 0, right = 0, bottom = 0;
    printRows->getContentsMargins(&left, &top, &right, &bottom);
    looseRows->setContentsMargins(left + 1, 0, right + 1, 0);

    noHotKeysNotice = new QLabel(Translated(t::kContext, t::kNoGlobalHotKeysNotice));
    noHotKeysNotice->setObjectName(QStringLiteral("noHotKeysNotice"));
    noHotKeysNotice->setWordWrap(true);
    noHotKeysNotice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    noHotKeysNotice->setFrameShape(QFrame::StyledPanel);
    noHotKeysNotice->setMargin(6);
    noHotKeysNotice->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(noHotKeysNotice);
    layout->addWidget(printGroup);
    layout->addWidget(copyGroup);
    layout->addLayout(looseRows);
    layout->addStretch(1);
}

void HotKeysPage::setHotKeyAvailability(HotKeyAvailability availability, bool gnome)
{
    namespace t = option_texts;
    // The keys stay editable: they are kept in the settings and work in a session that has
    // hot keys.
    switch (availability) {
    case HotKeyAvailability::Working:
    case HotKeyAvailability::NoneEnabled:
        noHotKeysNotice->hide();
        return;
    case HotKeyAvailability::NoneBound:
        noHotKeysNotice->setText(Translated(t::kContext, t::kHotKeysNotBoundNotice));
        break;
    case HotKeyAvailability::NotOffered:
        noHotKeysNotice->setText(Translated(
            t::kContext, gnome ? t::kNoGlobalHotKeysGnomeNotice : t::kNoGlobalHotKeysNotice));
        break;
    }
    noHotKeysNotice->show();
}

}  // namespace tovrimo
