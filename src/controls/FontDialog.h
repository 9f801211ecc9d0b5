#pragma once

#include <QFont>
#include <optional>

class QFontDialog;
class QWidget;

namespace tovrimo {

// Asks the user for a font within a range of point sizes. Commands take it by reference so
// that tests can answer in place of the dialog, through setNextFont or by overriding exec.
class FontDialog {
public:
    // Object name by which a test finds the dialog while it is open.
    static constexpr const char* kObjectName = "fontDialog";
    // The sizes offered for the printed title.
    static constexpr int kTitleMinPoints = 8;
    static constexpr int kTitleMaxPoints = 24;

    virtual ~FontDialog() = default;

    // The chosen font with a whole point size within minPoints..maxPoints; nothing when
    // cancelled. The initial font's size is taken as whole points.
    std::optional<QFont> getFont(QWidget* parent, const QFont& initial,
                                 int minPoints = kTitleMinPoints, int maxPoints = kTitleMaxPoints);

    // Sets the result of the next getFont call instead of showing a dialog. Use only for
    // testing.
    void setNextFont(const std::optional<QFont>& font);

    // Any weight but the regular one comes back as bold, light faces included: the printed
    // title knows only regular and bold.
    static bool countsAsBold(int weight);
    // A size in points as whole device pixels at pixelsPerInch, and back as whole points,
    // both rounded to the nearest, ties to even.
    static int pixelHeight(double points, double pixelsPerInch);
    static int pointsFromPixelHeight(int height, double pixelsPerInch);
    // Offers only the point sizes minPoints..maxPoints in Qt's own font dialog: the size list
    // shows no others and the size field accepts no others.
    static void limitSizes(QFontDialog& dialog, int minPoints, int maxPoints);

protected:
    virtual std::optional<QFont> exec(QWidget* parent, const QFont& initial, int minPoints,
                                      int maxPoints);

private:
    bool hasNextFont_ = false;
    std::optional<QFont> nextFont_;
};

}  // namespace tovrimo
