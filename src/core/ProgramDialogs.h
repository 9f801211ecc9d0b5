#pragma once

#include <QPointer>
#include <memory>
#include <string>

#include "output/PrintDialogHost.h"
#include "resident/OptionsHost.h"

namespace tovrimo {

class FrmAbout;
class FrmOption;
class FrmPrint;
class Program;

// The program's dialogs: the print dialog, the options dialog and the about box, each at most
// once, and what they ask of the program (file and font dialogs, help, notes, saving).
class ProgramDialogs : public PrintDialogHost, public OptionsHost {
public:
    explicit ProgramDialogs(Program& program);
    ~ProgramDialogs() override;

    void openPrintDialog();
    void openOptions();
    void openAbout();
    void showHelpContents();
    FrmPrint* printDialog() const;
    FrmOption* optionsDialog() const;

    // PrintDialogHost
    std::optional<std::string> chooseSaveFile(QWidget* owner, const std::string& title,
                                              const std::string& filter,
                                              const std::string& initialFolder) override;
    std::optional<QFont> chooseFont(QWidget* owner, const QFont& current) override;
    std::string inputBox(QWidget* owner, const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    void showHelp(const std::string& helpFile) override;
    int stickyNoteCount() override;
    void makeStickyNote(const QImage& image) override;
    bool saveSettings() override;
    void printDialogUnloaded() override;

    // OptionsHost
    std::optional<std::string> chooseIconFile(const IconFileRequest& request) override;
    void showHelp() override;
    bool saveSettings(const SettingsData& data) override;
    void reRegisterHotKeys(const Settings& old, const Settings& now) override;
    void optionsClosed() override;

private:
    // Opens `helpFile` of the program folder at its contents, owned by `owner`.
    void showHelpContents(const std::string& helpFile, QWidget* owner);

    Program& program_;
    QPointer<FrmPrint> print_;
    QPointer<FrmOption> options_;
    QPointer<FrmAbout> about_;
};

}  // namespace tovrimo
