#include "output/PreviewBox.h"

#include <QPainter>

#include "output/PrintDialogTexts.h"
#include "platform/Translated.h"

namespace tovrimo {

namespace {
const QColor kBackground(192, 255, 255);
const QColor kShadow(192, 170, 170);
const QColor kSheet(187, 221, 221);
const QColor kTitle(187, 187, 187);
const QColor kImage(192, 192, 255);
}  // namespace

PreviewBox::PreviewBox(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("preview"));
    setFixedSize(kWidthPixels, kHeightPixels);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    setPalette(pal);

    imageBox_ = new QWidget(this);
    imageBox_->setObjectName(QStringLiteral("previewImage"));
    imageBox_->setAutoFillBackground(true);
    QPalette imagePal = imageBox_->palette();
    imagePal.setColor(QPalette::Window, kImage);
    imageBox_->setPalette(imagePal);
    imageBox_->setGeometry(0, 0, 0, 0);

    errorLabel_ = new QLabel(Translated("tovrimo::PrintDialog", texts::kPreviewError), this);
    errorLabel_->setObjectName(QStringLiteral("previewError"));
    errorLabel_->setWordWrap(true);
    errorLabel_->setAlignment(Qt::AlignCenter);
    QPalette errorPal = errorLabel_->palette();
    errorPal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    errorLabel_->setPalette(errorPal);
    errorLabel_->setGeometry(4, 4, kWidthPixels - 8, 40);
    errorLabel_->hide();
}

QRect PreviewBox::toPixels(const QRectF& boxRect) const
{
    return PreviewToPixels(boxRect, picture_.scale, size());
}

void PreviewBox::showPicture(const PreviewPicture& picture)
{
    picture_ = picture;
    drawn_ = true;
    if (picture.placed) {
        imageBox_->setGeometry(toPixels(QRectF(picture.image)));
    }
    imageBox_->raise();
    errorLabel_->raise();
    update();
}

void PreviewBox::showError(bool shown)
{
    errorLabel_->setVisible(shown);
}

void PreviewBox::paintEvent(QPaintEvent*)
{
    if (!drawn_) {
        return;
    }
    QPainter p(this);
    p.setPen(Qt::NoPen);
    p.fillRect(toPixels(picture_.shadow), kShadow);
    p.fillRect(toPixels(QRectF(picture_.sheet)), kSheet);
    p.fillRect(toPixels(QRectF(picture_.printable)), Qt::white);
    if (picture_.placed && picture_.title.height() > 0) {
        p.fillRect(toPixels(QRectF(picture_.title)), kTitle);
    }
    const QRect outline = toPixels(QRectF(picture_.sheet));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(outline.adjusted(0, 0, -1, -1));
}

}  // namespace tovrimo
