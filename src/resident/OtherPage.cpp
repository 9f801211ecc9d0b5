#include "resident/OtherPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/WidgetText.h"
#include "platform/Translated.h"
#include "platform/qt/ProgramIcon.h"
#include "resident/OptionTexts.h"

namespace tovrimo {

OtherPage::OtherPage(QWidget* parent) : QWidget(parent)
{
    namespace t = option_texts;
    setObjectName(QStringLiteral("otherPage"));
    titleLabel = Named(new QLabel(Translated(t::kContext, t::kTitleLabel)), "titleLabel");
    titleEdit = Named(new QLineEdit, "titleEdit");
    titleLabel->setBuddy(titleEdit);
    iconPathLabel = Named(new QLabel(Translated(t::kContext, t::kIconPathLabel)), "iconPathLabel");
    iconPathEdit = Named(new QLineEdit, "iconPathEdit");
    iconPathLabel->setBuddy(iconPathEdit);
    browseIconButton =
        Named(new QPushButton(Translated(t::kContext, t::kBrowseIconButton)), "browseIconButton");
    browseIconButton->setAutoDefault(false);
    restartNote = Named(new QLabel(Translated(t::kContext, t::kRestartNote)), "restartNote");
    restartNote->setWordWrap(true);
    iconPreview = Named(new QLabel, "iconPreview");
    iconPreview->setPixmap(ProgramIcon().pixmap(32, 32));
    iconPreview->setFixedSize(40, 40);
    iconPreview->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout;
    grid->addWidget(titleLabel, 0, 0);
    grid->addWidget(titleEdit, 0, 1, 1, 2);
    grid->addWidget(iconPathLabel, 1, 0);
    grid->addWidget(iconPathEdit, 1, 1);
    grid->addWidget(browseIconButton, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* note = new QHBoxLayout;
    note->addWidget(iconPreview, 0, Qt::AlignTop);
    note->addWidget(restartNote, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(note);
    layout->addStretch(1);
}

}  // namespace tovrimo
