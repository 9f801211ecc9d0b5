#pragma once

#include <functional>
#include <optional>
#include <string>

#include "capture/CaptureEngine.h"
#include "controls/FileDialog.h"

class QWidget;

namespace tovrimo {

class MessageBoxes;

// What the clipboard and file commands work with.
struct ImageSourceServices {
    CaptureEngine& engine;
    CaptureBuffer& buffer;
    ClipboardAccess& clipboard;
    MessageBoxes& messages;
    FileDialog& fileDialog;
    std::string& lastFolder;  // where the image-file dialogs start
    CaptureEngine::OptionsProvider options;
    std::function<QWidget*()> owner;  // the resident window, owner of the file dialog
};

// Hard copies and copies whose image comes from the clipboard or from a picture file. They
// run at once, without timer or pending state, and record themselves only once they have
// their image.
class ImageSources {
public:
    explicit ImageSources(ImageSourceServices services);

    // Prints what the clipboard holds; a clipboard without a picture does nothing.
    void printClipboard();
    // Prints a picture file chosen in the image-file dialog.
    void printFile();
    // Copies a picture file chosen in the image-file dialog to the clipboard.
    void copyFile();

    // The image-file dialog as these commands open it.
    static FileDialogRequest imageFileRequest(const std::string& lastFolder, QWidget* owner);

private:
    // The dialog, the load and the transfer into the capture buffer. False when the user
    // cancelled or the file gave no picture (the user has been told).
    bool loadChosenFile();
    void transferStaging();

    ImageSourceServices s_;
};

}  // namespace tovrimo
