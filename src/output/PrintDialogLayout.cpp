// Building the print dialog's controls and connecting them to their handlers.
#include <QAbstractItemView>
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

#include "controls/TextLengthLimit.h"
#include "core/IniDocument.h"
#include "core/TitleFields.h"
#include "output/PreviewBox.h"
#include "output/PrintDialog.h"
#include "output/PrintDialogRules.h"
#include "output/PrintDialogTexts.h"

namespace tovrimo {

namespace {

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

QRadioButton* AddOption(QButtonGroup* group, int index, const QString& caption, const QString& name,
                        QWidget* parent)
{
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
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

    preview_ = new PreviewBox(this);
    root->addWidget(buildPageSetupFrame(), 0, 0, 1, 2);
    root->addWidget(preview_, 0, 2, Qt::AlignCenter);
    root->addWidget(buildSizeFrame(), 1, 0);
    root->addWidget(buildPositionFrame(), 1, 1, 1, 2);
    root->addWidget(buildTitleRow(), 2, 0, 1, 3);
    root->addWidget(buildSettingRow(), 3, 0, 1, 3);
    root->addWidget(buildCommandRow(), 4, 0, 1, 3);
    root->setColumnStretch(1, 1);

    previewTimer_ = new QTimer(this);
    previewTimer_->setObjectName(QStringLiteral("previewTimer"));
    previewTimer_->setInterval(1500);
    previewTimer_->setSingleShot(true);
    printTimer_ = new QTimer(this);
    printTimer_->setObjectName(QStringLiteral("printTimer"));
    printTimer_->setSingleShot(true);
}

QWidget* PrintDialog::buildPageSetupFrame()
{
    auto* frame = new QGroupBox(tr(texts::kFramePageSetup), this);
    frame->setObjectName(QStringLiteral("pageSetupGroup"));
    auto* grid = new QGridLayout(frame);
    printerList_ = ListBox(QStringLiteral("printerList"), frame);
    paperSizeList_ = ListBox(QStringLiteral("paperSizeList"), frame);
    paperSourceList_ = ListBox(QStringLiteral("paperSourceList"), frame);
    grid->addWidget(new QLabel(tr(texts::kLabelPrinterName), frame), 0, 0);
    grid->addWidget(printerList_, 0, 1);
    grid->addWidget(new QLabel(tr(texts::kLabelPaper), frame), 1, 0);
    grid->addWidget(paperSizeList_, 1, 1);
    grid->addWidget(new QLabel(tr(texts::kLabelPaperBin), frame), 2, 0);
    grid->addWidget(paperSourceList_, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* orientation = new QGroupBox(tr(texts::kFrameOrientation), frame);
    orientation->setObjectName(QStringLiteral("orientationGroup"));
    orientationGroup_ = new QButtonGroup(this);
    auto* row = new QHBoxLayout(orientation);
    auto* portraitPicture = new QLabel(orientation);
    portraitPicture->setObjectName(QStringLiteral("portraitPicture"));
    portraitPicture->setPixmap(SheetPicture(false));
    auto* landscapePicture = new QLabel(orientation);
    landscapePicture->setObjectName(QStringLiteral("landscapePicture"));
    landscapePicture->setPixmap(SheetPicture(true));
    row->addWidget(portraitPicture);
    row->addWidget(AddOption(orientationGroup_, IndexOfCode(PageOrientation::Portrait),
                             tr(texts::kOrientationPortrait), QStringLiteral("portraitOption"),
                             orientation));
    row->addSpacing(16);
    row->addWidget(landscapePicture);
    row->addWidget(AddOption(orientationGroup_, IndexOfCode(PageOrientation::Landscape),
                             tr(texts::kOrientationLandscape), QStringLiteral("landscapeOption"),
                             orientation));
    row->addStretch(1);
    grid->addWidget(orientation, 3, 0, 1, 2);
    return frame;
}

QWidget* PrintDialog::buildSizeFrame()
{
    auto* frame = new QGroupBox(tr(texts::kFrameSize), this);
    frame->setObjectName(QStringLiteral("scaleGroup"));
    auto* column = new QVBoxLayout(frame);
    scaleModeGroup_ = new QButtonGroup(this);
    column->addWidget(AddOption(scaleModeGroup_, IndexOfCode(ScaleMode::ActualSize),
                                tr(texts::kSizeActual), QStringLiteral("actualSizeOption"), frame));
    column->addWidget(AddOption(scaleModeGroup_, IndexOfCode(ScaleMode::FitToPaper),
                                tr(texts::kSizeFit), QStringLiteral("fitToPaperOption"), frame));
    column->addWidget(AddOption(scaleModeGroup_, IndexOfCode(ScaleMode::Percent),
                                tr(texts::kSizeManual), QStringLiteral("scalePercentOption"),
                                frame));

    auto* scaleRow = new QHBoxLayout();
    scaleEdit_ = NumberBox(QStringLiteral("scaleEdit"), frame);
    scaleEdit_->setMaxLength(6);
    scaleEdit_->setAttribute(Qt::WA_InputMethodEnabled, false);
    reduceButton_ = PictureButton(QStringLiteral("reduceScaleButton"), QStringLiteral("－"),
                                  tr(texts::kSizeSmallTip), frame);
    enlargeButton_ = PictureButton(QStringLiteral("enlargeScaleButton"), QStringLiteral("＋"),
                                   tr(texts::kSizeBigTip), frame);
    scaleRow->addSpacing(18);
    scaleRow->addWidget(new QLabel(tr(texts::kLabelScale), frame));
    scaleRow->addWidget(scaleEdit_);
    scaleRow->addWidget(new QLabel(tr(texts::kLabelPercent), frame));
    scaleRow->addStretch(1);
    scaleRow->addWidget(reduceButton_);
    scaleRow->addWidget(enlargeButton_);
    column->addLayout(scaleRow);

    // 3068 x 273 twips, made as tall as the slider needs so its ticks are not cut off.
    scaleSlider_ = new ScaleSlider(frame);
    scaleSlider_->setObjectName(QStringLiteral("scaleSlider"));
    scaleSlider_->setAccessibleName(tr(texts::kSlideBar));
    scaleSlider_->setFixedSize(3068 / 15, std::max(273 / 15, ScaleSlider::kDefaultHeight));
    column->addWidget(scaleSlider_, 0, Qt::AlignHCenter);

    keepAspectRatioBox_ = new QCheckBox(tr(texts::kKeepRatio), frame);
    keepAspectRatioBox_->setObjectName(QStringLiteral("keepAspectRatioBox"));
    keepAspectRatioBox_->hide();
    column->addStretch(1);
    return frame;
}

QWidget* PrintDialog::buildPositionFrame()
{
    auto* frame = new QGroupBox(tr(texts::kFramePosition), this);
    frame->setObjectName(QStringLiteral("positionGroup"));
    auto* grid = new QGridLayout(frame);
    positionGroup_ = new QButtonGroup(this);
    struct Option {
        PagePosition position;
        const char* caption;
        const char* name;
    } options[] = {
        {PagePosition::TopLeft, texts::kPositionTopLeft, "topLeftOption"},
        {PagePosition::TopRight, texts::kPositionTopRight, "topRightOption"},
        {PagePosition::Centre, texts::kPositionCentre, "centreOption"},
        {PagePosition::BottomLeft, texts::kPositionBottomLeft, "bottomLeftOption"},
        {PagePosition::BottomRight, texts::kPositionBottomRight, "bottomRightOption"},
        {PagePosition::Manual, texts::kPositionManual, "manualPositionOption"},
    };
    // Three to a column: the top and centre presets, then the bottom ones and manual.
    int cell = 0;
    for (const Option& option : options) {
        grid->addWidget(AddOption(positionGroup_, IndexOfCode(option.position), tr(option.caption),
                                  QString::fromUtf8(option.name), frame),
                        cell % 3, cell / 3);
        ++cell;
    }
    auto* offsets = new QGridLayout();
    leftEdit_ = NumberBox(QStringLiteral("leftEdit"), frame);
    topEdit_ = NumberBox(QStringLiteral("topEdit"), frame);
    offsets->addWidget(new QLabel(tr(texts::kLabelLeft), frame), 0, 0);
    offsets->addWidget(leftEdit_, 0, 1);
    offsets->addWidget(new QLabel(tr(texts::kLabelCm), frame), 0, 2);
    offsets->addWidget(new QLabel(tr(texts::kLabelTop), frame), 1, 0);
    offsets->addWidget(topEdit_, 1, 1);
    offsets->addWidget(new QLabel(tr(texts::kLabelCm), frame), 1, 2);
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
    titleEdit_ = new QLineEdit(row);
    titleEdit_->setObjectName(QStringLiteral("titleEdit"));
    titleLimit_ = new TextLengthLimit(IniDocument::kMaxValueBytes, titleEdit_);
    connect(titleLimit_, &TextLengthLimit::refused, this, &PrintDialog::inputRefused);
    titleEdit_->setValidator(titleLimit_);
    auto* label = new QLabel(tr(texts::kLabelTitle), row);
    label->setBuddy(titleEdit_);
    layout->addWidget(label, 0, 0);
    layout->addWidget(titleEdit_, 0, 1);
    layout->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout();
    struct Insert {
        const char* name;
        const char* face;
        const char* tip;
        const char* field;
    } inserts[] = {
        {"insertDateButton", texts::kInsDateFace, texts::kInsDateTip, kDateField},
        {"insertTimeButton", texts::kInsTimeFace, texts::kInsTimeTip, kTimeField},
        {"insertComputerNameButton", texts::kInsPCNameFace, texts::kInsPCNameTip,
         kComputerNameField},
        {"insertUserNameButton", texts::kInsUserNameFace, texts::kInsUserNameTip, kUserNameField},
        {"insertWindowTitleButton", texts::kInsTitleFace, texts::kInsTitleTip, kWindowTitleField},
    };
    for (const auto& insert : inserts) {
        auto* button =
            PictureButton(QString::fromUtf8(insert.name), tr(insert.face), tr(insert.tip), row);
        const char* field = insert.field;
        connect(button, &QToolButton::clicked, this, [this, field] { insertTitleField(field); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* titleSet = new QPushButton(tr(texts::kTitleSet), row);
    titleSet->setObjectName(QStringLiteral("titleOptionsButton"));
    titleSet->setAutoDefault(false);
    connect(titleSet, &QPushButton::clicked, this, [this] { openTitleOptions(); });
    buttons->addWidget(titleSet);
    layout->addLayout(buttons, 1, 1);
    return row;
}

QWidget* PrintDialog::buildSettingRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    namedSettingList_ = ListBox(QStringLiteral("namedSettingList"), row);
    auto* save = new QPushButton(tr(texts::kSaveSetting), row);
    save->setObjectName(QStringLiteral("saveSettingButton"));
    save->setAutoDefault(false);
    auto* del = new QPushButton(tr(texts::kDelSetting), row);
    del->setObjectName(QStringLiteral("deleteSettingButton"));
    del->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, [this] { saveNamedSetting(); });
    connect(del, &QPushButton::clicked, this, [this] { deleteNamedSetting(); });
    layout->addWidget(new QLabel(tr(texts::kLabelSetting), row));
    layout->addWidget(namedSettingList_, 1);
    layout->addWidget(save);
    layout->addWidget(del);
    return row;
}

QWidget* PrintDialog::buildCommandRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 0);
    struct CommandButton {
        const char* name;
        const char* caption;
        void (PrintDialog::*handler)();
    } commands[] = {
        {"printButton", texts::kPrint, &PrintDialog::print},
        {"copyButton", texts::kCopy, &PrintDialog::copyToClipboard},
        {"saveFileButton", texts::kSaveFile, &PrintDialog::saveImageAs},
        {"stickyNoteButton", texts::kStickyNoteButton, &PrintDialog::makeStickyNote},
        {"helpButton", texts::kHelp, &PrintDialog::showHelp},
        {"closeButton", texts::kClose, &PrintDialog::cancel},
    };
    for (const auto& command : commands) {
        auto* button = new QPushButton(tr(command.caption), row);
        button->setObjectName(QString::fromUtf8(command.name));
        button->setAutoDefault(false);
        const auto handler = command.handler;
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        if (command.handler == &PrintDialog::print) {
            // Not the dialog's default button: Return in a text box or list must not print.
            // Return prints only on the button itself (see the event filter).
            printButton_ = button;
        }
        if (command.handler == &PrintDialog::showHelp) {
            layout->addStretch(1);
        }
        layout->addWidget(button);
    }
    return row;
}

void PrintDialog::connectHandlers()
{
    connect(printerList_, &QComboBox::activated, this, [this] { onPrinterChanged(); });
    connect(paperSizeList_, &QComboBox::activated, this, [this] { onPaperSizeChanged(); });
    connect(paperSourceList_, &QComboBox::activated, this, [this] { onPaperSourceChanged(); });
    connect(namedSettingList_, &QComboBox::activated, this, [this] { onNamedSettingChosen(); });
    // Typing into a list selects no entry and changes nothing else.
    for (QComboBox* combo : {printerList_, paperSizeList_, paperSourceList_, namedSettingList_}) {
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [combo](const QString& typed) {
            const int caret = combo->lineEdit()->cursorPosition();
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(-1);
            combo->setEditText(typed);
            combo->lineEdit()->setCursorPosition(caret);
        });
    }
    connect(orientationGroup_, &QButtonGroup::idClicked, this,
            [this](int id) { onOrientationChosen(CodeAtIndex<PageOrientation>(id)); });
    connect(scaleModeGroup_, &QButtonGroup::idClicked, this,
            [this](int id) { onScaleModeChosen(CodeAtIndex<ScaleMode>(id)); });
    connect(positionGroup_, &QButtonGroup::idClicked, this,
            [this](int id) { onPositionChosen(CodeAtIndex<PagePosition>(id)); });
    connect(keepAspectRatioBox_, &QCheckBox::clicked, this, [this] { onKeepAspectRatioToggled(); });
    connect(scaleEdit_, &QLineEdit::textChanged, this, [this] { onScaleEdited(); });
    connect(leftEdit_, &QLineEdit::textChanged, this, [this] { onLeftEdited(); });
    connect(topEdit_, &QLineEdit::textChanged, this, [this] { onTopEdited(); });
    connect(titleEdit_, &QLineEdit::textChanged, this, [this] { onTitleEdited(); });
    scaleEdit_->installEventFilter(this);
    scaleEdit_->setAcceptDrops(false);
    printButton_->installEventFilter(this);
    // The list's pop-up opening is when the printers are asked again.
    printerList_->view()->window()->installEventFilter(this);
    for (QComboBox* combo : {printerList_, paperSizeList_, paperSourceList_, namedSettingList_}) {
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
        // Qt picks the entry whose name was typed when the text part loses the focus; typing
        // must choose nothing, so the box does not listen to its text part finishing an edit.
        QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    }
    connect(enlargeButton_, &QToolButton::clicked, this, [this] { enlargeScale(); });
    connect(reduceButton_, &QToolButton::clicked, this, [this] { reduceScale(); });
    connect(previewTimer_, &QTimer::timeout, this, [this] { onPreviewDelayElapsed(); });
    connect(printTimer_, &QTimer::timeout, this, [this] { onPrintDelayElapsed(); });
    connect(scaleSlider_, &ScaleSlider::released, this, [this] { onSliderReleased(); });
}

}  // namespace tovrimo
