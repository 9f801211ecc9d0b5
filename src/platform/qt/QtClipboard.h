#pragma once

#include "platform/ClipboardAccess.h"

namespace tovrimo {

// The system clipboard through QClipboard. On X11 this process serves what it put there for
// as long as it runs.
class QtClipboard : public ClipboardAccess {
public:
    void setImage(const QImage& image) override;
    bool hasImage() override;
    QImage image() override;
};

}  // namespace tovrimo
