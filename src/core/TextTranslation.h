#pragma once

#include <string>
#include <string_view>

// Marks a source text for Qt's translation tools, which collect every text so marked, with its
// context, into a translation file; the text itself is unchanged. Qt defines the same macro.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x  // NOLINT(bugprone-macro-parentheses)
#endif

namespace tovrimo {

// Contexts of the texts that are not one window's own: every message box, the file dialogs'
// titles and filters, and the one-line input box.
inline constexpr const char* kMessageBoxContext = "tovrimo::MessageBox";
inline constexpr const char* kFileDialogContext = "tovrimo::FileDialog";
inline constexpr const char* kInputDialogContext = "tovrimo::InputDialog";

// The core words a few messages itself, without an application object; their fixed parts go
// through the translation the program installs (Qt's), and stay as written without one.
using TextTranslator = std::string (*)(const char* context, const char* source);
void InstallTextTranslator(TextTranslator translator);
// The installed translation of the source text in the context, or the text itself.
std::string TranslatedText(const char* context, std::string_view source);

}  // namespace tovrimo
