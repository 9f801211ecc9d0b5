#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/IniDocument.h"
#include "core/SettingsStore.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/ShownSettingsStore.h"

namespace tovrimo::test {

// A settings store over files in memory, with one A4 printer "Office" as the default.
class SettingsFixture : public testing::Test {
protected:
    SettingsFixture()
    {
        printers.printers = {FakePrinterBackend::a4("Office")};
        printers.defaultName = "Office";
    }

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
    FakePrinterBackend printers;
    RecordingMessageBoxes boxes;
    test::ShownSettingsStore store{fs, printers, boxes, folder};
};

}  // namespace tovrimo::test
