#include "app/DialogCoordinator.h"

#include <QApplication>
#include <QInputDialog>

#include "app/Program.h"
#include "app/Session.h"
#include "capture/CaptureEngine.h"
#include "controls/FileDialog.h"
#include "controls/FontDialog.h"
#include "controls/HelpViewer.h"
#include "core/CoreTexts.h"
#include "core/SettingsStore.h"
#include "core/TitleFields.h"
#include "output/PrintDialog.h"
#include "platform/DesktopKind.h"
#include "platform/PrinterCatalog.h"
#include "platform/Translated.h"
#include "resident/AboutDialog.h"
#include "resident/AboutLink.h"
#include "resident/HotKeys.h"
#include "resident/OptionsDialog.h"
#include "resident/StickyNotes.h"
#include "resident/TrayController.h"

namespace tovrimo {

DialogCoordinator::DialogCoordinator(Session& session, Program& program)
    : session_(session), program_(program)
{
}

DialogCoordinator::~DialogCoordinator()
{
    delete print_.data();
    delete options_.data();
    delete about_.data();
}

PrintDialog* DialogCoordinator::printDialog() const
{
    return print_;
}

OptionsDialog* DialogCoordinator::optionsDialog() const
{
    return options_;
}

void DialogCoordinator::openPrintDialog()
{
    if (print_) {
        print_->raise();
        print_->activateWindow();
        return;
    }
    Program& p = program_;
    const QIcon customIcon = session_.data.settings.iconIsBuiltIn || !p.residentWindow()
                                 ? QIcon()
                                 : p.residentWindow()->currentIcon();
    PrintDialogServices services{session_.data,
                                 p.printers(),
                                 p.services().messages,
                                 p.services().clipboard,
                                 p.printer(),
                                 session_.buffer.image,
                                 session_.buffer.staging,
                                 p.titleExpander(),
                                 session_.lastFolder,
                                 *this,
                                 p.services().screenTwipsPerPixelX,
                                 p.services().screenTwipsPerPixelY,
                                 customIcon};
    print_ = new PrintDialog(services);
    QObject::connect(print_, &PrintDialog::inputRefused, print_, [] { QApplication::beep(); });
    QObject::connect(print_, &PrintDialog::printerListOpened, print_,
                     [&p] { p.discoverPrinters(); });
    // The command-line job keeps its own state; every other caller enters the dialog's.
    if (p.engine().state() != AppState::CommandLine) p.engine().setState(AppState::PrintDialogOpen);
    print_->open();
}

void DialogCoordinator::printersDiscovered()
{
    if (print_) print_->addNewPrinters();
}

void DialogCoordinator::openOptions()
{
    // The command while the dialog is open (the hot key is not gated) brings it forward, and
    // the state is the open dialog's again: a capture started meanwhile may have changed it,
    // and tray clicks must not start captures behind the dialog.
    if (options_) {
        program_.engine().setState(AppState::OptionsOpen);
        options_->show();
        options_->raise();
        options_->activateWindow();
        return;
    }
    Program& p = program_;
    p.engine().setState(AppState::OptionsOpen);
    const QIcon icon = p.residentWindow() ? p.residentWindow()->currentIcon() : QIcon();
    options_ =
        new OptionsDialog(session_.data, *this, p.services().messages, session_.lastFolder, icon);
    QObject::connect(options_, &OptionsDialog::keyRefused, options_, [] { QApplication::beep(); });
    options_->show();
}

void DialogCoordinator::openAbout()
{
    if (about_) {
        about_->raise();
        about_->activateWindow();
        return;
    }
    program_.engine().setState(AppState::AboutOpen);
    about_ = new AboutDialog(program_.services().messages, InstalledAboutLink());
    QObject::connect(about_, &AboutDialog::closed, &program_.engine(),
                     [this] { program_.engine().setState(AppState::Idle); });
    about_->show();
}

void DialogCoordinator::showHelpContents()
{
    showHelpContents(texts::kProgramHelpFile, program_.residentWindow());
}

void DialogCoordinator::showHelpContents(const std::string& helpFile, QWidget* owner)
{
    // The viewer finds where the guide is installed under the name the program asks for.
    HelpViewer::showContents(session_.appPath + helpFile, owner);
}

std::optional<std::string> DialogCoordinator::chooseSaveFile(QWidget* owner,
                                                             const std::string& title,
                                                             const std::string& filter,
                                                             const std::string& initialFolder,
                                                             int* chosenFilter)
{
    FileDialogRequest request;
    request.acceptMode = FileDialogRequest::AcceptMode::Save;
    request.parent = owner;
    request.caption = title;
    request.dir = initialFolder;
    request.filter = filter;
    request.selectedFilter = 1;
    request.confirmOverwrite = true;
    request.chosenFilter = chosenFilter;
    return FileDialog().exec(request);
}

std::optional<QFont> DialogCoordinator::chooseFont(QWidget* owner, const QFont& current)
{
    return FontDialog().getFont(owner, current, FontDialog::kTitleMinPoints,
                                FontDialog::kTitleMaxPoints);
}

std::string DialogCoordinator::inputBox(QWidget* owner, const std::string& prompt,
                                        const std::string& title, const std::string& defaultAnswer)
{
    bool ok = false;
    const QString text = QInputDialog::getText(
        owner, Translated(kInputDialogContext, title), Translated(kInputDialogContext, prompt),
        QLineEdit::Normal, QString::fromStdString(defaultAnswer), &ok);
    return ok ? text.toStdString() : std::string();
}

void DialogCoordinator::showHelp()
{
    showHelpContents(texts::kProgramHelpFile, options_);
}

void DialogCoordinator::showHelp(const std::string& helpFile)
{
    showHelpContents(helpFile, print_);
}

int DialogCoordinator::stickyNoteCount()
{
    return program_.notes().noteCount();
}

void DialogCoordinator::makeStickyNote(const QImage& image)
{
    program_.notes().addNote(image);
}

bool DialogCoordinator::saveSettings()
{
    return program_.saveSettings();
}

void DialogCoordinator::printDialogClosed()
{
    if (print_) print_->deleteLater();
    print_ = nullptr;
    if (program_.engine().state() == AppState::CommandLine) {
        emit program_.endRequested(0);
        return;
    }
    program_.engine().setState(AppState::Idle);
}

std::optional<std::string> DialogCoordinator::chooseIconFile(const IconFileRequest& request)
{
    return FileDialog().getOpenFileName(options_, request.title, request.startFolder,
                                        request.filter, 1, /*fileMustExist=*/true);
}

bool DialogCoordinator::saveSettings(const SettingsData& data)
{
    return program_.saveSettings(data);
}

void DialogCoordinator::reRegisterHotKeys(const Settings&, const Settings& now)
{
    program_.hotKeys()->reregisterKeys(now, program_.engine().state());
}

HotKeyAvailability DialogCoordinator::hotKeyAvailability() const
{
    return program_.hotKeys()->availability();
}

bool DialogCoordinator::desktopIsGnome() const
{
    return CurrentDesktop() == DesktopKind::Gnome;
}

LoginStart* DialogCoordinator::loginStart()
{
    return program_.services().loginStart;
}

void DialogCoordinator::optionsClosed()
{
    options_ = nullptr;
    program_.engine().setState(AppState::Idle);
}

}  // namespace tovrimo
