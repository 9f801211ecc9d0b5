#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "core/CaptureRequest.h"
#include "resident/TrayStatus.h"

namespace tovrimo {

class CaptureEngine;
class ImageSources;
class StickyNotes;
struct Settings;

// Where every command of the tray, the hot keys and the repeat item goes: a capture to the
// engine, a picture file or the clipboard to the image sources, a note command to the notes.
// The commands that open the program's own windows, or end it, it signals. It also answers the
// tray's questions about the capture behind it.
class CommandRouter : public QObject, public TrayStatus {
    Q_OBJECT
public:
    // Whether the region screen is up; while it is, no command is taken.
    using RegionScreenQuery = std::function<bool()>;

    CommandRouter(CaptureEngine& engine, ImageSources& sources, StickyNotes& notes,
                  const Settings& settings, RegionScreenQuery regionScreenOpen,
                  QObject* parent = nullptr);

    // TrayStatus
    AppState appState() const override;
    std::optional<CaptureRequest> lastCapture() const override;
    bool captureDelayRunning() const override;
    std::optional<CaptureDestination> doubleClickDestination() const override;
    std::optional<CaptureSource> doubleClickSource() const override;

    // The region screen covers the desktop and waits for its drag or its cancel; a command
    // that changed the state meanwhile would leave it with neither, so none is taken then.
    void run(const Command& command);
    // Stops whatever capture is waiting.
    void cancelCapture();

signals:
    void optionsWanted();
    void helpWanted();
    void aboutWanted();
    void quitWanted();
    // A cancel has stopped the capture: whatever the state is by now, the region screen must
    // not stay up.
    void captureCancelled();
    // The cancelled capture was the command-line job's: the program has no window left and
    // ends.
    void commandLineJobCancelled();

private:
    CaptureEngine& engine_;
    ImageSources& sources_;
    StickyNotes& notes_;
    const Settings& settings_;
    RegionScreenQuery regionScreenOpen_;
};

}  // namespace tovrimo
