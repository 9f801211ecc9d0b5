#include "controls/FontDialogSetup.h"

#include <QFontDialog>
#include <QGuiApplication>
#include <QIntValidator>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QStringListModel>
#include <QWidget>

namespace tovrimo {

namespace {

bool AllNumbers(const QStringList& items)
{
    if (items.isEmpty()) return false;
    for (const QString& item : items) {
        bool ok = false;
        item.toInt(&ok);
        if (!ok) return false;
    }
    return true;
}

// Qt's dialog keeps its sizes in a string-list model that it refills whenever the family or
// style changes; the size list is the one whose entries are all numbers.
void FilterSizeList(QListView* list, QStringListModel* model, const QLineEdit* sizeEdit,
                    int minPoints, int maxPoints)
{
    const QStringList all = model->stringList();
    if (!AllNumbers(all)) return;
    QStringList kept;
    for (const QString& item : all) {
        const int size = item.toInt();
        if (size >= minPoints && size <= maxPoints) kept << item;
    }
    if (kept == all) return;
    const QString current = sizeEdit ? sizeEdit->text() : QString();
    model->setStringList(kept);
    const int row = kept.indexOf(current);
    if (row >= 0) list->setCurrentIndex(model->index(row));
}

}  // namespace

void LimitFontDialogSizes(QFontDialog& dialog, int minPoints, int maxPoints)
{
    QLineEdit* sizeEdit = nullptr;
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
        if (qobject_cast<const QIntValidator*>(edit->validator())) {
            sizeEdit = edit;
            edit->setValidator(new QIntValidator(minPoints, maxPoints, edit));
            break;
        }
    }
    for (QListView* list : dialog.findChildren<QListView*>()) {
        auto* model = qobject_cast<QStringListModel*>(list->model());
        if (!model) continue;
        const auto filter = [list, model, sizeEdit, minPoints, maxPoints] {
            FilterSizeList(list, model, sizeEdit, minPoints, maxPoints);
        };
        // Queued: the dialog selects its own current size right after refilling the list.
        QObject::connect(model, &QAbstractItemModel::modelReset, list, filter,
                         Qt::QueuedConnection);
        filter();
    }
}

double VerticalPixelsPerInch(const QWidget* owner)
{
    if (owner) return owner->logicalDpiY();
    if (QScreen* screen = QGuiApplication::primaryScreen()) return screen->logicalDotsPerInchY();
    return 96.0;
}

double FontPointSize(const QFont& font, double pixelsPerInch)
{
    if (font.pointSizeF() > 0) return font.pointSizeF();
    if (font.pixelSize() > 0 && pixelsPerInch > 0) return font.pixelSize() * 72.0 / pixelsPerInch;
    return 0;
}

}  // namespace tovrimo
