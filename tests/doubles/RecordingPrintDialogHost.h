#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "output/PrintDialogHost.h"

namespace tovrimo::test {

// Stands in for the program around the print dialog: answers the common dialogs from queues
// and records what the dialog asked for.
class RecordingPrintDialogHost : public PrintDialogHost {
public:
    std::optional<std::string> chooseSaveFile(QWidget*, const std::string& title,
                                              const std::string& filter,
                                              const std::string& initialFolder,
                                              int* chosenFilter) override
    {
        saveDialogs.push_back({title, filter, initialFolder});
        if (chosenFilter) *chosenFilter = saveFilterAnswer;
        return saveAnswer;
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont& current) override
    {
        fontAsked.push_back(current);
        return fontAnswer;
    }
    std::string inputBox(QWidget*, const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override
    {
        inputs.push_back({prompt, title, defaultAnswer});
        if (inputAnswers.empty()) return defaultAnswer;
        std::string answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    void showHelp(const std::string& helpFile) override { helpShown.push_back(helpFile); }
    int stickyNoteCount() override { return notes; }
    void makeStickyNote(const QImage& image) override
    {
        ++notes;
        noteImages.push_back(image);
    }
    bool saveSettings() override
    {
        ++saves;
        if (onSave) onSave();
        return true;
    }
    void printDialogClosed() override { ++closes; }

    struct Asked {
        std::string a, b, c;
    };
    std::vector<Asked> saveDialogs;
    std::optional<std::string> saveAnswer;
    int saveFilterAnswer = 1;  // the file type the save dialog reports as chosen
    std::vector<QFont> fontAsked;
    std::optional<QFont> fontAnswer;
    std::vector<Asked> inputs;
    std::deque<std::string> inputAnswers;
    std::vector<std::string> helpShown;
    int notes = 0;
    std::vector<QImage> noteImages;
    int saves = 0;
    std::function<void()> onSave;
    int closes = 0;
};

}  // namespace tovrimo::test
