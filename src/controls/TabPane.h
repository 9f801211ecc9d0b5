#pragma once

#include <QWidget>

namespace tovrimo {

// The framed display area under a row of tabs, drawn the way the current style draws a tab
// widget's pane, so a tab strip and its pages look like one control.
class TabPane : public QWidget {
    Q_OBJECT
public:
    explicit TabPane(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tovrimo
