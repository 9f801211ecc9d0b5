#pragma once

#include <QLabel>

namespace tovrimo {

// A hidden label through which the title options dialog hands a value to the print dialog:
// setting a caption different from the present one reports the change.
class CarrierLabel : public QLabel {
    Q_OBJECT
public:
    explicit CarrierLabel(const QString& objectName, QWidget* parent);
    void setCaption(const QString& caption);

signals:
    void captionChanged();
};

}  // namespace tovrimo
