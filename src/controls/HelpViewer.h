#pragma once

#include <QWidget>
#include <string>

class QTextBrowser;

namespace tovrimo {

// The program's help window: one at a time, showing the HTML help file.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kObjectName = "helpViewer";
    static constexpr const char* kBrowserName = "helpBrowser";

    // Opens the file (found as resolveHelpFile finds it) in the help window, made on first
    // use, at its contents. An empty file name opens nothing. Returns the window, or null when
    // nothing was opened.
    static HelpViewer* showContents(const std::string& helpFile, QWidget* owner);
    // The same, at the topic whose anchor is the number topicId.
    static HelpViewer* showTopic(const std::string& helpFile, int topicId, QWidget* owner);
    // Closes the help window when one is open.
    static void closeHelp();
    // The open help window, or null.
    static HelpViewer* current();

    // The help file to open for a requested name: the name itself when the file exists,
    // otherwise a file of the same name (".hlp" read as ".html") in the requested folder,
    // beside the program's binary, in the data folder beside the binary's ("../share/tovrimo"
    // of an install under any prefix) or in the configured data folder.
    static std::string resolveHelpFile(const std::string& helpFile);

    QTextBrowser* browser() const { return browser_; }
    const std::string& file() const { return file_; }

private:
    HelpViewer();
    static HelpViewer* present(const std::string& helpFile, const QString& anchor, QWidget* owner);
    void open(const std::string& helpFile, const QString& anchor);

    QTextBrowser* browser_;
    std::string file_;
};

}  // namespace tovrimo
