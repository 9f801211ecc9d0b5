#pragma once

#include <array>

#include "core/Settings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tovrimo {

// The controls of the options dialog, made and laid out on the dialog, each named after its
// role. They hold no behaviour; the dialog connects them.
class OptionPages {
public:
    static constexpr int kTabCount = 3;

    // Builds every control on `dialog`. The pages are children of the tab host and still need
    // placing once the tab strip exists.
    explicit OptionPages(QWidget* dialog);

    QWidget* Pic_Tab = nullptr;
    std::array<QWidget*, kTabCount> Fra_Tab{};

    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;
    QPushButton* BtnTekiyo = nullptr;
    QPushButton* BtnHelp = nullptr;

    // Basic settings
    QGroupBox* Fra_DblClick = nullptr;
    QGroupBox* FrmDblClick = nullptr;
    QRadioButton* Opt_HardCopy = nullptr;
    QRadioButton* Opt_Copy = nullptr;
    QRadioButton* Opt_Fusen = nullptr;
    QRadioButton* Opt_Redo = nullptr;
    QGroupBox* Fra_CaptureHoho = nullptr;
    QRadioButton* Opt_DeskTop = nullptr;
    QRadioButton* Opt_ActiveWindow = nullptr;
    QRadioButton* Opt_RS = nullptr;
    QRadioButton* Opt_File = nullptr;
    QRadioButton* Opt_Clip = nullptr;
    QCheckBox* Chk_Icon = nullptr;
    QCheckBox* ChkKakure = nullptr;
    QCheckBox* ChkByo = nullptr;
    QLineEdit* TxtByo = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* ChkDialog = nullptr;
    QCheckBox* ChkReverse = nullptr;
    QCheckBox* fullDetailBox = nullptr;

    // Hot keys, indexed by slot
    QGroupBox* Fra_Hardcopy = nullptr;
    QGroupBox* Fra_Copy = nullptr;
    std::array<QLabel*, kHotKeySlots> Lbl_Hotkey{};
    std::array<QCheckBox*, kHotKeySlots> Chk_Enable{};
    std::array<QCheckBox*, kHotKeySlots> Chk_CTRL{};
    std::array<QCheckBox*, kHotKeySlots> Chk_Shift{};
    std::array<QCheckBox*, kHotKeySlots> Chk_Alt{};
    std::array<QComboBox*, kHotKeySlots> Cmb_Key{};

    // Others
    QLabel* Lbl_AppName = nullptr;
    QLineEdit* Txt_AppName = nullptr;
    QLabel* Lbl_IconPath = nullptr;
    QLineEdit* Txt_IconPath = nullptr;
    QPushButton* Btn_IconSansho = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Picture1 = nullptr;

private:
    QWidget* buildBasicPage();
    QWidget* buildHotKeyPage();
    QWidget* buildOtherPage();
};

}  // namespace tovrimo
