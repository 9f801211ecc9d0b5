#include "core/IniFile.h"

namespace tovrimo {

std::optional<IniDocument> IniFile::load(std::string* error)
{
    if (auto bytes = fs_.readAll(path_, error)) return IniDocument::parse(*bytes);
    if (fs_.exists(path_)) return std::nullopt;
    return IniDocument{};
}

bool IniFile::save(const IniDocument& doc, std::string* error)
{
    return fs_.writeAtomically(path_, doc.serialize(), error);
}

std::string IniFile::readIni(std::string_view section, std::string_view key)
{
    const auto doc = load();
    return doc ? doc->get(section, key) : std::string();
}

bool IniFile::writeIni(std::string_view section, std::string_view key, std::string_view value)
{
    auto doc = load();
    if (!doc) return false;
    doc->set(section, key, value);
    return save(*doc, nullptr);
}

}  // namespace tovrimo
