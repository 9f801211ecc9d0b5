#include "capture/RegionSelector.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "capture/RegionTexts.h"
#include "core/Rounding.h"

namespace tovrimo {

RegionSelector::RegionSelector(CaptureBuffer& buffer, StateProvider state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      buffer_(buffer),
      state_(std::move(state))
{
    setAttribute(Qt::WA_OpaquePaintEvent);  // every paint covers its whole area itself
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);  // Escape cancels
    cancelMenu_ = new QMenu(this);
    cancelMenu_->addAction(tr(kRegionCancelItem.data()), this, &RegionSelector::cancelRequested);
}

RegionSelector::~RegionSelector() = default;

void RegionSelector::freeze()
{
    // A copy, not the buffer itself: a hot key may start another capture while this screen is
    // open, and the cut must come from the picture the user is looking at.
    frozen_ = buffer_.image.copy();
    dragging_ = false;
    finished_ = false;
}

void RegionSelector::open()
{
    freeze();
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    showFullScreen();
    raise();
    activateWindow();
}

void RegionSelector::applyCrop(CaptureBuffer& buffer, const QImage& source, const CropRect& rect)
{
    buffer.staging = source.copy(rect.left, rect.top, rect.width, rect.height);
    buffer.image = buffer.staging.copy();
}

QPoint RegionSelector::toBufferPixels(const QPointF& position) const
{
    const double ratio = devicePixelRatioF();
    return {static_cast<int>(nearestEven(position.x() * ratio)),
            static_cast<int>(nearestEven(position.y() * ratio))};
}

namespace {

// The rectangle with both points as corners, both included. QRect(p1, p2).normalized() is off
// by one pixel when p2 lies left of or above p1.
QRect Spanning(const QPoint& a, const QPoint& b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

}  // namespace

QRegion RegionSelector::outlineRegion(const QPoint& corner) const
{
    const QRect r = Spanning(start_, corner);
    const double ratio = devicePixelRatioF();
    auto toWidget = [ratio](const QRect& pixels) {
        return QRectF(pixels.x() / ratio, pixels.y() / ratio, pixels.width() / ratio,
                      pixels.height() / ratio)
            .toAlignedRect();
    };
    QRegion region;
    region += toWidget(QRect(r.left(), r.top(), r.width(), 1));
    region += toWidget(QRect(r.left(), r.bottom(), r.width(), 1));
    region += toWidget(QRect(r.left(), r.top(), 1, r.height()));
    region += toWidget(QRect(r.right(), r.top(), 1, r.height()));
    return region;
}

void RegionSelector::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const double ratio = devicePixelRatioF();
    const QColor grey = QColor::fromRgb(kGrey);
    const QRect picture =
        QRectF(0, 0, frozen_.width() / ratio, frozen_.height() / ratio).toAlignedRect();
    for (const QRect& area : event->region()) {
        const QRect shown = area.intersected(picture);
        if (shown != area) painter.fillRect(area, grey);
        if (shown.isEmpty()) continue;
        const QRectF source(shown.x() * ratio, shown.y() * ratio, shown.width() * ratio,
                            shown.height() * ratio);
        painter.drawImage(QRectF(shown), frozen_, source);
    }
    if (!dragging_) return;
    // The outline covers exactly the pixels that will be cut out along its border: both
    // corners included, as the selection is.
    painter.scale(1.0 / ratio, 1.0 / ratio);
    const QRect r = Spanning(start_, current_);
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), grey);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), grey);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), grey);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), grey);
}

void RegionSelector::keyPressEvent(QKeyEvent* event)
{
    // Escape is the cancel item without the menu: a full-screen picture above everything
    // must always have a way out from the keyboard too.
    if (event->key() == Qt::Key_Escape && !finished_) {
        event->accept();
        emit cancelRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

void RegionSelector::mousePressEvent(QMouseEvent* event)
{
    if (finished_) return;
    if (event->button() == Qt::LeftButton) {
        start_ = toBufferPixels(event->position());
        current_ = start_;
        dragging_ = true;
        lastDirty_ = outlineRegion(current_);
        update(lastDirty_);
    } else if (dragging_) {
        dragging_ = false;
        lastDirty_ = outlineRegion(current_);  // take the abandoned outline off the picture
        update(lastDirty_);
    }
}

void RegionSelector::mouseMoveEvent(QMouseEvent* event)
{
    if (finished_ || !dragging_) return;
    const QPoint next = toBufferPixels(event->position());
    if (next == current_) return;
    lastDirty_ = outlineRegion(current_) + outlineRegion(next);
    current_ = next;
    update(lastDirty_);
}

void RegionSelector::mouseReleaseEvent(QMouseEvent* event)
{
    if (finished_) return;
    if (event->button() == Qt::RightButton) {
        cancelMenu_->popup(event->globalPosition().toPoint());
        return;
    }
    // A release without a press on this screen (the button was already down when it opened)
    // has no start point: ignore it rather than cut from a stale corner.
    if (event->button() != Qt::LeftButton || !dragging_) return;
    end_ = toBufferPixels(event->position());
    finishSelection();
}

void RegionSelector::finishSelection()
{
    const AppState state = state_();
    if (state != AppState::PrintRegionPending && state != AppState::CopyRegionPending &&
        state != AppState::CommandLine) {
        // Not a region job (any more): end the drag, keep the screen.
        dragging_ = false;
        update(outlineRegion(current_));
        return;
    }
    applyCrop(
        buffer_, frozen_,
        CropRegion(start_.x(), start_.y(), end_.x(), end_.y(), frozen_.width(), frozen_.height()));
    dragging_ = false;
    finished_ = true;
    switch (state) {
    case AppState::PrintRegionPending:
        emit printChosen();
        emit closeRequested();
        break;
    case AppState::CopyRegionPending:
        emit closeRequested();
        emit copyChosen();
        break;
    default:
        emit commandLineChosen();
        emit closeRequested();
        break;
    }
}

}  // namespace tovrimo
