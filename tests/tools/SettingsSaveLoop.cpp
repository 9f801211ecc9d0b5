// Saves the settings again and again, alternating between two generations, through the real
// file system and settings store, until it is killed. A test kills it at random moments and
// checks that the file is always one complete generation.
//   settings_save_loop <folder/>
#include "tools/SettingsSaveLoop.h"

#include <cstdio>
#include <string>

#include "core/SettingsStore.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/ShownSettingsStore.h"
#include "platform/PosixFileSystem.h"

using namespace tovrimo;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings_save_loop <folder/>\n");
        return 2;
    }
    PosixFileSystem fs;
    test::FakePrinterBackend printers;
    test::RecordingMessageBoxes messages;
    test::ShownSettingsStore store(fs, printers, messages, argv[1]);
    for (long generation = 0;; ++generation) {
        if (!store.saveSettings(test::SaveLoopGeneration(static_cast<int>(generation % 2)))) {
            std::fprintf(stderr, "save failed: %s\n",
                         messages.shown.empty() ? "" : messages.shown.back().text.c_str());
            return 1;
        }
        if (generation == 0) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
}
