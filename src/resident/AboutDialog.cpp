#include "resident/AboutDialog.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "controls/WidgetText.h"
#include "platform/MessageBoxes.h"
#include "platform/Translated.h"
#include "platform/qt/ProgramIcon.h"
#include "resident/AboutTexts.h"

namespace tovrimo {

namespace {

// The window's client area at 96 dpi (5016 x 3096 twips at 15 twips a pixel).
constexpr QSize kClientSize(334, 206);
constexpr QSize kBannerSize(207, 60);

QPixmap Banner()
{
    QPixmap banner(kBannerSize);
    QPainter p(&banner);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, kBannerSize.width(), kBannerSize.height());
    sky.setColorAt(0, QColor(0x1f, 0x4e, 0x9c));
    sky.setColorAt(1, QColor(0x6f, 0xb3, 0xe8));
    p.fillRect(banner.rect(), sky);
    p.drawPixmap(10, 14, ProgramIcon().pixmap(32, 32));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(22);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(50, 4, kBannerSize.width() - 56, 34), Qt::AlignLeft | Qt::AlignVCenter,
               FromUtf8(about_texts::kBannerText));
    font.setBold(false);
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(QRect(50, 34, kBannerSize.width() - 56, 20), Qt::AlignLeft | Qt::AlignVCenter,
               Translated(about_texts::kContext, about_texts::kName) + QStringLiteral(" ") +
                   FromUtf8(about_texts::kVersion));
    return banner;
}

QLabel* Blue(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 0xff));
    label->setPalette(palette);
    return label;
}

}  // namespace

AboutDialog::AboutDialog(MessageBoxes& messages, std::optional<AboutLink> link, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      messages_(messages),
      link_(std::move(link))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(Translated(about_texts::kContext, about_texts::kCaption));
    setWindowIcon(ProgramIcon());
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    iconLabel_ = new QLabel(this);
    iconLabel_->setObjectName(QStringLiteral("iconLabel"));
    iconLabel_->setPixmap(ProgramIcon().pixmap(32, 32));
    iconLabel_->setFixedSize(32, 32);
    nameLabel_ = new QLabel(Translated(about_texts::kContext, about_texts::kName), this);
    nameLabel_->setObjectName(QStringLiteral("nameLabel"));
    QFont bold = nameLabel_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    nameLabel_->setFont(bold);
    versionLabel_ = Blue(new QLabel(FromUtf8(about_texts::kVersion), this));
    versionLabel_->setObjectName(QStringLiteral("versionLabel"));
    noticeLabel_ = new QLabel(Translated(about_texts::kContext, about_texts::kNotice), this);
    noticeLabel_->setObjectName(QStringLiteral("noticeLabel"));
    linkCaptionLabel_ = new QLabel(
        Translated(about_texts::kContext,
                   link_ && link_->local ? about_texts::kHelpFile : about_texts::kHomePage),
        this);
    linkCaptionLabel_->setObjectName(QStringLiteral("linkCaptionLabel"));
    linkLabel_ = Blue(new QLabel(link_ ? QString::fromStdString(link_->address) : QString(), this));
    linkLabel_->setObjectName(QStringLiteral("linkLabel"));
    QFont underlined = linkLabel_->font();
    underlined.setUnderline(true);
    linkLabel_->setFont(underlined);
    linkLabel_->setCursor(Qt::PointingHandCursor);
    linkLabel_->setToolTip(linkLabel_->text());
    bannerLabel_ = new QLabel(this);
    bannerLabel_->setObjectName(QStringLiteral("bannerLabel"));
    bannerLabel_->setPixmap(Banner());
    bannerLabel_->setFixedSize(kBannerSize);
    okButton_ = new QPushButton(Translated(about_texts::kContext, about_texts::kOK), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    okButton_->setMinimumWidth(88);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    if (link_) {
        linkLabel_->installEventFilter(this);
        bannerLabel_->installEventFilter(this);
        bannerLabel_->setCursor(Qt::PointingHandCursor);
    } else {
        // Nothing to open on this installation: no dead link.
        linkCaptionLabel_->hide();
        linkLabel_->hide();
    }

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(nameLabel_);
    texts->addWidget(versionLabel_);
    texts->addWidget(noticeLabel_);
    texts->addSpacing(6);
    texts->addWidget(linkCaptionLabel_);
    texts->addWidget(linkLabel_);
    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(iconLabel_, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bannerLabel_, 0, Qt::AlignBottom);
    bottom->addStretch(1);
    bottom->addWidget(okButton_, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addStretch(1);
    layout->addLayout(bottom);

    setFixedSize(sizeHint().expandedTo(kClientSize));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void AboutDialog::openLink()
{
    if (!link_) return;
    if (!link_->local) {
        const MsgResult answer =
            messages_.show(std::string(about_texts::kConfirmCaption), link_->address,
                           MsgButtons::OkCancel, MsgIcon::None);
        if (answer != MsgResult::Ok) return;
    }
    const QString address = QString::fromStdString(link_->address);
    // Whether a browser came up is the desktop's business; nothing is reported.
    openUrl(link_->local ? QUrl::fromLocalFile(address) : QUrl::fromUserInput(address));
}

void AboutDialog::done(int result)
{
    if (done_) return;
    done_ = true;
    QDialog::done(result);
    emit closed();
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == linkLabel_ || watched == bannerLabel_) &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        openLink();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tovrimo
