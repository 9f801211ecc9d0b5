#pragma once

#include <QDialog>
#include <QIcon>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "core/Settings.h"
#include "resident/OptionPages.h"

namespace tovrimo {

class MessageBoxes;
class OptionsHost;
class cTabStrip;

// The options dialog: the tray double-click action, the capture options, the ten hot keys,
// the application title and the tray icon file. It edits a private copy of the settings and
// puts it into force on apply or OK; cancel, Escape and closing the window drop what was not
// applied. Deletes itself when closed.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // `data` is the program-wide record that apply writes into. `residentIcon` is the tray's
    // icon, shown on the dialog when the user chose an icon file of their own.
    OptionsDialog(SettingsData& data, OptionsHost& host, MessageBoxes& messages, std::string lastFolder,
              const QIcon& residentIcon, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    const Settings& workingCopy() const { return work_; }
    const OptionPages& pages() const { return ui_; }
    cTabStrip& tabStrip() { return *clsTabStrip_; }
    // Set by a refused apply, cleared by the next one.
    bool errorFlag() const { return error_; }

    // Refused keys in the seconds box sound this; QApplication::beep unless replaced.
    std::function<void()> beep;

    void BtnOK_Click();
    void BtnCancel_Click();
    // True when the values were put into force.
    bool BtnTekiyo_Click();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load(const QIcon& residentIcon);
    void connectHandlers();
    void createTabStrip();
    void clsTabStrip_Click();
    void changed();  // an edit: apply becomes possible

    void BtnHelp_Click();
    void Btn_IconSansho_Click();
    void Opt_Action_Click(int16_t action);
    void Opt_Source_Click(int16_t source);
    void ChkByo_Click();
    void TxtByo_GotFocus();
    bool TxtByo_KeyPress(const QString& typed);
    void TxtByo_LostFocus(Qt::FocusReason reason);
    bool commitSeconds();
    void showSecondsMessage();
    void Chk_Enable_Click(int n);
    void Cmb_Key_Click(int n);
    void Cmb_Key_Change(int n);

    SettingsData& data_;
    OptionsHost& host_;
    MessageBoxes& messages_;
    std::string lastFolder_;
    Settings work_;
    OptionPages ui_;
    std::unique_ptr<cTabStrip> clsTabStrip_;
    std::array<bool, kHotKeySlots> keyEdited_{};
    bool error_ = false;
    bool inMessage_ = false;  // a message box of ours is up: focus changes are its doing
    bool closed_ = false;
};

}  // namespace tovrimo
