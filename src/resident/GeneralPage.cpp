#include "resident/GeneralPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/WidgetText.h"
#include "platform/Translated.h"
#include "resident/OptionTexts.h"

namespace tovrimo {

GeneralPage::GeneralPage(QWidget* parent) : QWidget(parent)
{
    namespace t = option_texts;
    setObjectName(QStringLiteral("generalPage"));

    actionGroup = Named(new QGroupBox(Translated(t::kContext, t::kActionGroup)), "actionGroup");
    printAction = Named(new QRadioButton(Translated(t::kContext, t::kPrintAction)), "printAction");
    copyAction = Named(new QRadioButton(Translated(t::kContext, t::kCopyAction)), "copyAction");
    noteAction = Named(new QRadioButton(Translated(t::kContext, t::kNoteAction)), "noteAction");
    repeatAction =
        Named(new QRadioButton(Translated(t::kContext, t::kRepeatAction)), "repeatAction");
    auto* actions = new QVBoxLayout(actionGroup);
    for (QRadioButton* r : {printAction, copyAction, noteAction, repeatAction})
        actions->addWidget(r);
    actions->addStretch(1);

    sourceGroup = Named(new QGroupBox(Translated(t::kContext, t::kSourceGroup)), "sourceGroup");
    desktopSource =
        Named(new QRadioButton(Translated(t::kContext, t::kDesktopSource)), "desktopSource");
    activeWindowSource = Named(new QRadioButton(Translated(t::kContext, t::kActiveWindowSource)),
                               "activeWindowSource");
    regionSource =
        Named(new QRadioButton(Translated(t::kContext, t::kRegionSource)), "regionSource");
    fileSource = Named(new QRadioButton(Translated(t::kContext, t::kFileSource)), "fileSource");
    clipboardSource =
        Named(new QRadioButton(Translated(t::kContext, t::kClipboardSource)), "clipboardSource");
    auto* sources = new QVBoxLayout(sourceGroup);
    for (QRadioButton* r :
         {desktopSource, activeWindowSource, regionSource, fileSource, clipboardSource})
        sources->addWidget(r);
    sources->addStretch(1);

    doubleClickGroup =
        Named(new QGroupBox(Translated(t::kContext, t::kDoubleClickGroup)), "doubleClickGroup");
    auto* doubleClick = new QHBoxLayout(doubleClickGroup);
    doubleClick->addWidget(actionGroup, 1);
    doubleClick->addWidget(sourceGroup, 1);

    captureCursorBox =
        Named(new QCheckBox(Translated(t::kContext, t::kCaptureCursorBox)), "captureCursorBox");
    hideIconBox = Named(new QCheckBox(Translated(t::kContext, t::kHideIconBox)), "hideIconBox");
    selfTimerBox = Named(new QCheckBox(Translated(t::kContext, t::kSelfTimerBox)), "selfTimerBox");
    selfTimerSeconds = Named(new QLineEdit, "selfTimerSeconds");
    selfTimerSeconds->setAlignment(Qt::AlignRight);
    selfTimerSeconds->setFixedWidth(
        selfTimerSeconds->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
    secondsLabel = Named(new QLabel(Translated(t::kContext, t::kSecondsLabel)), "secondsLabel");
    showCountdownBox =
        Named(new QCheckBox(Translated(t::kContext, t::kShowCountdownBox)), "showCountdownBox");
    confirmBox = Named(new QCheckBox(Translated(t::kContext, t::kConfirmBox)), "confirmBox");
    reverseColoursBox =
        Named(new QCheckBox(Translated(t::kContext, t::kReverseColoursBox)), "reverseColoursBox");
    fullDetailBox =
        Named(new QCheckBox(Translated(t::kContext, t::kFullDetailBox)), "fullDetailBox");
    loginStartBox =
        Named(new QCheckBox(Translated(t::kContext, t::kLoginStartBox)), "loginStartBox");

    auto* timer = new QHBoxLayout;
    timer->addWidget(selfTimerBox);
    timer->addWidget(selfTimerSeconds);
    timer->addWidget(secondsLabel);
    timer->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(doubleClickGroup);
    layout->addWidget(captureCursorBox);
    layout->addWidget(hideIconBox);
    layout->addLayout(timer);
    // Its own row under the self-timer it belongs to, indented like a sub-option.
    auto* countdown = new QHBoxLayout;
    countdown->addSpacing(20);
    countdown->addWidget(showCountdownBox);
    countdown->addStretch(1);
    layout->addLayout(countdown);
    layout->addWidget(confirmBox);
    layout->addWidget(reverseColoursBox);
    layout->addWidget(fullDetailBox);
    layout->addWidget(loginStartBox);
    layout->addStretch(1);
}

}  // namespace tovrimo
