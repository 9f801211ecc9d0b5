// Building the print dialog's controls and connecting them to their handlers.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "output/CarrierLabel.h"
#include "output/PrintDialog.h"
#include "output/PreviewBox.h"
#include "output/PrintDialogTexts.h"
#include "core/TitleFields.h"

namespace tovrimo {

namespace {

QString T(const char* text)
{
    return QString::fromUtf8(text);
}

// A small picture of a sheet lying portrait or landscape, with a folded corner.
QPixmap SheetPicture(bool landscape)
{
    const QSize size = landscape ? QSize(30, 22) : QSize(22, 30);
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QRect sheet((32 - size.width()) / 2, (32 - size.height()) / 2, size.width() - 1,
                      size.height() - 1);
    const int fold = 6;
    const QPolygon outline({sheet.topLeft(), QPoint(sheet.right() - fold, sheet.top()),
                            QPoint(sheet.right(), sheet.top() + fold), sheet.bottomRight(),
                            sheet.bottomLeft()});
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(outline);
    p.drawPolyline(QPolygon({QPoint(sheet.right() - fold, sheet.top()),
                             QPoint(sheet.right() - fold, sheet.top() + fold),
                             QPoint(sheet.right(), sheet.top() + fold)}));
    for (int y = sheet.top() + fold + 4; y < sheet.bottom() - 3; y += 4) {
        p.drawLine(sheet.left() + 4, y, sheet.right() - 4, y);
    }
    return pixmap;
}

QRadioButton* AddOption(QButtonGroup* group, int index, const QString& caption,
                        const QString& namePrefix, QWidget* parent)
{
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(namePrefix + QString::number(index));
    group->addButton(option, index);
    return option;
}

QLineEdit* NumberBox(const QString& name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFixedWidth(56);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QComboBox* ListBox(const QString& name, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->setMaxVisibleItems(20);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(22);
    return combo;
}

QToolButton* PictureButton(const QString& name, const QString& face, const QString& tip,
                           QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(face);
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

}  // namespace

void PrintDialog::buildControls()
{
    auto* root = new QGridLayout(this);
    root->setContentsMargins(10, 10, 10, 10);
    root->setHorizontalSpacing(10);
    root->setVerticalSpacing(8);

    picPreview_ = new PreviewBox(this);
    root->addWidget(buildPageSetupFrame(), 0, 0, 1, 2);
    root->addWidget(picPreview_, 0, 2, Qt::AlignCenter);
    root->addWidget(buildSizeFrame(), 1, 0);
    root->addWidget(buildPositionFrame(), 1, 1, 1, 2);
    root->addWidget(buildTitleRow(), 2, 0, 1, 3);
    root->addWidget(buildSettingRow(), 3, 0, 1, 3);
    root->addWidget(buildCommandRow(), 4, 0, 1, 3);
    root->setColumnStretch(1, 1);

    lblFont_ = new CarrierLabel(QStringLiteral("Lbl_Font"), this);
    lblTitleAlign_ = new CarrierLabel(QStringLiteral("Lbl_TitleAlign"), this);
    lblTitleVAlign_ = new CarrierLabel(QStringLiteral("Lbl_TitleVAlign"), this);

    timRefreshPreview_ = new QTimer(this);
    timRefreshPreview_->setObjectName(QStringLiteral("Tim_RefreshPreview"));
    timRefreshPreview_->setInterval(1500);
    timRefreshPreview_->setSingleShot(true);
    timPrint_ = new QTimer(this);
    timPrint_->setObjectName(QStringLiteral("TimPrint"));
    timPrint_->setSingleShot(true);
}

QWidget* PrintDialog::buildPageSetupFrame()
{
    auto* frame = new QGroupBox(T(texts::kFramePageSetup), this);
    frame->setObjectName(QStringLiteral("Frame3"));
    auto* grid = new QGridLayout(frame);
    cmbPrinterName_ = ListBox(QStringLiteral("CmbPrinterName"), frame);
    cmbPaperSize_ = ListBox(QStringLiteral("CmbPaperSize"), frame);
    cmbPaperBin_ = ListBox(QStringLiteral("CmbPaperBin"), frame);
    grid->addWidget(new QLabel(T(texts::kLabelPrinterName), frame), 0, 0);
    grid->addWidget(cmbPrinterName_, 0, 1);
    grid->addWidget(new QLabel(T(texts::kLabelPaper), frame), 1, 0);
    grid->addWidget(cmbPaperSize_, 1, 1);
    grid->addWidget(new QLabel(T(texts::kLabelPaperBin), frame), 2, 0);
    grid->addWidget(cmbPaperBin_, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* orientation = new QGroupBox(T(texts::kFrameOrientation), frame);
    orientation->setObjectName(QStringLiteral("Fra_Orientation"));
    optOrientation_ = new QButtonGroup(this);
    auto* row = new QHBoxLayout(orientation);
    auto* picPort = new QLabel(orientation);
    picPort->setObjectName(QStringLiteral("Pic_Port"));
    picPort->setPixmap(SheetPicture(false));
    auto* picLand = new QLabel(orientation);
    picLand->setObjectName(QStringLiteral("Pic_Land"));
    picLand->setPixmap(SheetPicture(true));
    row->addWidget(picPort);
    row->addWidget(AddOption(optOrientation_, 1, T(texts::kOrientationPortrait),
                             QStringLiteral("OptOrientation"), orientation));
    row->addSpacing(16);
    row->addWidget(picLand);
    row->addWidget(AddOption(optOrientation_, 2, T(texts::kOrientationLandscape),
                             QStringLiteral("OptOrientation"), orientation));
    row->addStretch(1);
    grid->addWidget(orientation, 3, 0, 1, 2);
    return frame;
}

QWidget* PrintDialog::buildSizeFrame()
{
    auto* frame = new QGroupBox(T(texts::kFrameSize), this);
    frame->setObjectName(QStringLiteral("Fra_Size"));
    auto* column = new QVBoxLayout(frame);
    optSize_ = new QButtonGroup(this);
    column->addWidget(
        AddOption(optSize_, 1, T(texts::kSizeActual), QStringLiteral("Opt_Size"), frame));
    column->addWidget(
        AddOption(optSize_, 2, T(texts::kSizeFit), QStringLiteral("Opt_Size"), frame));
    column->addWidget(
        AddOption(optSize_, 3, T(texts::kSizeManual), QStringLiteral("Opt_Size"), frame));

    auto* scaleRow = new QHBoxLayout();
    txtPSize_ = NumberBox(QStringLiteral("Txt_PSize"), frame);
    txtPSize_->setMaxLength(6);
    txtPSize_->setAttribute(Qt::WA_InputMethodEnabled, false);
    btnPSizeSmall_ = PictureButton(QStringLiteral("Btn_PSizeSmall"), QStringLiteral("－"),
                                   T(texts::kSizeSmallTip), frame);
    btnPSizeBig_ = PictureButton(QStringLiteral("Btn_PSizeBig"), QStringLiteral("＋"),
                                 T(texts::kSizeBigTip), frame);
    scaleRow->addSpacing(18);
    scaleRow->addWidget(new QLabel(T(texts::kLabelScale), frame));
    scaleRow->addWidget(txtPSize_);
    scaleRow->addWidget(new QLabel(T(texts::kLabelPercent), frame));
    scaleRow->addStretch(1);
    scaleRow->addWidget(btnPSizeSmall_);
    scaleRow->addWidget(btnPSizeBig_);
    column->addLayout(scaleRow);

    // The slider is created on this place holder when the dialog loads (3068 x 273 twips,
    // made as tall as the slider needs so its ticks are not cut off).
    lblSlideBar_ = new QWidget(frame);
    lblSlideBar_->setObjectName(QStringLiteral("Lbl_SlideBar"));
    lblSlideBar_->setAccessibleName(T(texts::kSlideBar));
    lblSlideBar_->setFixedSize(3068 / 15, std::max(273 / 15, ScaleSlider::kDefaultHeight));
    column->addWidget(lblSlideBar_, 0, Qt::AlignHCenter);

    chkHiritsu_ = new QCheckBox(T(texts::kKeepRatio), frame);
    chkHiritsu_->setObjectName(QStringLiteral("ChkHiritsu"));
    chkHiritsu_->hide();
    column->addStretch(1);
    return frame;
}

QWidget* PrintDialog::buildPositionFrame()
{
    auto* frame = new QGroupBox(T(texts::kFramePosition), this);
    frame->setObjectName(QStringLiteral("Fra_Position"));
    auto* grid = new QGridLayout(frame);
    optPosition_ = new QButtonGroup(this);
    const char* captions[] = {texts::kPositionTopLeft,     texts::kPositionTopRight,
                              texts::kPositionCentre,      texts::kPositionBottomLeft,
                              texts::kPositionBottomRight, texts::kPositionManual};
    for (int i = 1; i <= 6; ++i) {
        grid->addWidget(
            AddOption(optPosition_, i, T(captions[i - 1]), QStringLiteral("Opt_Position"), frame),
            (i - 1) % 3, (i - 1) / 3);
    }
    auto* offsets = new QGridLayout();
    txtLeft_ = NumberBox(QStringLiteral("Txt_Left"), frame);
    txtTop_ = NumberBox(QStringLiteral("Txt_Top"), frame);
    offsets->addWidget(new QLabel(T(texts::kLabelLeft), frame), 0, 0);
    offsets->addWidget(txtLeft_, 0, 1);
    offsets->addWidget(new QLabel(T(texts::kLabelCm), frame), 0, 2);
    offsets->addWidget(new QLabel(T(texts::kLabelTop), frame), 1, 0);
    offsets->addWidget(txtTop_, 1, 1);
    offsets->addWidget(new QLabel(T(texts::kLabelCm), frame), 1, 2);
    offsets->setColumnStretch(3, 1);
    grid->addLayout(offsets, 3, 1);
    grid->setRowStretch(4, 1);
    return frame;
}

QWidget* PrintDialog::buildTitleRow()
{
    // The title box spans the dialog: a template with several fields is long. Its insert
    // buttons and the title options button sit on a row of their own under it.
    auto* row = new QWidget(this);
    auto* layout = new QGridLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(4);
    txtTitle_ = new QLineEdit(row);
    txtTitle_->setObjectName(QStringLiteral("Txt_Title"));
    auto* label = new QLabel(T(texts::kLabelTitle), row);
    label->setBuddy(txtTitle_);
    layout->addWidget(label, 0, 0);
    layout->addWidget(txtTitle_, 0, 1);
    layout->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout();
    struct Insert {
        const char* name;
        const char* face;
        const char* tip;
        const char* field;
    } inserts[] = {
        {"Btn_InsDate", texts::kInsDateFace, texts::kInsDateTip, kDateField},
        {"Btn_InsTime", texts::kInsTimeFace, texts::kInsTimeTip, kTimeField},
        {"Btn_InsPCName", texts::kInsPCNameFace, texts::kInsPCNameTip, kComputerNameField},
        {"Btn_InsUserName", texts::kInsUserNameFace, texts::kInsUserNameTip, kUserNameField},
        {"Btn_InsTitle", texts::kInsTitleFace, texts::kInsTitleTip, kWindowTitleField},
    };
    for (const auto& insert : inserts) {
        auto* button =
            PictureButton(QString::fromUtf8(insert.name), T(insert.face), T(insert.tip), row);
        const char* field = insert.field;
        connect(button, &QToolButton::clicked, this, [this, field] { Btn_InsField_Click(field); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* titleSet = new QPushButton(T(texts::kTitleSet), row);
    titleSet->setObjectName(QStringLiteral("Btn_TitleSet"));
    titleSet->setAutoDefault(false);
    connect(titleSet, &QPushButton::clicked, this, [this] { Btn_TitleSet_Click(); });
    buttons->addWidget(titleSet);
    layout->addLayout(buttons, 1, 1);
    return row;
}

QWidget* PrintDialog::buildSettingRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    cmbSetting_ = ListBox(QStringLiteral("CmbSetting"), row);
    auto* save = new QPushButton(T(texts::kSaveSetting), row);
    save->setObjectName(QStringLiteral("BtnSaveSetting"));
    save->setAutoDefault(false);
    auto* del = new QPushButton(T(texts::kDelSetting), row);
    del->setObjectName(QStringLiteral("BtnDelSetting"));
    del->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, [this] { BtnSaveSetting_Click(); });
    connect(del, &QPushButton::clicked, this, [this] { BtnDelSetting_Click(); });
    layout->addWidget(new QLabel(T(texts::kLabelSetting), row));
    layout->addWidget(cmbSetting_, 1);
    layout->addWidget(save);
    layout->addWidget(del);
    return row;
}

QWidget* PrintDialog::buildCommandRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 0);
    struct Command {
        const char* name;
        const char* caption;
        void (PrintDialog::*handler)();
    } commands[] = {
        {"BtnOK", texts::kPrint, &PrintDialog::BtnOK_Click},
        {"BtnClipBoard", texts::kCopy, &PrintDialog::BtnClipBoard_Click},
        {"BtnSaveA", texts::kSaveFile, &PrintDialog::BtnSaveA_Click},
        {"Btn_Fusen", texts::kStickyNoteButton, &PrintDialog::Btn_Fusen_Click},
        {"BtnHelp", texts::kHelp, &PrintDialog::BtnHelp_Click},
        {"BtnCancel", texts::kClose, &PrintDialog::BtnCancel_Click},
    };
    for (const auto& command : commands) {
        auto* button = new QPushButton(T(command.caption), row);
        button->setObjectName(QString::fromUtf8(command.name));
        button->setAutoDefault(false);
        const auto handler = command.handler;
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        if (command.handler == &PrintDialog::BtnOK_Click) {
            // Not the dialog's default button: Return in a text box or list must not print.
            // Return prints only on the button itself (see the event filter).
            btnOK_ = button;
        }
        if (command.handler == &PrintDialog::BtnHelp_Click) {
            layout->addStretch(1);
        }
        layout->addWidget(button);
    }
    return row;
}

void PrintDialog::connectHandlers()
{
    connect(cmbPrinterName_, &QComboBox::activated, this, [this] { CmbPrinterName_Click(); });
    connect(cmbPaperSize_, &QComboBox::activated, this, [this] { CmbPaperSize_Click(); });
    connect(cmbPaperBin_, &QComboBox::activated, this, [this] { CmbPaperBin_Click(); });
    connect(cmbSetting_, &QComboBox::activated, this, [this] { CmbSetting_Click(); });
    // Typing into a list selects no entry and changes nothing else.
    for (QComboBox* combo : {cmbPrinterName_, cmbPaperSize_, cmbPaperBin_, cmbSetting_}) {
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [combo](const QString& typed) {
            const int caret = combo->lineEdit()->cursorPosition();
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(-1);
            combo->setEditText(typed);
            combo->lineEdit()->setCursorPosition(caret);
        });
    }
    connect(optOrientation_, &QButtonGroup::idClicked, this,
            [this](int id) { OptOrientation_Click(id); });
    connect(optSize_, &QButtonGroup::idClicked, this, [this](int id) { Opt_Size_Click(id); });
    connect(optPosition_, &QButtonGroup::idClicked, this,
            [this](int id) { Opt_Position_Click(id); });
    connect(chkHiritsu_, &QCheckBox::clicked, this, [this] { ChkHiritsu_Click(); });
    connect(txtPSize_, &QLineEdit::textChanged, this, [this] { Txt_PSize_Change(); });
    connect(txtLeft_, &QLineEdit::textChanged, this, [this] { Txt_Left_Change(); });
    connect(txtTop_, &QLineEdit::textChanged, this, [this] { Txt_Top_Change(); });
    connect(txtTitle_, &QLineEdit::textChanged, this, [this] { Txt_Title_Change(); });
    txtPSize_->installEventFilter(this);
    txtPSize_->setAcceptDrops(false);
    btnOK_->installEventFilter(this);
    for (QComboBox* combo : {cmbPrinterName_, cmbPaperSize_, cmbPaperBin_, cmbSetting_}) {
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
        // Qt picks the entry whose name was typed when the text part loses the focus; typing
        // must choose nothing, so the box does not listen to its text part finishing an edit.
        QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    }
    connect(btnPSizeBig_, &QToolButton::clicked, this, [this] { Btn_PSizeBig_Click(); });
    connect(btnPSizeSmall_, &QToolButton::clicked, this, [this] { Btn_PSizeSmall_Click(); });
    connect(lblFont_, &CarrierLabel::captionChanged, this, [this] { Lbl_Font_Change(); });
    connect(lblTitleAlign_, &CarrierLabel::captionChanged, this,
            [this] { Lbl_TitleAlign_Change(); });
    connect(lblTitleVAlign_, &CarrierLabel::captionChanged, this,
            [this] { Lbl_TitleVAlign_Change(); });
    connect(timRefreshPreview_, &QTimer::timeout, this, [this] { Tim_RefreshPreview_Timer(); });
    connect(timPrint_, &QTimer::timeout, this, [this] { TimPrint_Timer(); });
    connect(&sldPSize_, &ScaleSlider::MouseUp, this, [this] { Sld_PSize_MouseUp(); });
}

}  // namespace tovrimo
