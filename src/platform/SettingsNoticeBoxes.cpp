#include "platform/SettingsNoticeBoxes.h"

#include "platform/MessageBoxes.h"

namespace tovrimo {

void ShowSettingsNotices(MessageBoxes& boxes, const SettingsNotices& notices)
{
    for (const SettingsNotice& notice : notices) {
        const MsgIcon icon = notice.severity == SettingsNotice::Severity::Critical
                                 ? MsgIcon::Critical
                                 : MsgIcon::None;
        boxes.show(notice.caption, notice.text, MsgButtons::Ok, icon);
    }
}

}  // namespace tovrimo
