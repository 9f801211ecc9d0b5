#include "controls/ScaleSlider.h"

#include <QMouseEvent>
#include <QSlider>
#include <functional>

namespace tovrimo {

namespace {

// Reports a left-button release after the slider has handled it, so that the position read in
// the handler is the one the user let go at.
class ReleaseReportingSlider : public QSlider {
public:
    ReleaseReportingSlider(Qt::Orientation orientation, QWidget* parent,
                           std::function<void()> onRelease)
        : QSlider(orientation, parent), onRelease_(std::move(onRelease))
    {
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QSlider::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && onRelease_) {
            onRelease_();
        }
    }

private:
    std::function<void()> onRelease_;
};

}  // namespace

ScaleSlider::ScaleSlider(QObject* owner) : QObject(owner) {}

ScaleSlider::~ScaleSlider()
{
    DestroyTracBar();
}

bool ScaleSlider::Create(int left, int top, int width, int height, bool vertical)
{
    if (!Parent) {
        return false;
    }
    DestroyTracBar();
    auto* slider = new ReleaseReportingSlider(vertical ? Qt::Vertical : Qt::Horizontal, Parent,
                                              [this] { emit MouseUp(0, 0, 0, 0); });
    slider->setObjectName(QStringLiteral("Sld_PSize"));
    slider->setRange(kMinimum, kMaximum);
    slider->setTickInterval(kTickEvery);
    slider->setTickPosition(vertical ? QSlider::TicksRight : QSlider::TicksBelow);
    slider->setPageStep(kTickEvery);
    slider->setGeometry(left, top, width < 0 ? Parent->width() : width,
                        height < 0 ? kDefaultHeight : height);
    slider->show();
    slider_ = slider;
    return true;
}

void ScaleSlider::SetTracBarPos(int16_t tracPos)
{
    if (slider_) {
        slider_->setValue(tracPos);  // QSlider clamps to its range
    }
}

int32_t ScaleSlider::GetTracBarPos() const
{
    return slider_ ? slider_->value() : 0;
}

void ScaleSlider::DestroyTracBar()
{
    if (slider_) {
        delete slider_.data();
    }
    slider_ = nullptr;
}

}  // namespace tovrimo
