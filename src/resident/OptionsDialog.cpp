#include "resident/OptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/WidgetText.h"
#include "platform/MessageBoxes.h"
#include "platform/Translated.h"
#include "platform/qt/ProgramIcon.h"
#include "resident/GeneralPage.h"
#include "resident/HotKeyKeyList.h"
#include "resident/HotKeysPage.h"
#include "resident/OptionRules.h"
#include "resident/OptionTexts.h"
#include "resident/OptionsHost.h"
#include "resident/OtherPage.h"

namespace tovrimo {

namespace {

// What each radio button of the double-click choice stands for, in the order the buttons show.
constexpr std::optional<CaptureDestination> kDoubleClickActions[] = {
    CaptureDestination::Printer, CaptureDestination::Clipboard, CaptureDestination::StickyNote,
    std::nullopt};
constexpr CaptureSource kDoubleClickSources[] = {
    CaptureSource::Desktop, CaptureSource::ActiveWindow, CaptureSource::Region,
    CaptureSource::ImageFile, CaptureSource::Clipboard};

}  // namespace

OptionsDialog::OptionsDialog(SettingsData& record, OptionsHost& host, MessageBoxes& messages,
                             std::string lastFolder, const QIcon& residentIcon, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      data_(record),
      host_(host),
      messages_(messages),
      lastFolder_(std::move(lastFolder))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The program lives in the tray; closing a dialog must not end it.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(Translated(option_texts::kContext, option_texts::kCaption));
    buildWindow();

    // The lists are filled before any handler listens, so filling selects nothing.
    for (QComboBox* list : hotKeys_->keyLists) {
        for (const KeyListEntry& entry : KeyListEntries()) list->addItem(FromUtf8(entry.text));
        list->setCurrentIndex(-1);
    }
    general_->selfTimerSeconds->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    connectHandlers();
    loadValues(residentIcon);
}

OptionsDialog::~OptionsDialog()
{
    // QDialog's destructor hides the window, which takes the focus from a key list's edit and
    // so emits editingFinished. By then this object is no longer an OptionsDialog: its handlers
    // must not run on what is left of it.
    for (QComboBox* list : hotKeys_->keyLists)
        if (QLineEdit* edit = list->lineEdit()) edit->disconnect(this);
}

void OptionsDialog::buildWindow()
{
    namespace t = option_texts;
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    // The tab under the pointer lights up.
    tabs_->tabBar()->setAttribute(Qt::WA_Hover, true);
    general_ = new GeneralPage;
    hotKeys_ = new HotKeysPage;
    hotKeys_->setHotKeyAvailability(host_.hotKeyAvailability(), host_.desktopIsGnome());
    other_ = new OtherPage;
    tabs_->addTab(general_, Translated(t::kContext, t::kTabs[0]));
    tabs_->addTab(hotKeys_, Translated(t::kContext, t::kTabs[1]));
    tabs_->addTab(other_, Translated(t::kContext, t::kTabs[2]));
    tabs_->setCurrentIndex(0);

    auto makeButton = [this](std::string_view text, const char* name) {
        auto* button = new QPushButton(Translated(t::kContext, text), this);
        button->setObjectName(QLatin1String(name));
        button->setMinimumWidth(88);
        return button;
    };
    okButton_ = makeButton(t::kOkButton, "okButton");
    cancelButton_ = makeButton(t::kCancelButton, "cancelButton");
    applyButton_ = makeButton(t::kApplyButton, "applyButton");
    helpButton_ = makeButton(t::kHelpButton, "helpButton");
    okButton_->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {okButton_, cancelButton_, applyButton_, helpButton_})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
}

