#include "capture/ImageSources.h"

#include "capture/ImageSourceTexts.h"
#include "capture/PictureFile.h"
#include "platform/MessageBoxes.h"

namespace tovrimo {

ImageSources::ImageSources(ImageSourceServices services) : s_(std::move(services)) {}

FileDialogRequest ImageSources::imageFileRequest(const std::string& lastFolder, QWidget* owner)
{
    FileDialogRequest request;
    request.acceptMode = FileDialogRequest::AcceptMode::Open;
    request.parent = owner;
    request.caption = std::string(texts::kImageFileDialogTitle);
    request.filter = std::string(texts::kImageFileFilter);
    request.selectedFilter = 0;
    // A name that is not there is the loader's to report, with the name in the message.
    request.fileMustExist = false;
    request.dir = lastFolder;
    return request;
}

void ImageSources::transferStaging()
{
    s_.buffer.transferStagingIntoImage(s_.options().reverseColours);
}

void ImageSources::printClipboard()
{
    if (!s_.clipboard.hasImage()) return;
    QImage picture = s_.clipboard.image();
    // Offered as a picture but not delivered as one (the owner went away, or sent data that
    // does not decode): as quiet as an empty clipboard.
    if (picture.isNull()) return;
    s_.buffer.staging = std::move(picture);
    transferStaging();
    s_.engine.recordLastCapture({CaptureSource::Clipboard, CaptureDestination::Printer});
    s_.engine.printHandOff();
}

bool ImageSources::loadChosenFile()
{
    const auto chosen =
        s_.fileDialog.exec(imageFileRequest(s_.lastFolder, s_.owner ? s_.owner() : nullptr));
    if (!chosen) return false;
    // The next dialog starts where the user went, also when the file proves unreadable.
    s_.lastFolder = *chosen;
    LoadedPicture loaded = LoadPictureFile(*chosen);
    if (loaded.error != LoadedPicture::Error::None) {
        const std::string text = loaded.error == LoadedPicture::Error::TooLarge
                                     ? texts::PictureTooLargeMessage(*chosen)
                                     : texts::UnreadablePictureMessage(*chosen);
        s_.messages.show(std::string(texts::kImageSourceCaption), text, MsgButtons::Ok,
                         MsgIcon::Critical);
        return false;
    }
    s_.buffer.staging = std::move(loaded.image);
    transferStaging();
    return true;
}

void ImageSources::printFile()
{
    if (!loadChosenFile()) return;
    s_.engine.recordLastCapture({CaptureSource::ImageFile, CaptureDestination::Printer});
    s_.engine.printHandOff();
}

void ImageSources::copyFile()
{
    if (!loadChosenFile()) return;
    s_.engine.copyStep();
    s_.engine.setState(AppState::Idle);
    s_.engine.recordLastCapture({CaptureSource::ImageFile, CaptureDestination::Clipboard});
}

}  // namespace tovrimo
