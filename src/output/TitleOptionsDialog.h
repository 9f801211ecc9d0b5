#pragma once

#include <QDialog>

#include "core/Settings.h"

class QButtonGroup;
class QLabel;

namespace tovrimo {

class PrintDialog;
class PrintDialogHost;

// The title options dialog: the title line's font and its place beside the image. Opened by
// the print dialog, which it hides meanwhile; OK hands the values back through the print
// dialog's carrier labels, Cancel or the close box hand back nothing. Both show the print
// dialog again.
class TitleOptionsDialog : public QDialog {
    Q_OBJECT
public:
    TitleOptionsDialog(PrintDialog& printDialog, PrintDialogHost& host);

    // Fills the controls from the print dialog's working layout and shows the dialog.
    void Open(const PrintLayout& layout);

    void Opt_HTitlePos_Click(int index);
    void Opt_VTitlePos_Click(int index);
    void Btn_ChooseFont_Click();
    void Btn_OK_Click();
    void Btn_Cancel_Click();

    // The chosen font; the sample shows it, drawn smaller only when it would not fit on
    // the screen (then sampleScaled() is true and a note under the sample says so).
    QFont workingFont() const;
    bool sampleScaled() const;

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
    QLabel* lblSampleLabel_ = nullptr;
    QLabel* lblSampleNote_ = nullptr;
    QLabel* lblFont_ = nullptr;
    QButtonGroup* optHTitlePos_ = nullptr;
    QButtonGroup* optVTitlePos_ = nullptr;
    QLabel* lblTitleAlign_ = nullptr;
    QLabel* lblTitleVAlign_ = nullptr;
    QLabel* lblFontSize_ = nullptr;
};

}  // namespace tovrimo
