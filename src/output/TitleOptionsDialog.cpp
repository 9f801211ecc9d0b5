#include "output/TitleOptionsDialog.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "output/PrintDialog.h"
#include "output/PrintDialogHost.h"
#include "output/PrintDialogRules.h"
#include "output/PrintDialogTexts.h"

namespace tovrimo {

namespace {

}  // namespace

TitleOptionsDialog::TitleOptionsDialog(PrintDialog& printDialog, PrintDialogHost& host)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      printDialog_(printDialog),
      host_(host)
{
    setObjectName(QStringLiteral("TitleOptionsDialog"));
    setWindowTitle(tr(texts::kTitleOptionCaption));
    setModal(false);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 10, 10, 10);

    auto* titleFrame = new QGroupBox(tr(texts::kFrameTitle), this);
    titleFrame->setObjectName(QStringLiteral("titleGroup"));
    auto* titleGrid = new QGridLayout(titleFrame);
    auto* chooseFontButton = new QPushButton(tr(texts::kChooseFont), titleFrame);
    chooseFontButton->setObjectName(QStringLiteral("chooseFontButton"));
    chooseFontButton->setAutoDefault(false);
    connect(chooseFontButton, &QPushButton::clicked, this, [this] { chooseFont(); });
    fontSummary_ = new QLabel(tr(texts::kFontSummaryInitial), titleFrame);
    fontSummary_->setObjectName(QStringLiteral("fontSummary"));
    titleGrid->addWidget(chooseFontButton, 0, 0);
    titleGrid->addWidget(fontSummary_, 0, 1, 1, 2);
    auto* sampleCaption = new QLabel(tr(texts::kLabelSample), titleFrame);
    sampleCaption->setObjectName(QStringLiteral("sampleCaption"));
    auto* sampleFrame = new QFrame(titleFrame);
    sampleFrame->setObjectName(QStringLiteral("sampleFrame"));
    sampleFrame->setFrameShape(QFrame::StyledPanel);
    sampleFrame->setFrameShadow(QFrame::Sunken);
    sampleFrame->setAutoFillBackground(true);
    QPalette samplePal = sampleFrame->palette();
    samplePal.setColor(QPalette::Window, Qt::white);
    sampleFrame->setPalette(samplePal);
    sampleFrame->setMinimumSize(320, 56);
    auto* sampleLayout = new QHBoxLayout(sampleFrame);
    sampleText_ = new QLabel(sampleFrame);
    sampleText_->setObjectName(QStringLiteral("sampleText"));
    sampleText_->setAlignment(Qt::AlignCenter);
    sampleLayout->addWidget(sampleText_);
    titleGrid->addWidget(sampleCaption, 1, 0, Qt::AlignTop | Qt::AlignRight);
    titleGrid->addWidget(sampleFrame, 1, 1, 1, 2);
    sampleScaledNote_ = new QLabel(tr(texts::kSampleScaledNote), titleFrame);
    sampleScaledNote_->setObjectName(QStringLiteral("sampleScaledNote"));
    sampleScaledNote_->hide();
    titleGrid->addWidget(sampleScaledNote_, 2, 1, 1, 2);
    root->addWidget(titleFrame);

