#pragma once

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QWidget>
#include <functional>

#include "capture/CaptureBuffer.h"
#include "capture/CaptureCodes.h"
#include "capture/RegionCrop.h"

class QMenu;

namespace tovrimo {

// The region-selection screen: the frozen desktop over the whole primary screen, on which the
// user drags a rectangle with the left button. The release cuts the rectangle out of the
// capture buffer and signals what the job it was opened for does with it; the right button
// offers the cancel menu. The screen itself knows nothing of printers or the clipboard.
class RegionSelector : public QWidget {
    Q_OBJECT
public:
    static constexpr QRgb kGrey = 0xFF808080u;  // background and outline colour
    // The application state at the release, which says whose region it is.
    using StateProvider = std::function<AppState()>;

    RegionSelector(CaptureBuffer& buffer, StateProvider state, QWidget* parent = nullptr);
    ~RegionSelector() override;

    // Freezes the capture buffer's current picture and shows it full-screen, above everything.
    // Returns at once.
    void open();
    // Takes the picture without showing the window (for off-screen rendering).
    void freeze();

    // Cuts the rectangle out of the source into both staging and image.
    static void applyCrop(CaptureBuffer& buffer, const QImage& source, const CropRect& rect);

    bool dragging() const { return dragging_; }
    // In buffer pixels.
    QPoint startPoint() const { return start_; }
    QPoint endPoint() const { return end_; }
    QMenu* cancelMenu() const { return cancelMenu_; }
    // The area the last pointer step asked to repaint, in widget coordinates.
    const QRegion& lastDirtyRegion() const { return lastDirty_; }

signals:
    // The region is in the buffer, for a region hard copy: the print dialog, or printing at
    // once, as the settings say.
    void printChosen();
    // The region is in the buffer, for a region copy: onto the clipboard, and the copy is over.
    void copyChosen();
    // The region is in the buffer, for the command-line job.
    void commandLineChosen();
    // The cancel item or Escape: the capture is called off.
    void cancelRequested();
    // The screen is done: it is to be hidden and disposed of. Emitted from inside the screen's
    // own event handler, so the disposal must be deferred (deleteLater).
    void closeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint toBufferPixels(const QPointF& position) const;
    // The pixels the outline from start_ to the given corner covers, in widget coordinates:
    // four strips, so a move repaints the outline alone and never the picture inside it.
    QRegion outlineRegion(const QPoint& corner) const;
    void finishSelection();

    CaptureBuffer& buffer_;
    StateProvider state_;
    QImage frozen_;
    QMenu* cancelMenu_ = nullptr;
    bool dragging_ = false;
    bool finished_ = false;
    QPoint start_;
    QPoint current_;
    QPoint end_;
    QRegion lastDirty_;
};

}  // namespace tovrimo
