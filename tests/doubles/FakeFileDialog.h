#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "controls/FileDialog.h"

namespace tovrimo::test {

// Answers file dialogs from a queue (a cancel when it is empty) and keeps every request.
class FakeFileDialog : public FileDialog {
public:
    std::optional<std::string> exec(const FileDialogRequest& request) override
    {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        if (request.chosenFilter) *request.chosenFilter = chosenFilter;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<FileDialogRequest> requests;
    std::deque<std::optional<std::string>> answers;
    int chosenFilter = 1;  // the file type a save dialog reports as chosen
};

}  // namespace tovrimo::test
