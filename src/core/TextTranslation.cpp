#include "core/TextTranslation.h"

#include <atomic>

namespace tovrimo {

namespace {

// Set once at start-up, read from any thread.
std::atomic<TextTranslator> g_translator{nullptr};

}  // namespace

void InstallTextTranslator(TextTranslator translator)
{
    g_translator.store(translator);
}

std::string TranslatedText(const char* context, std::string_view source)
{
    const TextTranslator translator = g_translator.load();
    if (!translator) return std::string(source);
    return translator(context, std::string(source).c_str());
}

}  // namespace tovrimo
