#pragma once

#include <QPointer>
#include <memory>
#include <string>

#include "output/PrintDialogHost.h"
#include "resident/OptionsHost.h"

namespace tovrimo {

class AboutDialog;
class OptionsDialog;
class PrintDialog;
class Program;
class Session;

// The program's dialogs: the print dialog, the options dialog and the about box, each at most
// once, and what they ask of the program (file and font dialogs, help, notes, saving). What
// the dialogs change (the records, the image folder, the cut) is the session's.
class DialogCoordinator : public PrintDialogHost, public OptionsHost {
public:
    DialogCoordinator(Session& session, Program& program);
    ~DialogCoordinator() override;

    void openPrintDialog();
    void openOptions();
    void openAbout();
    void showHelpContents();
    PrintDialog* printDialog() const;
    // Network printers were found: an open print dialog lists them.
    void printersDiscovered();
    OptionsDialog* optionsDialog() const;

    // PrintDialogHost
    std::optional<std::string> chooseSaveFile(QWidget* owner, const std::string& title,
                                              const std::string& filter,
                                              const std::string& initialFolder,
                                              int* chosenFilter) override;
    std::optional<QFont> chooseFont(QWidget* owner, const QFont& current) override;
    std::string inputBox(QWidget* owner, const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    void showHelp(const std::string& helpFile) override;
    int stickyNoteCount() override;
    void makeStickyNote(const QImage& image) override;
    bool saveSettings() override;
    void printDialogClosed() override;

    // OptionsHost
    std::optional<std::string> chooseIconFile(const IconFileRequest& request) override;
    void showHelp() override;
    bool saveSettings(const SettingsData& data) override;
    void reRegisterHotKeys(const Settings& old, const Settings& now) override;
    HotKeyAvailability hotKeyAvailability() const override;
    bool desktopIsGnome() const override;
    LoginStart* loginStart() override;
    void optionsClosed() override;

private:
    // Opens `helpFile` of the program folder at its contents, owned by `owner`.
    void showHelpContents(const std::string& helpFile, QWidget* owner);

    Session& session_;
    Program& program_;
    QPointer<PrintDialog> print_;
    QPointer<OptionsDialog> options_;
    QPointer<AboutDialog> about_;
};

}  // namespace tovrimo
