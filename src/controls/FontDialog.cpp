#include "controls/FontDialog.h"

#include <QFontDialog>
#include <QGuiApplication>
#include <QIntValidator>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QStringListModel>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

#include "core/Rounding.h"

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

// The vertical pixels per inch of the parent's screen (of the primary screen without parent).
double VerticalPixelsPerInch(const QWidget* parent)
{
    if (parent) return parent->logicalDpiY();
    if (QScreen* screen = QGuiApplication::primaryScreen()) return screen->logicalDotsPerInchY();
    return 96.0;
}

double PointSize(const QFont& font, double pixelsPerInch)
{
    if (font.pointSizeF() > 0) return font.pointSizeF();
    if (font.pixelSize() > 0 && pixelsPerInch > 0) return font.pixelSize() * 72.0 / pixelsPerInch;
    return 0;
}

}  // namespace

std::optional<QFont> FontDialog::getFont(QWidget* parent, const QFont& initial, int minPoints,
                                         int maxPoints)
{
    if (hasNextFont_) {
        hasNextFont_ = false;
        return std::exchange(nextFont_, std::nullopt);
    }
    return exec(parent, initial, minPoints, maxPoints);
}

void FontDialog::setNextFont(const std::optional<QFont>& font)
{
    hasNextFont_ = true;
    nextFont_ = font;
}

std::optional<QFont> FontDialog::exec(QWidget* parent, const QFont& initial, int minPoints,
                                      int maxPoints)
{
    // A hidden parent (the resident window) would only make the dialog transient for a
    // window the window manager never shows.
    QWidget* owner = parent && parent->isVisible() ? parent : nullptr;
    const double ppi = VerticalPixelsPerInch(owner);
    // The dialog starts at the size the printed title would have: whole device pixels.
    QFont start(initial.family());
    const int height = pixelHeight(initial.pointSize(), ppi);
    if (height > 0) start.setPointSizeF(height * 72.0 / ppi);
    start.setWeight(initial.bold() ? QFont::Bold : QFont::Normal);
    start.setItalic(initial.italic());
    start.setStrikeOut(initial.strikeOut());
    start.setUnderline(initial.underline());

    QFontDialog dialog(start, owner);
    dialog.setObjectName(kObjectName);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    limitSizes(dialog, minPoints, maxPoints);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;

    const QFont selected = dialog.selectedFont();
    const double points = std::clamp<double>(PointSize(selected, ppi), minPoints, maxPoints);
    const int wholePoints = pointsFromPixelHeight(pixelHeight(points, ppi), ppi);
    QFont chosen(selected.family());
    chosen.setPointSize(wholePoints > 0 ? wholePoints : initial.pointSize());
    chosen.setBold(countsAsBold(selected.weight()));
    chosen.setItalic(selected.italic());
    chosen.setStrikeOut(selected.strikeOut());
    chosen.setUnderline(selected.underline());
    return chosen;
}

bool FontDialog::countsAsBold(int weight)
{
    return weight != QFont::Normal;
}

int FontDialog::pixelHeight(double points, double pixelsPerInch)
{
    return static_cast<int>(nearestEven(points * pixelsPerInch / 72.0));
}

int FontDialog::pointsFromPixelHeight(int height, double pixelsPerInch)
{
    if (pixelsPerInch <= 0) return 0;
    return static_cast<int>(nearestEven(std::fabs(height * 72.0 / pixelsPerInch)));
}

void FontDialog::limitSizes(QFontDialog& dialog, int minPoints, int maxPoints)
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

}  // namespace tovrimo
