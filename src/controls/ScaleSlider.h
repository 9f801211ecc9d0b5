#pragma once

#include <QSlider>

class QMouseEvent;
class QWidget;

namespace tovrimo {

// The print scale slider: 1..200 percent with a tick every 10. It reports when the user lets
// go of it with the left mouse button; keyboard moves change the value without a report, so
// the owner takes a value only once the user has finished dragging. Values set outside the
// range end at the nearer limit, as with any QSlider.
class ScaleSlider : public QSlider {
    Q_OBJECT
public:
    static constexpr int kMinimum = 1;
    static constexpr int kMaximum = 200;
    static constexpr int kTickEvery = 10;
    static constexpr int kDefaultHeight = 25;

    explicit ScaleSlider(QWidget* parent = nullptr, Qt::Orientation orientation = Qt::Horizontal);

signals:
    // Once per release of the left mouse button, after the slider has taken the release, so
    // that value() is where the user let go.
    void released();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace tovrimo
