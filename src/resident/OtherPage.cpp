#include "resident/OtherPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/ProgramIcon.h"
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

OtherPage::OtherPage(QWidget* parent) : QWidget(parent)
{
    namespace t = option_texts;
    setObjectName(QStringLiteral("otherPage"));
    titleLabel = Named(new QLabel(Q(t::kTitleLabel)), "titleLabel");
    titleEdit = Named(new QLineEdit, "titleEdit");
    titleLabel->setBuddy(titleEdit);
    iconPathLabel = Named(new QLabel(Q(t::kIconPathLabel)), "iconPathLabel");
    iconPathEdit = Named(new QLineEdit, "iconPathEdit");
    iconPathLabel->setBuddy(iconPathEdit);
    browseIconButton = Named(new QPushButton(Q(t::kBrowseIconButton)), "browseIconButton");
    browseIconButton->setAutoDefault(false);
    restartNote = Named(new QLabel(Q(t::kRestartNote)), "restartNote");
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
