#pragma once

#include <QString>
#include <string_view>

namespace tovrimo {

// Our texts are UTF-8 literals; the widgets take QString.
inline QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Gives a widget the object name tests and style sheets find it by, and returns it, so that
// a control can be made, named and stored in one statement.
template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The same for one of a row of controls: the name and the row's number ("keyList3").
template <typename Widget>
Widget* Named(Widget* widget, const char* name, int index)
{
    widget->setObjectName(QLatin1String(name) + QString::number(index));
    return widget;
}

}  // namespace tovrimo