    auto* positions = new QHBoxLayout();
    auto* alignmentFrame = new QGroupBox(tr(texts::kFrameTitleAlignment), this);
    alignmentFrame->setObjectName(QStringLiteral("alignmentGroup"));
    auto* alignmentColumn = new QVBoxLayout(alignmentFrame);
    alignmentGroup_ = new QButtonGroup(this);
    const char* alignmentCaptions[] = {texts::kAlignLeft, texts::kAlignCentre, texts::kAlignRight};
    const char* alignmentNames[] = {"leftAlignOption", "centreAlignOption", "rightAlignOption"};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(tr(alignmentCaptions[i]), alignmentFrame);
        option->setObjectName(QString::fromUtf8(alignmentNames[i]));
        alignmentGroup_->addButton(option, i);
        alignmentColumn->addWidget(option);
    }
    auto* placementFrame = new QGroupBox(tr(texts::kFrameTitlePlacement), this);
    placementFrame->setObjectName(QStringLiteral("placementGroup"));
    auto* placementColumn = new QVBoxLayout(placementFrame);
    placementGroup_ = new QButtonGroup(this);
    const char* placementCaptions[] = {texts::kPlaceAbove, texts::kPlaceBelow};
    const char* placementNames[] = {"aboveImageOption", "belowImageOption"};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(tr(placementCaptions[i]), placementFrame);
        option->setObjectName(QString::fromUtf8(placementNames[i]));
        placementGroup_->addButton(option, i);
        placementColumn->addWidget(option);
    }
    placementColumn->addStretch(1);
    positions->addWidget(alignmentFrame, 1);
    positions->addWidget(placementFrame, 1);
    root->addLayout(positions);
    connect(alignmentGroup_, &QButtonGroup::idClicked, this,
            [this](int id) { onTitleAlignmentChosen(id); });
    connect(placementGroup_, &QButtonGroup::idClicked, this,
            [this](int id) { onTitlePlacementChosen(id); });

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    auto* okButton = new QPushButton(tr(texts::kOK), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(tr(texts::kCancel), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAutoDefault(false);
    connect(okButton, &QPushButton::clicked, this, [this] { confirm(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    root->addLayout(buttons);

    sampleText_->setText(tr(texts::kSampleText));
}

void TitleOptionsDialog::showFor(const PrintLayout& layout)
{
    QFont font(QString::fromStdString(layout.fontName));
    if (layout.fontPoints > 0) font.setPointSize(layout.fontPoints);
    font.setItalic(layout.italic);
    font.setBold(layout.bold);
    font.setUnderline(layout.underline);
    fontSummary_->setText(QString::fromStdString(layout.fontName) + QStringLiteral(",") +
                          QString::number(layout.fontPoints) + QStringLiteral("pt"));
    if (auto* h = alignmentGroup_->button(IndexOfCode(layout.titleAlignment))) h->setChecked(true);
    if (auto* v = placementGroup_->button(IndexOfCode(layout.titlePlacement))) v->setChecked(true);
    fontPoints_ = layout.fontPoints;
    alignmentIndex_ = IndexOfCode(layout.titleAlignment);
    placementIndex_ = IndexOfCode(layout.titlePlacement);
    showSample(font);
    show();
    raise();
    activateWindow();
}

QFont TitleOptionsDialog::workingFont() const
{
    return sampleFont_;
}

bool TitleOptionsDialog::sampleScaled() const
{
    return !sampleScaledNote_->isHidden();
}

void TitleOptionsDialog::showSample(const QFont& font)
{
    sampleFont_ = font;
    // The dialog grows with the sample up to most of the screen; beyond that (a size typed
    // into the settings file) the sample is drawn smaller and the note says so.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int widest = screen ? std::max(320, screen->availableGeometry().width() * 3 / 4) : 960;
    const QString text = sampleText_->text();
    const auto textWidth = [&text](const QFont& f) {
        const QFontMetrics metrics(f);
        return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).width());
    };
    QFont shown = font;
    while (textWidth(shown) > widest && shown.pointSizeF() > 1.0) {
        shown.setPointSizeF(std::max(1.0, shown.pointSizeF() * widest / textWidth(shown) - 0.5));
    }
    sampleText_->setFont(shown);
    sampleScaledNote_->setVisible(shown.pointSizeF() < font.pointSizeF());

    // Fixed size again, measured for the new sample. The cached size hints of the sample's
    // frames are dropped now, not when their posted layout requests arrive.
    for (QWidget* w = sampleText_; w && w != this; w = w->parentWidget()) {
        w->updateGeometry();
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->invalidate();
    layout()->activate();
    adjustSize();
    setFixedSize(sizeHint());
}

void TitleOptionsDialog::onTitleAlignmentChosen(int index)
{
    alignmentIndex_ = index;
}

void TitleOptionsDialog::onTitlePlacementChosen(int index)
{
    placementIndex_ = index;
}

void TitleOptionsDialog::showSummary()
{
    fontSummary_->setText(sampleFont_.family() + QStringLiteral(",") +
                          QString::number(fontPoints_) + QStringLiteral("pt"));
}

void TitleOptionsDialog::chooseFont()
{
    const auto chosen = host_.chooseFont(this, sampleFont_);
    if (!chosen) {
        return;
    }
    QFont font = sampleFont_;
    font.setFamily(chosen->family());
    font.setPointSize(chosen->pointSize());
    font.setItalic(chosen->italic());
    font.setBold(chosen->bold());
    font.setUnderline(chosen->underline());
    showSample(font);
    fontPoints_ = chosen->pointSize();
    showSummary();
}

void TitleOptionsDialog::confirm()
{
    TitleOptions chosen;
    chosen.font.setFamily(sampleFont_.family());
    chosen.font.setItalic(sampleFont_.italic());
    chosen.font.setBold(sampleFont_.bold());
    chosen.font.setUnderline(sampleFont_.underline());
    chosen.fontPoints = fontPoints_;
    chosen.alignmentIndex = alignmentIndex_;
    chosen.placementIndex = placementIndex_;
    emit titleOptionsChosen(chosen);
    finish();
}

void TitleOptionsDialog::cancel()
{
    finish();
}

void TitleOptionsDialog::finish()
{
    if (finished_) {
        return;
    }
    finished_ = true;
    hide();
    printDialog_.show();
    printDialog_.raise();
    printDialog_.activateWindow();
    deleteLater();
}

void TitleOptionsDialog::closeEvent(QCloseEvent* event)
{
    // The close box is a cancel: the print dialog waits to be shown again.
    event->accept();
    finish();
}

void TitleOptionsDialog::reject()
{
    finish();
}

}  // namespace tovrimo
