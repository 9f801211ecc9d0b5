#pragma once

#include <QDialog>
#include <QFont>

#include "core/Settings.h"

class QButtonGroup;
class QLabel;

namespace tovrimo {

class PrintDialog;
class PrintDialogHost;

// What OK in the title options dialog hands back: the font (its family, italic, bold and
// underline; the size apart, as a whole number of points) and the list indexes of the title's
// alignment and placement.
struct TitleOptions {
    QFont font;
    int fontPoints = 0;
    int alignmentIndex = 0;
    int placementIndex = 0;
};

// The title options dialog: the title line's font and its place beside the image. Opened by
// the print dialog, which it hides meanwhile; OK hands the values back by titleOptionsChosen,
// Cancel or the close box hand back nothing. Both show the print dialog again.
class TitleOptionsDialog : public QDialog {
    Q_OBJECT
public:
    TitleOptionsDialog(PrintDialog& printDialog, PrintDialogHost& host);

    // Fills the controls from the print dialog's working layout and shows the dialog.
    void showFor(const PrintLayout& layout);

    void onTitleAlignmentChosen(int index);
    void onTitlePlacementChosen(int index);
    void chooseFont();
    void confirm();
    void cancel();

    // The chosen font; the sample shows it, drawn smaller only when it would not fit on
    // the screen (then sampleScaled() is true and a note under the sample says so).
    QFont workingFont() const;
    bool sampleScaled() const;

signals:
    void titleOptionsChosen(const tovrimo::TitleOptions& options);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void finish();
    void showSummary();
    void showSample(const QFont& font);

    PrintDialog& printDialog_;
    PrintDialogHost& host_;
    bool finished_ = false;
    QFont sampleFont_;
    QLabel* sampleText_ = nullptr;
    QLabel* sampleScaledNote_ = nullptr;
    QLabel* fontSummary_ = nullptr;
    QButtonGroup* alignmentGroup_ = nullptr;
    QButtonGroup* placementGroup_ = nullptr;
    int alignmentIndex_ = 0;
    int placementIndex_ = 0;
    int fontPoints_ = 0;
};

}  // namespace tovrimo
