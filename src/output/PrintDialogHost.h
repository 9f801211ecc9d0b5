#pragma once

#include <QFont>
#include <QImage>
#include <optional>
#include <string>

class QWidget;

namespace tovrimo {

// What the print dialog needs from the rest of the program: the common dialogs, the help
// viewer, the sticky notes, the settings file and the application state.
class PrintDialogHost {
public:
    virtual ~PrintDialogHost() = default;

    // The save-file dialog, asking before it overwrites; nothing when cancelled. `filter` is in
    // the "description|pattern|" form; the pair chosen, counted from 1, goes to chosenFilter.
    virtual std::optional<std::string> chooseSaveFile(QWidget* owner, const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& initialFolder,
                                                      int* chosenFilter) = 0;
    // The font dialog (sizes 8 to 24 points); nothing when cancelled.
    virtual std::optional<QFont> chooseFont(QWidget* owner, const QFont& current) = 0;
    // A one-line input box; empty when cancelled.
    virtual std::string inputBox(QWidget* owner, const std::string& prompt,
                                 const std::string& title, const std::string& defaultAnswer) = 0;
    // Opens the contents of a help file in the program's folder.
    virtual void showHelp(const std::string& helpFile) = 0;
    virtual int stickyNoteCount() = 0;
    // Shows a new sticky note holding the image.
    virtual void makeStickyNote(const QImage& image) = 0;
    // Rewrites the settings file from the program's records; false after a failure, which has
    // been shown to the user already.
    virtual bool saveSettings() = 0;
    // The dialog has gone away: back to idle, or the end of a command-line job.
    virtual void printDialogClosed() = 0;
};

}  // namespace tovrimo
