// The print dialog's keys and pointer: Return prints only on the print button and never picks
// a list entry by its typed name, and the scale box takes only what makes a scale.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "output/PrintDialog.h"
#include "output/PrintDialogRules.h"

namespace tovrimo {

namespace {

bool IsReturn(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

bool PrintDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched == printerList_->view()->window()) {
        onPrinterListOpened();
        return QDialog::eventFilter(watched, event);
    }
    if (watched == scaleEdit_) {
        return scaleBoxEvent(event) || QDialog::eventFilter(watched, event);
    }
    if (watched == printButton_ && IsReturn(event)) {
        printButton_->click();
        return true;
    }
    if (IsReturn(event) &&
        (qobject_cast<QComboBox*>(watched) || qobject_cast<QComboBox*>(watched->parent()))) {
        // Return in a list's text part neither picks an entry by its typed name nor reaches
        // the dialog: only choosing from the list does anything.
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool PrintDialog::scalePasteRefused(const QString& pasted)
{
    if (ScalePastePasses(pasted)) {
        startDelayedPreview();
        return false;
    }
    emit inputRefused();
    return true;
}

bool PrintDialog::scaleBoxEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            return scalePasteRefused(QGuiApplication::clipboard()->text());
        }
        if (key->key() == Qt::Key_Escape) {
            return false;  // closes the dialog, as everywhere in it
        }
        const QString typed = key->text();
        const bool character =
            !typed.isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            (typed[0].isPrint() || typed[0] == u'\b' || typed[0] == u'\r' || typed[0] == u'\n');
        if (key->key() == Qt::Key_Backspace || (character && ScaleKeyPasses(typed[0]))) {
            startDelayedPreview();
            return false;
        }
        if (character || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit inputRefused();
            return true;
        }
        return false;  // caret movement, selection, copy and undo work as in any box
    }
    case QEvent::MouseButtonRelease:
        // The middle button pastes the X selection.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
            return scalePasteRefused(QGuiApplication::clipboard()->text(QClipboard::Selection));
        }
        return false;
    case QEvent::ContextMenu: {
        std::unique_ptr<QMenu> menu(scaleEdit_->createStandardContextMenu());
        const bool pastable = ScalePastePasses(QGuiApplication::clipboard()->text());
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-paste")) action->setEnabled(pastable);
        }
        menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    case QEvent::FocusIn:
        // Selected after the click that gave the focus has placed the caret.
        QTimer::singleShot(0, scaleEdit_, [box = scaleEdit_] { box->selectAll(); });
        return false;
    default:
        return false;
    }
}

}  // namespace tovrimo
