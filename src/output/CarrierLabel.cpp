#include "output/CarrierLabel.h"

namespace tovrimo {

CarrierLabel::CarrierLabel(const QString& objectName, QWidget* parent) : QLabel(parent)
{
    setObjectName(objectName);
    hide();
}

void CarrierLabel::setCaption(const QString& caption)
{
    if (caption == text()) {
        return;
    }
    setText(caption);
    emit captionChanged();
}

}  // namespace tovrimo
