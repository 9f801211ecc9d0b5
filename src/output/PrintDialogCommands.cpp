// The print dialog's commands: named settings, print, copy, save to a file, sticky note, help
// and close.
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

#include "controls/FileDialog.h"
#include "core/CoreTexts.h"
#include "output/NamedSettingsTable.h"
#include "output/PagePrinter.h"
#include "output/PrintDialog.h"
#include "output/PrintDialogHost.h"
#include "output/PrintDialogTexts.h"
#include "output/PrintingNotice.h"
#include "platform/ClipboardAccess.h"
#include "platform/MessageBoxes.h"
#include "platform/Translated.h"

namespace tovrimo {

namespace {
constexpr int kPrintDelayMs = 1000;
}  // namespace

void PrintDialog::fillSettingList()
{
    NamedSettingsTable table(s_.data.named, workSettings_.namedSettingCount);
    namedSettingList_->clear();
    for (const auto& name : table.names()) {
        namedSettingList_->addItem(QString::fromStdString(name));
    }
    namedSettingList_->setCurrentIndex(-1);
}

void PrintDialog::onNamedSettingChosen()
{
    const int i = namedSettingList_->currentIndex();
    NamedSettingsTable table(s_.data.named, workSettings_.namedSettingCount);
    if (!table.inUse(i)) {
        return;
    }
    const bool wasLoading = loading_;
    loading_ = true;
    workLayout_ = table.at(i);
    const PrintLayout shown = workLayout_;
    showLayout(shown);
    titleEdit_->setText(QString::fromStdString(shown.titleText));
    rememberHandedTitle(shown);
    loading_ = wasLoading;
    workSettings_.lastNamedSetting = static_cast<int16_t>(i);
    if (!loading_) {
        refreshPreview();
    }
}

void PrintDialog::saveNamedSetting()
{
    if (printerList_->currentIndex() < 0) {
        s_.messages.show(texts::kSettingErrorCaption, texts::kPrinterNotSet, MsgButtons::Ok,
                         MsgIcon::None);
        return;
    }
    const std::string name = s_.host.inputBox(this, texts::kAskSettingName,
                                              texts::kAskSettingNameTitle, rememberedName_);
    if (name.empty()) {
        return;
    }
    NamedSettingsTable table(s_.data.named, workSettings_.namedSettingCount);
    const auto plan = table.planSave(name, [&](int) {
        return s_.messages.show(
                   texts::kOverwriteCaption,
                   TranslatedWith(kMessageBoxContext, texts::kOverwritePattern, {name}),
                   MsgButtons::YesNo, MsgIcon::None) == MsgResult::Yes;
    });
    if (plan.outcome == NamedSettingsTable::SaveOutcome::Cancelled) {
        return;
    }
    if (plan.outcome == NamedSettingsTable::SaveOutcome::NoRoom) {
        s_.messages.show(texts::kSettingErrorCaption, texts::kTableFull, MsgButtons::Ok,
                         MsgIcon::Warning);
        return;
    }
    workLayout_.name = name;
    const int target = table.store(plan, workLayout_);
    if (!plan.overwrite) {
        namedSettingList_->addItem(QString::fromStdString(name));
    }
    workSettings_.lastNamedSetting = static_cast<int16_t>(target);
    writeBack();
    s_.host.saveSettings();
    selectSettingEntry(target);
}

void PrintDialog::deleteNamedSetting()
{
    const int i = namedSettingList_->currentIndex();
    NamedSettingsTable table(s_.data.named, workSettings_.namedSettingCount);
    if (!table.inUse(i)) {
        s_.messages.show(texts::kErrorCaption, texts::kCannotDelete, MsgButtons::Ok, MsgIcon::None);
        return;
    }
    const std::string question = TranslatedWith(kMessageBoxContext, texts::kDeletePattern,
                                                {namedSettingList_->itemText(i).toStdString()});
    if (s_.messages.show(texts::kDeleteCaption, question, MsgButtons::YesNoCancel, MsgIcon::None) !=
        MsgResult::Yes) {
        return;
    }
    table.remove(i);
    workSettings_.lastNamedSetting = -1;
    writeBack();
    s_.host.saveSettings();
    namedSettingList_->removeItem(i);
    namedSettingList_->setCurrentIndex(-1);
}

void PrintDialog::writeBack()
{
    // IconIsBuiltIn is decided at start-up and is not the dialog's to change.
    const bool builtIn = s_.data.settings.iconIsBuiltIn;
    s_.data.settings = workSettings_;
    s_.data.settings.iconIsBuiltIn = builtIn;
    s_.data.current = workLayout_;
}

bool PrintDialog::prepareLaidOutImage()
{
    writeBack();
    s_.printer.preparePage(s_.data.current, s_.captureImage, s_.pageImage);
    // After a setup error (already shown) the page image is empty: there is nothing to hand on.
    return !s_.printer.pageSetupFailed() && !s_.pageImage.isNull();
}

void PrintDialog::print()
{
    previewTimer_->stop();
    hide();
    printingNotice_ = std::make_unique<PrintingNotice>(s_.customIcon);
    printingNotice_->show();
    writeBack();
    s_.host.saveSettings();
    printTimer_->start(kPrintDelayMs);
}

void PrintDialog::onPrintDelayElapsed()
{
    printTimer_->stop();
    const bool printed = s_.printer.printPage(s_.data.current, s_.captureImage, s_.pageImage);
    printingNotice_.reset();
    if (!printed) {
        // A setup error or a refused job, both already shown: the user can correct the
        // setting and try again.
        show();
        raise();
        activateWindow();
        return;
    }
    end();
}

void PrintDialog::copyToClipboard()
{
    if (prepareLaidOutImage()) {
        s_.clipboard.setImage(s_.pageImage);
    }
    s_.host.saveSettings();
}

void PrintDialog::saveImageAs()
{
    if (!prepareLaidOutImage()) {
        s_.host.saveSettings();
        return;
    }
    hide();
    int chosenFilter = 1;
    const auto path = s_.host.chooseSaveFile(
        this, texts::kSaveBitmapTitle, texts::kSaveBitmapFilter, s_.lastFolder, &chosenFilter);
    if (path) {
        // In the type chosen in the dialog, under the name as given.
        std::string format = FileDialog::formatOfFilter(texts::kSaveBitmapFilter, chosenFilter);
        if (format.empty()) format = "BMP";
        if (s_.pageImage.save(QString::fromStdString(*path), format.c_str())) {
            s_.lastFolder = *path;
        } else {
            s_.messages.show(texts::kAppCaption,
                             std::string(texts::kSaveBitmapFailed) + "\n" + *path, MsgButtons::Ok,
                             MsgIcon::Warning);
        }
    }
    show();
    s_.host.saveSettings();
}

void PrintDialog::makeStickyNote()
{
    if (!prepareLaidOutImage()) {
        s_.host.saveSettings();
        return;
    }
    if (s_.host.stickyNoteCount() >= texts::kNoteLimit) {
        s_.messages.show(texts::kAppCaption,
                         TranslatedWith(kMessageBoxContext, texts::kNoteLimitPattern,
                                        {std::to_string(texts::kNoteLimit)}),
                         MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    s_.host.makeStickyNote(s_.pageImage);
    s_.host.saveSettings();
}

void PrintDialog::showHelp()
{
    s_.host.showHelp(texts::kHelpFile);
}

void PrintDialog::cancel()
{
    end();
}

}  // namespace tovrimo
