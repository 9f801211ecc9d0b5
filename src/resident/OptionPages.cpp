#include "resident/OptionPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "resident/HotKeyKeyList.h"
#include "resident/OptionTexts.h"
#include "platform/qt/ProgramIcon.h"

namespace tovrimo {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename W>
W* Named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QString Indexed(const char* name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

}  // namespace

OptionPages::OptionPages(QWidget* dialog)
{
    namespace t = option_texts;
    Pic_Tab = Named(new QWidget(dialog), QStringLiteral("Pic_Tab"));
    Fra_Tab[0] = buildBasicPage();
    Fra_Tab[1] = buildHotKeyPage();
    Fra_Tab[2] = buildOtherPage();
    for (int i = 0; i < kTabCount; ++i) {
        Fra_Tab[i]->setParent(Pic_Tab);
        Fra_Tab[i]->setObjectName(Indexed("Fra_Tab", i));
    }

    BtnOK = Named(new QPushButton(Q(t::kBtnOK), dialog), QStringLiteral("BtnOK"));
    BtnCancel = Named(new QPushButton(Q(t::kBtnCancel), dialog), QStringLiteral("BtnCancel"));
    BtnTekiyo = Named(new QPushButton(Q(t::kBtnTekiyo), dialog), QStringLiteral("BtnTekiyo"));
    BtnHelp = Named(new QPushButton(Q(t::kBtnHelp), dialog), QStringLiteral("BtnHelp"));
    BtnOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {BtnOK, BtnCancel, BtnTekiyo, BtnHelp}) {
        b->setMinimumWidth(88);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(Pic_Tab);
    layout->addLayout(buttons);
}

QWidget* OptionPages::buildBasicPage()
{
    namespace t = option_texts;
    auto* page = new QWidget;

    FrmDblClick = Named(new QGroupBox(Q(t::kFrmDblClick)), QStringLiteral("FrmDblClick"));
    Opt_HardCopy = Named(new QRadioButton(Q(t::kOptHardCopy)), QStringLiteral("Opt_HardCopy"));
    Opt_Copy = Named(new QRadioButton(Q(t::kOptCopy)), QStringLiteral("Opt_Copy"));
    Opt_Fusen = Named(new QRadioButton(Q(t::kOptFusen)), QStringLiteral("Opt_Fusen"));
    Opt_Redo = Named(new QRadioButton(Q(t::kOptRedo)), QStringLiteral("Opt_Redo"));
    auto* actions = new QVBoxLayout(FrmDblClick);
    for (QRadioButton* r : {Opt_HardCopy, Opt_Copy, Opt_Fusen, Opt_Redo}) actions->addWidget(r);
    actions->addStretch(1);

    Fra_CaptureHoho =
        Named(new QGroupBox(Q(t::kFraCaptureHoho)), QStringLiteral("Fra_CaptureHoho"));
    Opt_DeskTop = Named(new QRadioButton(Q(t::kOptDeskTop)), QStringLiteral("Opt_DeskTop"));
    Opt_ActiveWindow =
        Named(new QRadioButton(Q(t::kOptActiveWindow)), QStringLiteral("Opt_ActiveWindow"));
    Opt_RS = Named(new QRadioButton(Q(t::kOptRS)), QStringLiteral("Opt_RS"));
    Opt_File = Named(new QRadioButton(Q(t::kOptFile)), QStringLiteral("Opt_File"));
    Opt_Clip = Named(new QRadioButton(Q(t::kOptClip)), QStringLiteral("Opt_Clip"));
    auto* sources = new QVBoxLayout(Fra_CaptureHoho);
    for (QRadioButton* r : {Opt_DeskTop, Opt_ActiveWindow, Opt_RS, Opt_File, Opt_Clip})
        sources->addWidget(r);
    sources->addStretch(1);

    Fra_DblClick = Named(new QGroupBox(Q(t::kFraDblClick)), QStringLiteral("Fra_DblClick"));
    auto* dblClick = new QHBoxLayout(Fra_DblClick);
    dblClick->addWidget(FrmDblClick, 1);
    dblClick->addWidget(Fra_CaptureHoho, 1);

    Chk_Icon = Named(new QCheckBox(Q(t::kChkIcon)), QStringLiteral("Chk_Icon"));
    ChkKakure = Named(new QCheckBox(Q(t::kChkKakure)), QStringLiteral("ChkKakure"));
    ChkByo = Named(new QCheckBox(Q(t::kChkByo)), QStringLiteral("ChkByo"));
    TxtByo = Named(new QLineEdit, QStringLiteral("TxtByo"));
    TxtByo->setAlignment(Qt::AlignRight);
    TxtByo->setFixedWidth(TxtByo->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
    Label2 = Named(new QLabel(Q(t::kLabel2)), QStringLiteral("Label2"));
    ChkDialog = Named(new QCheckBox(Q(t::kChkDialog)), QStringLiteral("ChkDialog"));
    ChkReverse = Named(new QCheckBox(Q(t::kChkReverse)), QStringLiteral("ChkReverse"));
    fullDetailBox =
        Named(new QCheckBox(Q(t::kFullDetailPrintText)), QStringLiteral("fullDetailBox"));

    auto* timer = new QHBoxLayout;
    timer->addWidget(ChkByo);
    timer->addWidget(TxtByo);
    timer->addWidget(Label2);
    timer->addStretch(1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Fra_DblClick);
    layout->addWidget(Chk_Icon);
    layout->addWidget(ChkKakure);
    layout->addLayout(timer);
    layout->addWidget(ChkDialog);
    layout->addWidget(ChkReverse);
    layout->addWidget(fullDetailBox);
    layout->addStretch(1);
    return page;
}

QWidget* OptionPages::buildHotKeyPage()
{
    namespace t = option_texts;
    auto* page = new QWidget;
    Fra_Hardcopy = Named(new QGroupBox(Q(t::kFraHardcopy)), QStringLiteral("Fra_Hardcopy"));
    Fra_Copy = Named(new QGroupBox(Q(t::kFraCopy)), QStringLiteral("Fra_Copy"));
    auto* hardcopyRows = new QGridLayout(Fra_Hardcopy);
    auto* copyRows = new QGridLayout(Fra_Copy);
    auto* looseRows = new QGridLayout;

    // Every row's label column is as wide as the widest label, so the boxes line up across the
    // two frames and the loose rows.
    int labelWidth = 0;
    for (std::string_view caption : t::kHotKeyRows)
        labelWidth = qMax(labelWidth, page->fontMetrics().horizontalAdvance(Q(caption)));

    for (int n = 0; n < kHotKeySlots; ++n) {
        Lbl_Hotkey[n] = Named(new QLabel(Q(t::kHotKeyRows[n])), Indexed("Lbl_Hotkey", n));
        Lbl_Hotkey[n]->setMinimumWidth(labelWidth + 8);
        Chk_Enable[n] = Named(new QCheckBox(Q(t::kChkEnable)), Indexed("Chk_Enable", n));
        Chk_CTRL[n] = Named(new QCheckBox(Q(t::kChkCTRL)), Indexed("Chk_CTRL", n));
        Chk_Shift[n] = Named(new QCheckBox(Q(t::kChkShift)), Indexed("Chk_Shift", n));
        Chk_Alt[n] = Named(new QCheckBox(Q(t::kChkAlt)), Indexed("Chk_Alt", n));
        Cmb_Key[n] = Named(new QComboBox, Indexed("Cmb_Key", n));
        Cmb_Key[n]->setEditable(true);
        Cmb_Key[n]->setInsertPolicy(QComboBox::NoInsert);
        Cmb_Key[n]->setMaxVisibleItems(12);
        Cmb_Key[n]->setMinimumContentsLength(11);  // "PrintScreen"
        Cmb_Key[n]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

        QGridLayout* grid = n < 4 ? hardcopyRows : n < 8 ? copyRows : looseRows;
        const int row = n % 4;
        grid->addWidget(Lbl_Hotkey[n], row, 0);
        grid->addWidget(Chk_Enable[n], row, 1);
        grid->addWidget(Chk_CTRL[n], row, 2);
        grid->addWidget(Chk_Shift[n], row, 3);
        grid->addWidget(Chk_Alt[n], row, 4);
        grid->addWidget(Cmb_Key[n], row, 5);
        grid->setHorizontalSpacing(12);
        grid->setColumnStretch(0, 1);
    }
    // The loose rows sit where a frame's rows would, so indent them by the frame's margin.
    int left = 0, top = 0, right = 0, bottom = 0;
    hardcopyRows->getContentsMargins(&left, &top, &right, &bottom);
    looseRows->setContentsMargins(left + 1, 0, right + 1, 0);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Fra_Hardcopy);
    layout->addWidget(Fra_Copy);
    layout->addLayout(looseRows);
    layout->addStretch(1);
    return page;
}

QWidget* OptionPages::buildOtherPage()
{
    namespace t = option_texts;
    auto* page = new QWidget;
    Lbl_AppName = Named(new QLabel(Q(t::kLblAppName)), QStringLiteral("Lbl_AppName"));
    Txt_AppName = Named(new QLineEdit, QStringLiteral("Txt_AppName"));
    Lbl_AppName->setBuddy(Txt_AppName);
    Lbl_IconPath = Named(new QLabel(Q(t::kLblIconPath)), QStringLiteral("Lbl_IconPath"));
    Txt_IconPath = Named(new QLineEdit, QStringLiteral("Txt_IconPath"));
    Lbl_IconPath->setBuddy(Txt_IconPath);
    Btn_IconSansho = Named(new QPushButton(Q(t::kBtnIconSansho)), QStringLiteral("Btn_IconSansho"));
    Btn_IconSansho->setAutoDefault(false);
    Label7 = Named(new QLabel(Q(t::kLabel7)), QStringLiteral("Label7"));
    Label7->setWordWrap(true);
    Picture1 = Named(new QLabel, QStringLiteral("Picture1"));
    Picture1->setPixmap(ProgramIcon().pixmap(32, 32));
    Picture1->setFixedSize(40, 40);
    Picture1->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout;
    grid->addWidget(Lbl_AppName, 0, 0);
    grid->addWidget(Txt_AppName, 0, 1, 1, 2);
    grid->addWidget(Lbl_IconPath, 1, 0);
    grid->addWidget(Txt_IconPath, 1, 1);
    grid->addWidget(Btn_IconSansho, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* note = new QHBoxLayout;
    note->addWidget(Picture1, 0, Qt::AlignTop);
    note->addWidget(Label7, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(note);
    layout->addStretch(1);
    return page;
}

}  // namespace tovrimo
