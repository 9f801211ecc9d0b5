#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/IniDocument.h"
#include "core/SettingsStore.h"
#include "doubles/FakeFirstRunPrinter.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/NoticedSettingsStore.h"

namespace tovrimo::test {

// A settings store over files in memory, with one A4 printer "Office" as the default. What the
// store has to tell the user is collected in `notices`.
class SettingsFixture : public testing::Test {
protected:
    SettingsData load()
    {
        SettingsData data;
        EXPECT_EQ(store.loadSettings(data), LoadResult::Loaded);
        return data;
    }

    SettingsData loadFrom(const std::string& fileText)
    {
        fs.files[iniPath] = fileText;
        return load();
    }

    std::string& iniText() { return fs.files[iniPath]; }
    IniDocument iniDoc() { return IniDocument::parse(fs.files[iniPath]); }

    const std::string folder = "/home/u/.config/tovrimo/";
    const std::string iniPath = folder + "tovrimo.ini";
    const std::string infPath = folder + "tovrimo.inf";
    MemoryFileSystem fs;
    FakeFirstRunPrinter printer{FakeFirstRunPrinter::a4("Office")};
    NoticedSettingsStore store{fs, printer, folder};
    SettingsNotices& notices = store.notices;
};

}  // namespace tovrimo::test
