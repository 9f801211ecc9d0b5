#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace tovrimo {

// The first page of the options dialog: what a double-click on the tray icon does, and how a
// capture is taken and printed. It only builds and lays out its controls; the dialog connects
// them.
class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(QWidget* parent = nullptr);

    QGroupBox* doubleClickGroup = nullptr;
    QGroupBox* actionGroup = nullptr;
    QRadioButton* printAction = nullptr;
    QRadioButton* copyAction = nullptr;
    QRadioButton* noteAction = nullptr;
    QRadioButton* repeatAction = nullptr;
    QGroupBox* sourceGroup = nullptr;
    QRadioButton* desktopSource = nullptr;
    QRadioButton* activeWindowSource = nullptr;
    QRadioButton* regionSource = nullptr;
    QRadioButton* fileSource = nullptr;
    QRadioButton* clipboardSource = nullptr;

    QCheckBox* captureCursorBox = nullptr;
    QCheckBox* hideIconBox = nullptr;
    QCheckBox* selfTimerBox = nullptr;
    QLineEdit* selfTimerSeconds = nullptr;
    QLabel* secondsLabel = nullptr;
    QCheckBox* showCountdownBox = nullptr;
    QCheckBox* confirmBox = nullptr;
    QCheckBox* reverseColoursBox = nullptr;
    QCheckBox* fullDetailBox = nullptr;
    // Not a setting of the file: the desktop's autostart entry is its state.
    QCheckBox* loginStartBox = nullptr;
};

}  // namespace tovrimo
