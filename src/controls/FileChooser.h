#pragma once

#include <cstdint>
#include <optional>
#include <string>

class QWidget;

namespace tovrimo {

// What a command asks of a file dialog, in the terms of the common dialog wrapper.
struct FileDialogRequest {
    enum class Kind { Open, Save };

    Kind kind = Kind::Open;
    QWidget* owner = nullptr;
    std::string dialogTitle;
    std::string filter;
    int16_t filterIndex = 0;
    int32_t flags = 0;
    std::string initDir;
};

// Asks the user for a file. The commands take it as an interface so that tests can answer
// without a dialog.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen name exactly as the dialog returned it; nothing when cancelled.
    virtual std::optional<std::string> choose(const FileDialogRequest& request) = 0;
};

// The real one: the open or save dialog of cCommonDlg, with an empty file name and cancel
// reported through CancelButton.
class CommonDlgFileChooser : public FileChooser {
public:
    std::optional<std::string> choose(const FileDialogRequest& request) override;
};

}  // namespace tovrimo
