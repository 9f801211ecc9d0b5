#include "resident/GeneralPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "resident/OptionTexts.h"

namespace tovrimo {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

GeneralPage::GeneralPage(QWidget* parent) : QWidget(parent)
{
    namespace t = option_texts;
    setObjectName(QStringLiteral("generalPage"));

    actionGroup = Named(new QGroupBox(Q(t::kActionGroup)), "actionGroup");
    printAction = Named(new QRadioButton(Q(t::kPrintAction)), "printAction");
    copyAction = Named(new QRadioButton(Q(t::kCopyAction)), "copyAction");
    noteAction = Named(new QRadioButton(Q(t::kNoteAction)), "noteAction");
    repeatAction = Named(new QRadioButton(Q(t::kRepeatAction)), "repeatAction");
    auto* actions = new QVBoxLayout(actionGroup);
    for (QRadioButton* r : {printAction, copyAction, noteAction, repeatAction})
        actions->addWidget(r);
    actions->addStretch(1);

    sourceGroup = Named(new QGroupBox(Q(t::kSourceGroup)), "sourceGroup");
    desktopSource = Named(new QRadioButton(Q(t::kDesktopSource)), "desktopSource");
    activeWindowSource = Named(new QRadioButton(Q(t::kActiveWindowSource)), "activeWindowSource");
    regionSource = Named(new QRadioButton(Q(t::kRegionSource)), "regionSource");
    fileSource = Named(new QRadioButton(Q(t::kFileSource)), "fileSource");
    clipboardSource = Named(new QRadioButton(Q(t::kClipboardSource)), "clipboardSource");
    auto* sources = new QVBoxLayout(sourceGroup);
    for (QRadioButton* r :
         {desktopSource, activeWindowSource, regionSource, fileSource, clipboardSource})
        sources->addWidget(r);
    sources->addStretch(1);

    doubleClickGroup = Named(new QGroupBox(Q(t::kDoubleClickGroup)), "doubleClickGroup");
    auto* doubleClick = new QHBoxLayout(doubleClickGroup);
    doubleClick->addWidget(actionGroup, 1);
    doubleClick->addWidget(sourceGroup, 1);

    captureCursorBox = Named(new QCheckBox(Q(t::kCaptureCursorBox)), "captureCursorBox");
    hideIconBox = Named(new QCheckBox(Q(t::kHideIconBox)), "hideIconBox");
    selfTimerBox = Named(new QCheckBox(Q(t::kSelfTimerBox)), "selfTimerBox");
    selfTimerSeconds = Named(new QLineEdit, "selfTimerSeconds");
    selfTimerSeconds->setAlignment(Qt::AlignRight);
    selfTimerSeconds->setFixedWidth(
        selfTimerSeconds->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
    secondsLabel = Named(new QLabel(Q(t::kSecondsLabel)), "secondsLabel");
    confirmBox = Named(new QCheckBox(Q(t::kConfirmBox)), "confirmBox");
    reverseColoursBox = Named(new QCheckBox(Q(t::kReverseColoursBox)), "reverseColoursBox");
    fullDetailBox = Named(new QCheckBox(Q(t::kFullDetailBox)), "fullDetailBox");

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
    layout->addWidget(confirmBox);
    layout->addWidget(reverseColoursBox);
    layout->addWidget(fullDetailBox);
    layout->addStretch(1);
}

}  // namespace tovrimo
