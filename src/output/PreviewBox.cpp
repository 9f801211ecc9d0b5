#include "output/PreviewBox.h"

#include <QPainter>

#include "output/PrintDialogTexts.h"

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
    setObjectName(QStringLiteral("Pic_Preview"));
    setFixedSize(kWidthPixels, kHeightPixels);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    setPalette(pal);

    picImage_ = new QWidget(this);
    picImage_->setObjectName(QStringLiteral("Pic_Image"));
    picImage_->setAutoFillBackground(true);
    QPalette imagePal = picImage_->palette();
    imagePal.setColor(QPalette::Window, kImage);
    picImage_->setPalette(imagePal);
    picImage_->setGeometry(0, 0, 0, 0);

    lblPreviewError_ = new QLabel(QString::fromUtf8(texts::kPreviewError), this);
    lblPreviewError_->setObjectName(QStringLiteral("Lbl_PreviewError"));
    lblPreviewError_->setWordWrap(true);
    lblPreviewError_->setAlignment(Qt::AlignCenter);
    QPalette errorPal = lblPreviewError_->palette();
    errorPal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    lblPreviewError_->setPalette(errorPal);
    lblPreviewError_->setGeometry(4, 4, kWidthPixels - 8, 40);
    lblPreviewError_->hide();
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
        picImage_->setGeometry(toPixels(QRectF(picture.image)));
    }
    picImage_->raise();
    lblPreviewError_->raise();
    update();
}

void PreviewBox::showError(bool shown)
{
    lblPreviewError_->setVisible(shown);
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
