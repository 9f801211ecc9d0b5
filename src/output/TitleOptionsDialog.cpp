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

#include "output/CarrierLabel.h"
#include "output/PrintDialog.h"
#include "output/PrintDialogHost.h"
#include "output/PrintDialogTexts.h"

namespace tovrimo {

namespace {

QString T(const char* text)
{
    return QString::fromUtf8(text);
}

QLabel* HiddenLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

}  // namespace

TitleOptionsDialog::TitleOptionsDialog(PrintDialog& printDialog, PrintDialogHost& host)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      printDialog_(printDialog),
      host_(host)
{
    setObjectName(QStringLiteral("TitleOptionsDialog"));
    setWindowTitle(T(texts::kTitleOptionCaption));
    setModal(false);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 10, 10, 10);

    auto* fraTitle = new QGroupBox(T(texts::kFrameTitle), this);
    fraTitle->setObjectName(QStringLiteral("Fra_Title"));
    auto* titleGrid = new QGridLayout(fraTitle);
    auto* chooseFont = new QPushButton(T(texts::kChooseFont), fraTitle);
    chooseFont->setObjectName(QStringLiteral("Btn_ChooseFont"));
    chooseFont->setAutoDefault(false);
    connect(chooseFont, &QPushButton::clicked, this, [this] { Btn_ChooseFont_Click(); });
    lblFont_ = new QLabel(T(texts::kFontSummaryInitial), fraTitle);
    lblFont_->setObjectName(QStringLiteral("Lbl_Font"));
    titleGrid->addWidget(chooseFont, 0, 0);
    titleGrid->addWidget(lblFont_, 0, 1, 1, 2);
    auto* lblSample = new QLabel(T(texts::kLabelSample), fraTitle);
    lblSample->setObjectName(QStringLiteral("Lbl_Sample"));
    auto* picFontSample = new QFrame(fraTitle);
    picFontSample->setObjectName(QStringLiteral("Pic_FontSample"));
    picFontSample->setFrameShape(QFrame::StyledPanel);
    picFontSample->setFrameShadow(QFrame::Sunken);
    picFontSample->setAutoFillBackground(true);
    QPalette samplePal = picFontSample->palette();
    samplePal.setColor(QPalette::Window, Qt::white);
    picFontSample->setPalette(samplePal);
    picFontSample->setMinimumSize(320, 56);
    auto* sampleLayout = new QHBoxLayout(picFontSample);
    lblSampleLabel_ = new QLabel(picFontSample);
    lblSampleLabel_->setObjectName(QStringLiteral("Lbl_SampleLabel"));
    lblSampleLabel_->setAlignment(Qt::AlignCenter);
    sampleLayout->addWidget(lblSampleLabel_);
    titleGrid->addWidget(lblSample, 1, 0, Qt::AlignTop | Qt::AlignRight);
    titleGrid->addWidget(picFontSample, 1, 1, 1, 2);
    lblSampleNote_ = new QLabel(T(texts::kSampleScaledNote), fraTitle);
    lblSampleNote_->setObjectName(QStringLiteral("sampleScaledNote"));
    lblSampleNote_->hide();
    titleGrid->addWidget(lblSampleNote_, 2, 1, 1, 2);
    root->addWidget(fraTitle);

    auto* positions = new QHBoxLayout();
    auto* fraH = new QGroupBox(T(texts::kFrameHTitlePos), this);
    fraH->setObjectName(QStringLiteral("Fra_HTitlePos"));
    auto* hColumn = new QVBoxLayout(fraH);
    optHTitlePos_ = new QButtonGroup(this);
    const char* hCaptions[] = {texts::kHTitleLeft, texts::kHTitleCentre, texts::kHTitleRight};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(T(hCaptions[i]), fraH);
        option->setObjectName(QStringLiteral("Opt_HTitlePos%1").arg(i));
        optHTitlePos_->addButton(option, i);
        hColumn->addWidget(option);
    }
    auto* fraV = new QGroupBox(T(texts::kFrameVTitlePos), this);
    fraV->setObjectName(QStringLiteral("Fra_VTitlePos"));
    auto* vColumn = new QVBoxLayout(fraV);
    optVTitlePos_ = new QButtonGroup(this);
    const char* vCaptions[] = {texts::kVTitleAbove, texts::kVTitleBelow};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(T(vCaptions[i]), fraV);
        option->setObjectName(QStringLiteral("Opt_VTitlePos%1").arg(i));
        optVTitlePos_->addButton(option, i);
        vColumn->addWidget(option);
    }
    vColumn->addStretch(1);
    positions->addWidget(fraH, 1);
    positions->addWidget(fraV, 1);
    root->addLayout(positions);
    connect(optHTitlePos_, &QButtonGroup::idClicked, this,
            [this](int id) { Opt_HTitlePos_Click(id); });
    connect(optVTitlePos_, &QButtonGroup::idClicked, this,
            [this](int id) { Opt_VTitlePos_Click(id); });

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    auto* ok = new QPushButton(T(texts::kOK), this);
    ok->setObjectName(QStringLiteral("Btn_OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(T(texts::kCancel), this);
    cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] { Btn_OK_Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { Btn_Cancel_Click(); });
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    root->addLayout(buttons);

    lblTitleAlign_ = HiddenLabel(QStringLiteral("Lbl_TitleAlign"), this);
    lblTitleVAlign_ = HiddenLabel(QStringLiteral("Lbl_TitleVAlign"), this);
    lblFontSize_ = HiddenLabel(QStringLiteral("Lbl_FontSize"), this);

    lblSampleLabel_->setText(T(texts::kSampleText));
}