void OptionsDialog::connectHandlers()
{
    connect(okButton_, &QPushButton::clicked, this, &OptionsDialog::onOk);
    connect(cancelButton_, &QPushButton::clicked, this, &OptionsDialog::reject);
    connect(applyButton_, &QPushButton::clicked, this, &OptionsDialog::apply);
    connect(helpButton_, &QPushButton::clicked, this, [this] { host_.showHelp(); });
    connect(other_->browseIconButton, &QPushButton::clicked, this, &OptionsDialog::onBrowseIcon);

    const GeneralPage& g = *general_;
    const auto actions = actionButtons();
    for (size_t i = 0; i < actions.size(); ++i) {
        connect(actions[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) onActionChosen(kDoubleClickActions[i]);
        });
    }
    const auto sources = sourceButtons();
    for (size_t i = 0; i < sources.size(); ++i) {
        connect(sources[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) onSourceChosen(kDoubleClickSources[i]);
        });
    }

    auto storeBox = [this](QCheckBox* box, bool Settings::*field) {
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
            work_.*field = on;
            markChanged();
        });
    };
    storeBox(g.captureCursorBox, &Settings::captureCursor);
    storeBox(g.hideIconBox, &Settings::hideIconWhileCapturing);
    storeBox(g.confirmBox, &Settings::confirmBeforePrint);
    storeBox(g.reverseColoursBox, &Settings::reverseColours);
    storeBox(g.fullDetailBox, &Settings::fullDetailPrint);
    storeBox(g.showCountdownBox, &Settings::showCountdown);
    connect(g.loginStartBox, &QCheckBox::toggled, this, &OptionsDialog::markChanged);
    connect(g.selfTimerBox, &QCheckBox::toggled, this, &OptionsDialog::onSelfTimerToggled);
    g.selfTimerSeconds->installEventFilter(this);

    connect(other_->titleEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        work_.title = text.toStdString();
        markChanged();
    });
    connect(other_->iconPathEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        work_.iconPath = text.toStdString();
        markChanged();
    });

    const HotKeysPage& k = *hotKeys_;
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        connect(k.enabledBoxes[slot], &QCheckBox::toggled, this,
                [this, slot] { onHotKeyEnabledToggled(slot); });
        auto storeModifier = [this, slot](QCheckBox* box, std::array<bool, kHotKeySlots>& field) {
            connect(box, &QCheckBox::toggled, this, [this, &field, slot](bool on) {
                field[static_cast<size_t>(slot)] = on;
                markChanged();
            });
        };
        storeModifier(k.ctrlBoxes[slot], work_.hotKeyCtrl);
        storeModifier(k.shiftBoxes[slot], work_.hotKeyShift);
        storeModifier(k.altBoxes[slot], work_.hotKeyAlt);
        connect(k.keyLists[slot], &QComboBox::currentIndexChanged, this,
                [this, slot] { onKeyChosen(slot); });
        QLineEdit* edit = k.keyLists[slot]->lineEdit();
        connect(edit, &QLineEdit::textEdited, this, [this, slot] { keyEdited_[slot] = true; });
        connect(edit, &QLineEdit::editingFinished, this, [this, slot] { onKeyTyped(slot); });
    }
}

