#pragma once

#include <QString>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/TextTranslation.h"

namespace tovrimo {

// The program's texts are written in Japanese, and those are the source texts of Qt's
// translation: a translation installed for the user's language replaces them, and without one
// they are shown as written. A window's own texts are translated in the window's class context
// (its tr()); the contexts of core/TextTranslation.h serve the shared boxes.

// The translation of the UTF-8 source text in the context, or the text itself.
QString Translated(const char* context, std::string_view source);
std::string TranslatedUtf8(const char* context, std::string_view source);
// The translated pattern with "%1", "%2" … replaced by the arguments, in one pass and byte for
// byte: a file name which is not UTF-8 stays as it is, and a "%" in an argument stays too.
std::string TranslatedWith(const char* context, std::string_view pattern,
                           std::initializer_list<std::string_view> arguments);

// Qt's translation, for the core's texts (InstallTextTranslator).
std::string QtTextTranslator(const char* context, const char* source);

}  // namespace tovrimo
