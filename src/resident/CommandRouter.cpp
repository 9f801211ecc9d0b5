#include "resident/CommandRouter.h"

#include "capture/CaptureEngine.h"
#include "capture/ImageSources.h"
#include "core/Settings.h"
#include "resident/StickyNotes.h"

namespace tovrimo {

CommandRouter::CommandRouter(CaptureEngine& engine, ImageSources& sources, StickyNotes& notes,
                             const Settings& settings, RegionScreenQuery regionScreenOpen,
                             QObject* parent)
    : QObject(parent),
      engine_(engine),
      sources_(sources),
      notes_(notes),
      settings_(settings),
      regionScreenOpen_(std::move(regionScreenOpen))
{
}

AppState CommandRouter::appState() const
{
    return engine_.state();
}

std::optional<CaptureRequest> CommandRouter::lastCapture() const
{
    return engine_.lastCapture();
}

bool CommandRouter::captureDelayRunning() const
{
    return engine_.captureDelayRunning();
}

std::optional<CaptureDestination> CommandRouter::doubleClickDestination() const
{
    return settings_.doubleClickDestination;
}

std::optional<CaptureSource> CommandRouter::doubleClickSource() const
{
    return settings_.doubleClickSource;
}

void CommandRouter::run(const Command& command)
{
    if (regionScreenOpen_ && regionScreenOpen_()) return;
    if (const auto* action = std::get_if<ProgramAction>(&command)) {
        switch (*action) {
        case ProgramAction::OpenOptions:
            emit optionsWanted();
            break;
        case ProgramAction::OpenHelp:
            emit helpWanted();
            break;
        case ProgramAction::OpenAbout:
            emit aboutWanted();
            break;
        case ProgramAction::RemoveAllNotes:
            notes_.removeAllNotes();
            break;
        case ProgramAction::BringNotesToFront:
            notes_.bringNotesToFront();
            break;
        case ProgramAction::Quit:
            emit quitWanted();
            break;
        }
        return;
    }
    const auto& request = std::get<CaptureRequest>(command);
    using Destination = CaptureDestination;
    switch (request.source) {
    case CaptureSource::Desktop:
    case CaptureSource::ActiveWindow:
    case CaptureSource::Region:
        engine_.capture(request);
        break;
    case CaptureSource::ImageFile:
        if (request.destination == Destination::Printer) sources_.printFile();
        if (request.destination == Destination::Clipboard) sources_.copyFile();
        break;
    case CaptureSource::Clipboard:
        if (request.destination == Destination::Printer) sources_.printClipboard();
        if (request.destination == Destination::StickyNote) notes_.noteFromClipboard();
        break;
    }
}

void CommandRouter::cancelCapture()
{
    const bool commandLineJob = engine_.state() == AppState::CommandLine;
    engine_.cancel();
    emit captureCancelled();
    if (commandLineJob) emit commandLineJobCancelled();
}

}  // namespace tovrimo
