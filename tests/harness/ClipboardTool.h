#pragma once

#include <QImage>
#include <memory>
#include <string>

#include "harness/Process.h"

namespace tovrimo::test {

// The X clipboard seen from outside the program, through xclip: another application that
// offers an image, or that pastes what the program copied.
class ClipboardTool {
public:
    explicit ClipboardTool(std::string display = {});
    ~ClipboardTool();

    // Offers the image as image/png until stopOffering() (or the end of this object). xclip
    // keeps serving the selection from its own process.
    bool offerImage(const QImage& image);
    bool offerText(const std::string& text);
    void stopOffering();
    // What a paste would get as image/png; a null image when the clipboard holds none.
    QImage readImage();
    std::string readTargets();

private:
    bool offer(const std::string& file, const std::string& mimeType);
    std::string display_;
    std::string folder_;
    std::unique_ptr<Process> owner_;
};

}  // namespace tovrimo::test
