#pragma once

#include <QImage>
#include <vector>

#include "platform/ClipboardAccess.h"

namespace tovrimo::test {

// Keeps every image put on it; the last one is what the clipboard holds.
class RecordingClipboard : public ClipboardAccess {
public:
    void setImage(const QImage& image) override
    {
        images.push_back(image);
        current = image;
    }
    bool hasImage() override { return !current.isNull(); }
    QImage image() override { return current; }

    std::vector<QImage> images;
    QImage current;
};

}  // namespace tovrimo::test
