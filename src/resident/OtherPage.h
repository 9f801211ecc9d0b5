#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tovrimo {

// The third page of the options dialog: the program's title and its tray icon file, both of
// which take effect at the next start.
class OtherPage : public QWidget {
    Q_OBJECT
public:
    explicit OtherPage(QWidget* parent = nullptr);

    QLabel* titleLabel = nullptr;
    QLineEdit* titleEdit = nullptr;
    QLabel* iconPathLabel = nullptr;
    QLineEdit* iconPathEdit = nullptr;
    QPushButton* browseIconButton = nullptr;
    QLabel* iconPreview = nullptr;
    QLabel* restartNote = nullptr;
};

}  // namespace tovrimo
