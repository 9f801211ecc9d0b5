#include "resident/OptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QTimer>

#include "controls/cTabStrip.h"
#include "platform/MessageBoxes.h"
#include "resident/HotKeyKeyList.h"
#include "resident/OptionRules.h"
#include "resident/OptionTexts.h"
#include "resident/OptionsHost.h"
#include "platform/qt/ProgramIcon.h"

namespace tovrimo {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int16_t Value(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

}  // namespace

OptionsDialog::OptionsDialog(SettingsData& data, OptionsHost& host, MessageBoxes& messages,
                     std::string lastFolder, const QIcon& residentIcon, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      data_(data),
      host_(host),
      messages_(messages),
      lastFolder_(std::move(lastFolder)),
      ui_(this)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The program lives in the tray; closing a dialog must not end it.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(Q(option_texts::kCaption));
    beep = [] { QApplication::beep(); };

    // The lists are filled before any handler listens, so filling selects nothing.
    for (QComboBox* list : ui_.Cmb_Key) {
        for (const KeyListEntry& entry : KeyListEntries()) list->addItem(Q(entry.text));
        list->setCurrentIndex(-1);
    }
    ui_.TxtByo->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    connectHandlers();
    Form_Load(residentIcon);
}

OptionsDialog::~OptionsDialog()
{
    // QDialog's destructor hides the window, which takes the focus from a key list's edit and
    // so emits editingFinished. By then this object is no longer a OptionsDialog: its handlers
    // must not run on what is left of it.
    for (QComboBox* list : ui_.Cmb_Key)
        if (QLineEdit* edit = list->lineEdit()) edit->disconnect(this);
}

void OptionsDialog::connectHandlers()
{
    connect(ui_.BtnOK, &QPushButton::clicked, this, &OptionsDialog::BtnOK_Click);
    connect(ui_.BtnCancel, &QPushButton::clicked, this, &OptionsDialog::BtnCancel_Click);
    connect(ui_.BtnTekiyo, &QPushButton::clicked, this, &OptionsDialog::BtnTekiyo_Click);
    connect(ui_.BtnHelp, &QPushButton::clicked, this, &OptionsDialog::BtnHelp_Click);
    connect(ui_.Btn_IconSansho, &QPushButton::clicked, this, &OptionsDialog::Btn_IconSansho_Click);

    const std::array<QRadioButton*, 4> actions = {ui_.Opt_HardCopy, ui_.Opt_Copy, ui_.Opt_Fusen,
                                                  ui_.Opt_Redo};
    for (size_t i = 0; i < actions.size(); ++i) {
        connect(actions[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Opt_Action_Click(static_cast<int16_t>(i + 1));
        });
    }
    const std::array<QRadioButton*, 5> sources = {ui_.Opt_DeskTop, ui_.Opt_ActiveWindow, ui_.Opt_RS,
                                                  ui_.Opt_File, ui_.Opt_Clip};
    for (size_t i = 0; i < sources.size(); ++i) {
        connect(sources[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Opt_Source_Click(static_cast<int16_t>(i + 1));
        });
    }

    auto storeBox = [this](QCheckBox* box, int16_t Settings::*field) {
        connect(box, &QCheckBox::toggled, this, [this, box, field] {
            work_.*field = Value(box);
            changed();
        });
    };
    storeBox(ui_.Chk_Icon, &Settings::IconCapture);
    storeBox(ui_.ChkKakure, &Settings::IconDelete);
    storeBox(ui_.ChkDialog, &Settings::ConfirmBeforePrint);
    storeBox(ui_.ChkReverse, &Settings::ReversePrint);
    storeBox(ui_.fullDetailBox, &Settings::FullDetailPrint);
    connect(ui_.ChkByo, &QCheckBox::toggled, this, &OptionsDialog::ChkByo_Click);
    ui_.TxtByo->installEventFilter(this);

    connect(ui_.Txt_AppName, &QLineEdit::textChanged, this, [this](const QString& text) {
        work_.Title = text.toStdString();
        changed();
    });
    connect(ui_.Txt_IconPath, &QLineEdit::textChanged, this, [this](const QString& text) {
        work_.Icon = text.toStdString();
        changed();
    });

    for (int n = 0; n < kHotKeySlots; ++n) {
        connect(ui_.Chk_Enable[n], &QCheckBox::toggled, this, [this, n] { Chk_Enable_Click(n); });
        auto storeModifier = [this, n](QCheckBox* box, std::array<int16_t, kHotKeySlots>& field) {
            connect(box, &QCheckBox::toggled, this, [this, box, &field, n] {
                field[n] = Value(box);
                changed();
            });
        };
        storeModifier(ui_.Chk_CTRL[n], work_.HotKeyCTRL);
        storeModifier(ui_.Chk_Shift[n], work_.HotKeySHIFT);
        storeModifier(ui_.Chk_Alt[n], work_.HotKeyALT);
        connect(ui_.Cmb_Key[n], &QComboBox::currentIndexChanged, this,
                [this, n] { Cmb_Key_Click(n); });
        QLineEdit* edit = ui_.Cmb_Key[n]->lineEdit();
        connect(edit, &QLineEdit::textEdited, this, [this, n] { keyEdited_[n] = true; });
        connect(edit, &QLineEdit::editingFinished, this, [this, n] { Cmb_Key_Change(n); });
    }
}

void OptionsDialog::Form_Load(const QIcon& residentIcon)
{
    const Settings& live = data_.settings;
    if (!live.IconIsBuiltIn && !residentIcon.isNull()) {
        setWindowIcon(residentIcon);
    } else {
        setWindowIcon(ProgramIcon());
    }
    work_ = live;

    // Setting a control runs its handler, so the copy and the enabled states follow the
    // controls; only the states that need no change are set by hand.
    ui_.ChkByo->setChecked(work_.SelfTimer != 0);
    ui_.TxtByo->setText(QString::number(work_.SelfTime));
    ui_.ChkKakure->setChecked(work_.IconDelete != 0);
    ui_.ChkDialog->setChecked(work_.ConfirmBeforePrint != 0);
    ui_.ChkReverse->setChecked(work_.ReversePrint != 0);
    ui_.fullDetailBox->setChecked(work_.FullDetailPrint != 0);
    ui_.Chk_Icon->setChecked(work_.IconCapture != 0);
    ui_.TxtByo->setEnabled(work_.SelfTimer != 0);

    const std::array<QRadioButton*, 4> actions = {ui_.Opt_HardCopy, ui_.Opt_Copy, ui_.Opt_Fusen,
                                                  ui_.Opt_Redo};
    if (const auto action = ActionChoiceFor(work_.DoubleClick))
        actions[*action - 1]->setChecked(true);
    const std::array<QRadioButton*, 5> sources = {ui_.Opt_DeskTop, ui_.Opt_ActiveWindow, ui_.Opt_RS,
                                                  ui_.Opt_File, ui_.Opt_Clip};
    sources[SourceChoiceFor(work_.DoubleClickDo) - 1]->setChecked(true);

    ui_.Txt_AppName->setText(QString::fromStdString(work_.Title));
    ui_.Txt_IconPath->setText(QString::fromStdString(work_.Icon));

    for (int n = 0; n < kHotKeySlots; ++n) {
        ui_.Chk_Enable[n]->setChecked(work_.HotKeyOn[n] != 0);
        ui_.Chk_Alt[n]->setChecked(work_.HotKeyALT[n] != 0);
        ui_.Chk_Shift[n]->setChecked(work_.HotKeySHIFT[n] != 0);
        ui_.Chk_CTRL[n]->setChecked(work_.HotKeyCTRL[n] != 0);
        // A code the list does not hold leaves it without a selection and the stored code as
        // it was.
        if (const auto index = KeyListIndexOfCode(work_.HotKeyButton[n]))
            ui_.Cmb_Key[n]->setCurrentIndex(*index);
        Chk_Enable_Click(n);
    }
    ui_.BtnTekiyo->setEnabled(false);
    createTabStrip();
}

void OptionsDialog::createTabStrip()
{
    clsTabStrip_ = std::make_unique<cTabStrip>();
    clsTabStrip_->setStyle(0);
    clsTabStrip_->setHotTracking(true);
    clsTabStrip_->setPictureBox(ui_.Pic_Tab);
    for (size_t i = 0; i < option_texts::kTabs.size(); ++i)
        clsTabStrip_->TabsAdd(static_cast<int>(i), Q(option_texts::kTabs[i]));
    clsTabStrip_->setSelectedItem(1);
    connect(clsTabStrip_.get(), &cTabStrip::Click, this, &OptionsDialog::clsTabStrip_Click);

    // The host is as large as the largest page needs, and wide enough for every tab.
    QSize page;
    for (QWidget* frame : ui_.Fra_Tab) page = page.expandedTo(frame->sizeHint());
    constexpr int kProbe = 1000;
    ui_.Pic_Tab->resize(kProbe, kProbe);
    const int extraWidth = kProbe - clsTabStrip_->ClientWidth();
    const int extraHeight = kProbe - clsTabStrip_->ClientHeight();
    const int width =
        qMax(page.width() + extraWidth, clsTabStrip_->tabBar()->sizeHint().width() + 8);
    ui_.Pic_Tab->setFixedSize(width, page.height() + extraHeight);
    clsTabStrip_Click();
}

void OptionsDialog::clsTabStrip_Click()
{
    const QRect client = clsTabStrip_->ClientRect();
    for (int i = 0; i < OptionPages::kTabCount; ++i) {
        ui_.Fra_Tab[i]->setGeometry(client);
        ui_.Fra_Tab[i]->setVisible(i + 1 == clsTabStrip_->SelectedItem());
    }
}

void OptionsDialog::changed()
{
    ui_.BtnTekiyo->setEnabled(true);
}

void OptionsDialog::Opt_Action_Click(int16_t action)
{
    work_.DoubleClick = action;
    // Copy has no clipboard source; the choice stays as it was so that apply can say so.
    ui_.Opt_Clip->setEnabled(ClipboardSourceOffered(action));
    changed();
}

void OptionsDialog::Opt_Source_Click(int16_t source)
{
    work_.DoubleClickDo = source;
    changed();
}

void OptionsDialog::ChkByo_Click()
{
    work_.SelfTimer = Value(ui_.ChkByo);
    ui_.TxtByo->setEnabled(work_.SelfTimer == 1);
    changed();
}

void OptionsDialog::TxtByo_GotFocus()
{
    // After a mouse click has placed the cursor, or the selection would be lost at once.
    QTimer::singleShot(0, ui_.TxtByo, [box = ui_.TxtByo] { box->selectAll(); });
    changed();
}

bool OptionsDialog::TxtByo_KeyPress(const QString& typed)
{
    // Keys that type no character (arrows, Delete, Tab, Escape, shortcuts) are left alone.
    if (typed.isEmpty() ||
        (typed.size() == 1 && !typed[0].isPrint() && typed[0] != QLatin1Char('\b')))
        return true;
    for (QChar c : typed) {
        if (!SecondsKeyTyped(c.unicode())) {
            if (beep) beep();
            return false;
        }
    }
    return true;
}

void OptionsDialog::TxtByo_LostFocus(Qt::FocusReason reason)
{
    if (inMessage_ || closed_) return;
    // Switching to another program, opening a menu or leaving through Cancel is no reason
    // to insist on the number.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    if (QApplication::focusWidget() == ui_.BtnCancel) return;
    commitSeconds();
}

bool OptionsDialog::commitSeconds()
{
    const auto seconds = ReadSecondsBox(ui_.TxtByo->text().toStdString());
    if (!seconds) {
        showSecondsMessage();
        ui_.TxtByo->setFocus(Qt::OtherFocusReason);
        return false;
    }
    work_.SelfTime = *seconds;
    return true;
}

void OptionsDialog::showSecondsMessage()
{
    inMessage_ = true;
    messages_.show(std::string(option_texts::kAppCaption),
                   std::string(option_texts::kSecondsTooLarge), MsgButtons::Ok, MsgIcon::None);
    inMessage_ = false;
}

void OptionsDialog::Chk_Enable_Click(int n)
{
    work_.HotKeyOn[n] = Value(ui_.Chk_Enable[n]);
    const bool on = work_.HotKeyOn[n] == 1;
    // Greyed out, the row keeps its values for when it is enabled again.
    ui_.Chk_CTRL[n]->setEnabled(on);
    ui_.Chk_Shift[n]->setEnabled(on);
    ui_.Chk_Alt[n]->setEnabled(on);
    ui_.Cmb_Key[n]->setEnabled(on);
    changed();
}

void OptionsDialog::Cmb_Key_Click(int n)
{
    const int index = ui_.Cmb_Key[n]->currentIndex();
    if (index < 0 || index >= kKeyListSize) return;
    work_.HotKeyButton[n] = static_cast<int16_t>(KeyListEntries()[index].code);
    changed();
}

void OptionsDialog::Cmb_Key_Change(int n)
{
    if (!keyEdited_[n] || inMessage_) return;
    keyEdited_[n] = false;
    QComboBox* list = ui_.Cmb_Key[n];
    auto index = KeyListIndexOfText(list->currentText().toStdString());
    if (!index) {
        inMessage_ = true;
        messages_.show(std::string(option_texts::kAppCaption),
                       std::string(option_texts::kKeyNotInList), MsgButtons::Ok, MsgIcon::Critical);
        inMessage_ = false;
        index = 0;
    }
    list->setCurrentIndex(*index);
    // The same entry again changes no index, so the typed text is put right by hand.
    list->setEditText(Q(KeyListEntries()[*index].text));
    Cmb_Key_Click(n);
}

bool OptionsDialog::BtnTekiyo_Click()
{
    error_ = false;
    // Values still being typed count as entered: Enter reaches OK without leaving the box.
    for (int n = 0; n < kHotKeySlots; ++n) Cmb_Key_Change(n);
    if (ui_.TxtByo->isEnabled() && !commitSeconds()) {
        error_ = true;
        return false;
    }
    if (const auto problem = ValidateOptions(work_)) {
        messages_.show(std::string(option_texts::kAppCaption),
                       std::string(OptionsProblemText(*problem)), MsgButtons::Ok,
                       MsgIcon::Critical);
        error_ = true;
        return false;
    }
    const Settings old = data_.settings;
    CopyEditedOptions(work_, data_.settings);
    if (!host_.saveSettings(data_)) {
        // The file still holds the old options; so does the program, so the two agree and
        // the user can try again.
        data_.settings = old;
        error_ = true;
        return false;
    }
    host_.reRegisterHotKeys(old, data_.settings);
    ui_.BtnTekiyo->setEnabled(false);
    return true;
}

void OptionsDialog::BtnOK_Click()
{
    if (BtnTekiyo_Click()) accept();
}

void OptionsDialog::BtnCancel_Click()
{
    reject();
}

void OptionsDialog::BtnHelp_Click()
{
    host_.showHelp();
}

void OptionsDialog::Btn_IconSansho_Click()
{
    const IconFileRequest request{std::string(option_texts::kIconDialogTitle),
                                  std::string(option_texts::kIconDialogFilter), lastFolder_};
    if (const auto path = host_.chooseIconFile(request)) {
        ui_.Txt_IconPath->setText(QString::fromStdString(*path));
        changed();
    }
}

void OptionsDialog::done(int result)
{
    if (closed_) return;
    closed_ = true;
    QPointer<OptionsDialog> alive(this);
    QDialog::done(result);
    host_.optionsClosed();
    if (alive) clsTabStrip_.reset();
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_.TxtByo) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!TxtByo_KeyPress(static_cast<QKeyEvent*>(event)->text())) return true;
            break;
        case QEvent::FocusIn:
            TxtByo_GotFocus();
            break;
        case QEvent::FocusOut:
            TxtByo_LostFocus(static_cast<QFocusEvent*>(event)->reason());
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tovrimo
