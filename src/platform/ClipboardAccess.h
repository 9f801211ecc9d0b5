#pragma once

#include <QImage>

namespace tovrimo {

// The system clipboard as far as images are concerned.
class ClipboardAccess {
public:
    virtual ~ClipboardAccess() = default;
    // Empties the clipboard and then offers the image as its only content.
    virtual void setImage(const QImage& image) = 0;
    virtual bool hasImage() = 0;
    // A null image when the clipboard holds none.
    virtual QImage image() = 0;
};

}  // namespace tovrimo