void TitleOptionsDialog::Open(const PrintLayout& layout)
{
    QFont font(QString::fromStdString(layout.FontName));
    if (layout.FontSize > 0) font.setPointSize(layout.FontSize);
    font.setItalic(layout.FontItalic);
    font.setBold(layout.FontBold);
    font.setUnderline(layout.FontUnderLine);
    lblFont_->setText(QString::fromStdString(layout.FontName) + QStringLiteral(",") +
                      QString::number(layout.FontSize) + QStringLiteral("pt"));
    if (auto* h = optHTitlePos_->button(layout.TitleAlign)) h->setChecked(true);
    if (auto* v = optVTitlePos_->button(layout.TitleVAlign)) v->setChecked(true);
    lblFontSize_->setText(QString::number(layout.FontSize));
    lblTitleAlign_->setText(QString::number(layout.TitleAlign));
    lblTitleVAlign_->setText(QString::number(layout.TitleVAlign));
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
    return !lblSampleNote_->isHidden();
}

void TitleOptionsDialog::showSample(const QFont& font)
{
    sampleFont_ = font;
    // The dialog grows with the sample up to most of the screen; beyond that (a size typed
    // into the settings file) the sample is drawn smaller and the note says so.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int widest = screen ? std::max(320, screen->availableGeometry().width() * 3 / 4) : 960;
    const QString text = lblSampleLabel_->text();
    const auto textWidth = [&text](const QFont& f) {
        const QFontMetrics metrics(f);
        return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).width());
    };
    QFont shown = font;
    while (textWidth(shown) > widest && shown.pointSizeF() > 1.0) {
        shown.setPointSizeF(std::max(1.0, shown.pointSizeF() * widest / textWidth(shown) - 0.5));
    }
    lblSampleLabel_->setFont(shown);
    lblSampleNote_->setVisible(shown.pointSizeF() < font.pointSizeF());

    // Fixed size again, measured for the new sample. The cached size hints of the sample's
    // frames are dropped now, not when their posted layout requests arrive.
    for (QWidget* w = lblSampleLabel_; w && w != this; w = w->parentWidget()) {
        w->updateGeometry();
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->invalidate();
    layout()->activate();
    adjustSize();
    setFixedSize(sizeHint());
}

void TitleOptionsDialog::Opt_HTitlePos_Click(int index)
{
    lblTitleAlign_->setText(QString::number(index));
}

void TitleOptionsDialog::Opt_VTitlePos_Click(int index)
{
    lblTitleVAlign_->setText(QString::number(index));
}

void TitleOptionsDialog::showSummary()
{
    lblFont_->setText(sampleFont_.family() + QStringLiteral(",") + lblFontSize_->text() +
                      QStringLiteral("pt"));
}

void TitleOptionsDialog::Btn_ChooseFont_Click()
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
    lblFontSize_->setText(QString::number(chosen->pointSize()));
    showSummary();
}

void TitleOptionsDialog::Btn_OK_Click()
{
    CarrierLabel* fontCarrier = printDialog_.fontCarrier();
    fontCarrier->setCaption(QStringLiteral("0"));
    QFont carried = fontCarrier->font();
    const QFont sample = sampleFont_;
    carried.setFamily(sample.family());
    carried.setItalic(sample.italic());
    carried.setBold(sample.bold());
    carried.setUnderline(sample.underline());
    fontCarrier->setFont(carried);
    printDialog_.titleAlignCarrier()->setCaption(lblTitleAlign_->text());
    printDialog_.titleVAlignCarrier()->setCaption(lblTitleVAlign_->text());
    fontCarrier->setCaption(lblFontSize_->text());
    finish();
}

void TitleOptionsDialog::Btn_Cancel_Click()
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
