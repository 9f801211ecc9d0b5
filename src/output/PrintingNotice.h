#pragma once

#include <QIcon>
#include <QWidget>

namespace tovrimo {

// The small "sending to the printer" window the print dialog shows while a page goes out.
class PrintingNotice : public QWidget {
    Q_OBJECT
public:
    // customIcon: the tray icon loaded from the settings, or a null icon for the built-in one.
    explicit PrintingNotice(const QIcon& customIcon, QWidget* parent = nullptr);
};

}  // namespace tovrimo
