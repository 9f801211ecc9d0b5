#include "platform/Translated.h"

#include <QCoreApplication>

namespace tovrimo {

QString Translated(const char* context, std::string_view source)
{
    const std::string text(source);  // translate() reads up to the terminating NUL
    return QCoreApplication::translate(context, text.c_str());
}

std::string TranslatedUtf8(const char* context, std::string_view source)
{
    return Translated(context, source).toStdString();
}

std::string TranslatedWith(const char* context, std::string_view pattern,
                           std::initializer_list<std::string_view> arguments)
{
    const std::string translated = TranslatedUtf8(context, pattern);
    std::string text;
    text.reserve(translated.size());
    for (size_t i = 0; i < translated.size(); ++i) {
        const char next = i + 1 < translated.size() ? translated[i + 1] : '\0';
        const size_t number = static_cast<size_t>(next - '0');
        if (translated[i] == '%' && next >= '1' && next <= '9' && number <= arguments.size()) {
            text += *(arguments.begin() + (number - 1));
            ++i;
            continue;
        }
        text += translated[i];
    }
    return text;
}

std::string QtTextTranslator(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source).toStdString();
}

}  // namespace tovrimo
