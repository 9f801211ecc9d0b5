#include "controls/TextLengthLimit.h"

namespace tovrimo {

TextLengthLimit::TextLengthLimit(size_t maxBytes, QObject* parent)
    : QValidator(parent), maxBytes_(maxBytes)
{
}

bool TextLengthLimit::fits(const QString& text) const
{
    return static_cast<size_t>(text.toUtf8().size()) <= maxBytes_;
}

QValidator::State TextLengthLimit::validate(QString& input, int& pos) const
{
    (void)pos;
    if (fits(input)) return Acceptable;
    emit refused();
    return Invalid;
}

}  // namespace tovrimo
