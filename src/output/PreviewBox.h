#pragma once

#include <QLabel>
#include <QWidget>

#include "output/PreviewComposer.h"

namespace tovrimo {

// The print dialog's schematic page: shadow, sheet, printable area, title box and outline are
// painted; the image box is a child widget moved over them. Coordinates are those of the
// picture given last, scaled onto the box.
class PreviewBox : public QWidget {
    Q_OBJECT
public:
    // 3735 x 3471 twips at 15 twips per pixel.
    static constexpr int kWidthPixels = 249;
    static constexpr int kHeightPixels = 231;

    explicit PreviewBox(QWidget* parent = nullptr);

    // Draws a picture; one that could not be placed shows the sheet only and leaves the image
    // box where it was.
    void showPicture(const PreviewPicture& picture);
    void showError(bool shown);
    bool errorShown() const { return !errorLabel_->isHidden(); }
    const PreviewPicture& picture() const { return picture_; }
    QWidget* imageBox() const { return imageBox_; }
    QRect toPixels(const QRectF& boxRect) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PreviewPicture picture_;
    bool drawn_ = false;
    QWidget* imageBox_ = nullptr;
    QLabel* errorLabel_ = nullptr;
};

}  // namespace tovrimo
