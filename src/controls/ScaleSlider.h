#pragma once

#include <QObject>
#include <QPointer>
#include <QSlider>
#include <cstdint>


class QWidget;

namespace tovrimo {

// A horizontal (or vertical) slider with a fixed range of 1..200 and a tick every 10 that tells
// its owner when the user lets go of it with the mouse. Keyboard moves change the position but
// raise no MouseUp, so the owner can take a value only when the user has finished dragging.
class ScaleSlider : public QObject {
    Q_OBJECT
public:
    static constexpr int kMinimum = 1;
    static constexpr int kMaximum = 200;
    static constexpr int kTickEvery = 10;
    static constexpr int kDefaultHeight = 25;

    explicit ScaleSlider(QObject* owner = nullptr);
    ~ScaleSlider() override;

    // The form the slider is placed on; must be set before Create.
    QWidget* Parent = nullptr;

    // Creates and shows the slider at (left, top) in pixels on Parent. A negative width means
    // the parent's width, a negative height the default height. False (and nothing created)
    // without a Parent.
    bool Create(int left = 0, int top = 0, int width = -1, int height = -1,
                bool vertical = false);
    // Moves the thumb; positions outside the range end at the nearer limit.
    void SetTracBarPos(int16_t tracPos);
    int32_t GetTracBarPos() const;
    // Removes the slider; safe to call when there is none.
    void DestroyTracBar();
    QSlider* GetTracBarHwnd() const { return slider_; }

signals:
    // Once per release of the left mouse button on the slider; all arguments are 0.
    void MouseUp(int16_t button, int16_t shift, float x, float y);

private:
    QPointer<QSlider> slider_;
};

}  // namespace tovrimo
