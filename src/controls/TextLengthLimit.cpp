#include "controls/TextLengthLimit.h"

namespace tovrimo {

TextLengthLimit::TextLengthLimit(size_t maxBytes, std::function<void()> refused, QObject* parent)
    : QValidator(parent), maxBytes_(maxBytes), refused_(std::move(refused))
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
    if (refused_) refused_();
    return Invalid;
}

}  // namespace tovrimo
