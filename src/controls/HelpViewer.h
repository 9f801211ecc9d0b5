#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

class QTextBrowser;

namespace tovrimo {

// The program's help window: one at a time, showing the HTML help file.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kObjectName = "HelpViewer";
    static constexpr const char* kBrowserName = "HelpBrowser";
    // Help commands of the help call.
    static constexpr int32_t HELP_CONTEXT = 1;
    static constexpr int32_t HELP_QUIT = 2;
    static constexpr int32_t HELP_CONTENTS = 3;
    static constexpr int32_t HELP_FINDER = 11;

    // Opens the file in the help window (made on first use) at its contents; HELP_QUIT
    // closes the window instead. Returns the window, or null after HELP_QUIT.
    static HelpViewer* Show(const std::string& helpFile, int32_t command, int32_t context,
                            QWidget* owner);
    // The open help window, or null.
    static HelpViewer* Current();

    // The help file to open for a requested name: the name itself when the file exists,
    // otherwise a file of the same name (".hlp" read as ".html") in the requested folder,
    // beside the program's binary, in the data folder beside the binary's ("../share/tovrimo"
    // of an install under any prefix) or in the configured data folder.
    static std::string ResolveHelpFile(const std::string& helpFile);

    QTextBrowser* browser() const { return browser_; }
    const std::string& file() const { return file_; }

private:
    HelpViewer();
    void open(const std::string& helpFile, int32_t command, int32_t context);

    QTextBrowser* browser_;
    std::string file_;
};

}  // namespace tovrimo
