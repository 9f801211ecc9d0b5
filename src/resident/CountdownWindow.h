#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

class QLabel;

namespace tovrimo {

// The seconds left before a self-timed capture, in a small frameless window in the corner of
// the pointer's screen nearest the pointer, where the eye already is. It never takes the focus
// (the active-window capture reads which window is active) and lets clicks through.
class CountdownWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMarginPixels = 24;

    explicit CountdownWindow(QWidget* parent = nullptr);

    // Shows the window, or keeps it, with the number.
    void showSeconds(int seconds);
    int seconds() const { return seconds_; }
    QLabel* numberLabel() const { return number_; }

private:
    QLabel* number_;
    int seconds_ = 0;
};

// Where a window of the given size goes: inside the screen, kMarginPixels from the two edges
// of the corner that is nearest to the pointer.
QPoint CountdownTopLeft(QPoint pointer, QSize size, QRect screen);

}  // namespace tovrimo
