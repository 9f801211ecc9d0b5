#include "platform/qt/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/Translated.h"

namespace tovrimo {

MsgResult QtMessageBoxes::show(const std::string& caption, const std::string& text,
                               MsgButtons buttons, MsgIcon icon)
{
    QMessageBox box;
    // Fixed texts in the user's language; a text composed with a name or a reason was
    // translated where it was composed, and comes through as it is.
    box.setWindowTitle(Translated(kMessageBoxContext, caption));
    box.setText(Translated(kMessageBoxContext, text));
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // The program usually has no visible window of its own: keep the box in front.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default:
        return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    }
}

}  // namespace tovrimo
