#include "controls/ScaleSlider.h"

#include <QMouseEvent>

namespace tovrimo {

ScaleSlider::ScaleSlider(QWidget* parent, Qt::Orientation orientation)
    : QSlider(orientation, parent)
{
    setRange(kMinimum, kMaximum);
    setTickInterval(kTickEvery);
    setTickPosition(orientation == Qt::Vertical ? QSlider::TicksRight : QSlider::TicksBelow);
    setPageStep(kTickEvery);
}

void ScaleSlider::mouseReleaseEvent(QMouseEvent* event)
{
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit released();
    }
}

}  // namespace tovrimo