void OptionsDialog::loadValues(const QIcon& residentIcon)
{
    const Settings& live = data_.settings;
    if (!live.iconIsBuiltIn && !residentIcon.isNull()) {
        setWindowIcon(residentIcon);
    } else {
        setWindowIcon(ProgramIcon());
    }
    work_ = live;

    // Setting a control runs its handler, so the copy and the enabled states follow the
    // controls; only the states that need no change are set by hand.
    GeneralPage& g = *general_;
    g.selfTimerBox->setChecked(work_.selfTimerOn);
    g.selfTimerSeconds->setText(QString::number(work_.selfTimerSeconds));
    g.hideIconBox->setChecked(work_.hideIconWhileCapturing);
    g.confirmBox->setChecked(work_.confirmBeforePrint);
    g.reverseColoursBox->setChecked(work_.reverseColours);
    g.fullDetailBox->setChecked(work_.fullDetailPrint);
    g.showCountdownBox->setChecked(work_.showCountdown);
    g.captureCursorBox->setChecked(work_.captureCursor);
    LoginStart* loginStart = host_.loginStart();
    g.loginStartBox->setEnabled(loginStart != nullptr);
    g.loginStartBox->setChecked(loginStart && loginStart->enabled());
    g.selfTimerSeconds->setEnabled(work_.selfTimerOn);
    for (size_t i = 0; i < std::size(kDoubleClickActions); ++i)
        if (kDoubleClickActions[i] == work_.doubleClickDestination)
            actionButtons()[i]->setChecked(true);
    // A source number without a choice shows as the desktop, which checking it then stores.
    const CaptureSource shownSource = work_.doubleClickSource.value_or(CaptureSource::Desktop);
    for (size_t i = 0; i < std::size(kDoubleClickSources); ++i)
        if (kDoubleClickSources[i] == shownSource) sourceButtons()[i]->setChecked(true);

    other_->titleEdit->setText(QString::fromStdString(work_.title));
    other_->iconPathEdit->setText(QString::fromStdString(work_.iconPath));

    HotKeysPage& k = *hotKeys_;
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        const auto i = static_cast<size_t>(slot);
        k.enabledBoxes[i]->setChecked(work_.hotKeyOn[i]);
        k.altBoxes[i]->setChecked(work_.hotKeyAlt[i]);
        k.shiftBoxes[i]->setChecked(work_.hotKeyShift[i]);
        k.ctrlBoxes[i]->setChecked(work_.hotKeyCtrl[i]);
        // A code the list does not hold leaves it without a selection and the stored code as
        // it was.
        if (const auto index = KeyListIndexOfCode(work_.hotKeyCode[i]))
            k.keyLists[i]->setCurrentIndex(*index);
        onHotKeyEnabledToggled(slot);
    }
    applyButton_->setEnabled(false);
}

std::array<QRadioButton*, 4> OptionsDialog::actionButtons() const
{
    return {general_->printAction, general_->copyAction, general_->noteAction,
            general_->repeatAction};
}

std::array<QRadioButton*, 5> OptionsDialog::sourceButtons() const
{
    return {general_->desktopSource, general_->activeWindowSource, general_->regionSource,
            general_->fileSource, general_->clipboardSource};
}

void OptionsDialog::markChanged()
{
    applyButton_->setEnabled(true);
}

void OptionsDialog::onActionChosen(std::optional<CaptureDestination> action)
{
    work_.doubleClickDestination = action;
    // Copy has no clipboard source; the choice stays as it was so that apply can say so.
    general_->clipboardSource->setEnabled(ClipboardSourceOffered(action));
    markChanged();
}

void OptionsDialog::onSourceChosen(CaptureSource source)
{
    work_.doubleClickSource = source;
    markChanged();
}

void OptionsDialog::onSelfTimerToggled()
{
    work_.selfTimerOn = general_->selfTimerBox->isChecked();
    general_->selfTimerSeconds->setEnabled(work_.selfTimerOn);
    markChanged();
}

void OptionsDialog::onSecondsFocused()
{
    // After a mouse click has placed the cursor, or the selection would be lost at once.
    QTimer::singleShot(0, general_->selfTimerSeconds,
                       [box = general_->selfTimerSeconds] { box->selectAll(); });
    markChanged();
}

bool OptionsDialog::acceptSecondsKey(const QString& typed)
{
    // Keys that type no character (arrows, Delete, Tab, Escape, shortcuts) are left alone.
    if (typed.isEmpty() ||
        (typed.size() == 1 && !typed[0].isPrint() && typed[0] != QLatin1Char('\b')))
        return true;
    for (QChar c : typed) {
        if (!SecondsKeyTyped(c.unicode())) {
            emit keyRefused();
            return false;
        }
    }
    return true;
}

void OptionsDialog::onSecondsLeft(Qt::FocusReason reason)
{
    if (inMessage_ || closed_) return;
    // Switching to another program, opening a menu or leaving through Cancel is no reason
    // to insist on the number.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    if (QApplication::focusWidget() == cancelButton_) return;
    commitSeconds();
}

