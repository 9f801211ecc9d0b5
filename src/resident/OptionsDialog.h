#pragma once

#include <QDialog>
#include <QIcon>
#include <array>
#include <functional>
#include <string>

#include "core/Settings.h"

class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tovrimo {

class GeneralPage;
class HotKeysPage;
class MessageBoxes;
class OptionsHost;
class OtherPage;

// The options dialog: the tray double-click action, the capture options, the ten hot keys,
// the application title and the tray icon file. It edits a private copy of the settings and
// puts it into force on apply or OK; cancel, Escape and closing the window drop what was not
// applied. Deletes itself when closed.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // `record` is the program-wide record that apply writes into. `residentIcon` is the tray's
    // icon, shown on the dialog when the user chose an icon file of their own.
    OptionsDialog(SettingsData& record, OptionsHost& host, MessageBoxes& messages,
                  std::string lastFolder, const QIcon& residentIcon, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    const Settings& workingCopy() const { return work_; }
    QTabWidget* tabs() const { return tabs_; }
    GeneralPage* generalPage() const { return general_; }
    HotKeysPage* hotKeysPage() const { return hotKeys_; }
    OtherPage* otherPage() const { return other_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* applyButton() const { return applyButton_; }
    QPushButton* helpButton() const { return helpButton_; }
    // Set by a refused apply, cleared by the next one.
    bool errorFlag() const { return error_; }

    // Applies, and closes when the values were put into force.
    void onOk();
    // True when the values were put into force.
    bool apply();

    void done(int result) override;

signals:
    // A key the seconds box does not take was typed: the program sounds the bell.
    void keyRefused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void loadValues(const QIcon& residentIcon);
    // The radio buttons in the order of the enumerations.
    std::array<QRadioButton*, 4> actionButtons() const;
    std::array<QRadioButton*, 5> sourceButtons() const;
    void connectHandlers();
    void markChanged();  // an edit: apply becomes possible

    void onActionChosen(std::optional<CaptureDestination> action);
    void onSourceChosen(CaptureSource source);
    void onSelfTimerToggled();
    void onSecondsFocused();
    // False when the typed text is refused.
    bool acceptSecondsKey(const QString& typed);
    void onSecondsLeft(Qt::FocusReason reason);
    bool commitSeconds();
    void showSecondsMessage();
    void onHotKeyEnabledToggled(int slot);
    void onKeyChosen(int slot);
    void onKeyTyped(int slot);
    void onBrowseIcon();
    // Makes or removes the desktop's autostart entry as the box says; false when that failed.
    bool applyLoginStart();

    SettingsData& data_;
    OptionsHost& host_;
    MessageBoxes& messages_;
    std::string lastFolder_;
    Settings work_;
    QTabWidget* tabs_ = nullptr;
    GeneralPage* general_ = nullptr;
    HotKeysPage* hotKeys_ = nullptr;
    OtherPage* other_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    std::array<bool, kHotKeySlots> keyEdited_{};
    bool error_ = false;
    bool inMessage_ = false;  // a message box of ours is up: focus changes are its doing
    bool closed_ = false;
};

}  // namespace tovrimo
