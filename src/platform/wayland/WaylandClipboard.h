#pragma once

#include <QString>

#include "platform/ClipboardAccess.h"

namespace tovrimo {

// The clipboard on a Wayland desktop. There the compositor hands the clipboard only to the
// program that has the keyboard focus, and a resident program working from the tray, a hot
// key or the command line never has it: Qt's clipboard then silently does nothing. wl-copy
// and wl-paste (wl-clipboard) reach it without the focus (through the compositor's
// data-control protocol, or a short-lived surface where there is none), so they do the work
// when installed; without them the fallback (Qt's clipboard) does the work.
class WaylandClipboard : public ClipboardAccess {
public:
    // The tools are looked up on PATH unless given.
    explicit WaylandClipboard(ClipboardAccess& fallback, QString copyTool = {},
                              QString pasteTool = {});

    void setImage(const QImage& image) override;
    bool hasImage() override;
    QImage image() override;

    bool usesTools() const { return !copyTool_.isEmpty() && !pasteTool_.isEmpty(); }

private:
    QStringList imageTypes();

    QString copyTool_;
    QString pasteTool_;
    ClipboardAccess& fallback_;
};

}  // namespace tovrimo