bool OptionsDialog::commitSeconds()
{
    const auto seconds = ReadSecondsBox(general_->selfTimerSeconds->text().toStdString());
    if (!seconds) {
        showSecondsMessage();
        general_->selfTimerSeconds->setFocus(Qt::OtherFocusReason);
        return false;
    }
    work_.selfTimerSeconds = *seconds;
    return true;
}

void OptionsDialog::showSecondsMessage()
{
    inMessage_ = true;
    messages_.show(std::string(option_texts::kAppCaption),
                   std::string(option_texts::kSecondsTooLarge), MsgButtons::Ok, MsgIcon::None);
    inMessage_ = false;
}

void OptionsDialog::onHotKeyEnabledToggled(int slot)
{
    HotKeysPage& k = *hotKeys_;
    const bool on = k.enabledBoxes[slot]->isChecked();
    work_.hotKeyOn[static_cast<size_t>(slot)] = on;
    // Greyed out, the row keeps its values for when it is enabled again.
    k.ctrlBoxes[slot]->setEnabled(on);
    k.shiftBoxes[slot]->setEnabled(on);
    k.altBoxes[slot]->setEnabled(on);
    k.keyLists[slot]->setEnabled(on);
    markChanged();
}

void OptionsDialog::onKeyChosen(int slot)
{
    const int index = hotKeys_->keyLists[slot]->currentIndex();
    if (index < 0 || index >= kKeyListSize) return;
    work_.hotKeyCode[static_cast<size_t>(slot)] =
        static_cast<int16_t>(KeyListEntries()[index].code);
    markChanged();
}

void OptionsDialog::onKeyTyped(int slot)
{
    if (!keyEdited_[slot] || inMessage_) return;
    keyEdited_[slot] = false;
    QComboBox* list = hotKeys_->keyLists[slot];
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
    list->setEditText(FromUtf8(KeyListEntries()[*index].text));
    onKeyChosen(slot);
}

bool OptionsDialog::apply()
{
    error_ = false;
    // Values still being typed count as entered: Enter reaches OK without leaving the box.
    for (int slot = 0; slot < kHotKeySlots; ++slot) onKeyTyped(slot);
    if (general_->selfTimerSeconds->isEnabled() && !commitSeconds()) {
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
    if (!applyLoginStart()) {
        error_ = true;
        return false;
    }
    applyButton_->setEnabled(false);
    return true;
}

bool OptionsDialog::applyLoginStart()
{
    LoginStart* loginStart = host_.loginStart();
    const bool wanted = general_->loginStartBox->isChecked();
    if (!loginStart || loginStart->enabled() == wanted) return true;
    std::string reason;
    if (loginStart->setEnabled(wanted, &reason)) return true;
    messages_.show(std::string(option_texts::kAppCaption),
                   std::string(option_texts::kLoginStartFailed) + "\n\n" + reason, MsgButtons::Ok,
                   MsgIcon::Critical);
    return false;
}

void OptionsDialog::onOk()
{
    if (apply()) accept();
}

void OptionsDialog::onBrowseIcon()
{
    const IconFileRequest request{std::string(option_texts::kIconDialogTitle),
                                  std::string(option_texts::kIconDialogFilter), lastFolder_};
    if (const auto path = host_.chooseIconFile(request)) {
        other_->iconPathEdit->setText(QString::fromStdString(*path));
        markChanged();
    }
}

void OptionsDialog::done(int result)
{
    if (closed_) return;
    closed_ = true;
    QDialog::done(result);
    host_.optionsClosed();
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == general_->selfTimerSeconds) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!acceptSecondsKey(static_cast<QKeyEvent*>(event)->text())) return true;
            break;
        case QEvent::FocusIn:
            onSecondsFocused();
            break;
        case QEvent::FocusOut:
            onSecondsLeft(static_cast<QFocusEvent*>(event)->reason());
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tovrimo
