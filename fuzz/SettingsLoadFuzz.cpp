// Arbitrary settings files (and defaults files) through the whole load: whatever the file says,
// the records stay inside their tables, and what is saved from them loads back the same.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/IniValues.h"
#include "core/SettingsStore.h"
#include "doubles/FakeFirstRunPrinter.h"
#include "doubles/MemoryFileSystem.h"

using namespace tovrimo;
using tovrimo::test::FakeFirstRunPrinter;
using tovrimo::test::MemoryFileSystem;

namespace {

constexpr const char* kFolder = "/prog/";
constexpr int kRoundTripTable = 8;

bool SameReal(double a, double b)
{
    return a == b || std::fabs(a - b) <= std::fabs(a) * 1e-14;
}

void CheckLoaded(const SettingsData& d)
{
    const Settings& s = d.settings;
    FUZZ_CHECK(s.namedSettingCount >= 0 && s.namedSettingCount <= kNamedSettingsMax);
    // Records past the count are never touched by a load.
    for (size_t i = static_cast<size_t>(s.namedSettingCount); i < d.named.size(); ++i)
        FUZZ_CHECK(d.named[i] == PrintLayout{});
    for (int i = 0; i < s.namedSettingCount; ++i) {
        const PrintLayout& n = d.named[static_cast<size_t>(i)];
        FUZZ_CHECK(!n.fontName.empty() && n.fontPoints != 0);
    }
    FUZZ_CHECK(!d.current.fontName.empty() && d.current.fontPoints != 0);
    FUZZ_CHECK(d.current.name.empty());
    FUZZ_CHECK(s.title != settings_texts::kOldDefaultTitle);
    // Whatever number the file held, the double-click reads as one of the choices.
    if (s.doubleClickDestination)
        FUZZ_CHECK(static_cast<int>(*s.doubleClickDestination) >= 0 &&
                   static_cast<int>(*s.doubleClickDestination) <=
                       static_cast<int>(CaptureDestination::StickyNote));
    if (s.doubleClickSource)
        FUZZ_CHECK(static_cast<int>(*s.doubleClickSource) >= 0 &&
                   static_cast<int>(*s.doubleClickSource) <=
                       static_cast<int>(CaptureSource::Clipboard));
    FUZZ_CHECK(s.selfTimerSeconds >= 0 && s.selfTimerSeconds <= kSelfTimeMaxSeconds);
    FUZZ_CHECK(std::isfinite(d.current.leftCm) && std::isfinite(d.current.topCm));
}

// Equal apart from Version (only used while loading) and the reals, which keep 15 digits.
void CheckSame(SettingsData a, SettingsData b)
{
    a.settings.formatVersion.clear();
    b.settings.formatVersion.clear();
    FUZZ_CHECK(SameReal(a.current.leftCm, b.current.leftCm) &&
               SameReal(a.current.topCm, b.current.topCm));
    a.current.leftCm = b.current.leftCm;
    a.current.topCm = b.current.topCm;
    for (size_t i = 0; i < a.named.size(); ++i) {
        FUZZ_CHECK(SameReal(a.named[i].leftCm, b.named[i].leftCm));
        FUZZ_CHECK(SameReal(a.named[i].topCm, b.named[i].topCm));
        a.named[i].leftCm = b.named[i].leftCm;
        a.named[i].topCm = b.named[i].topCm;
    }
    FUZZ_CHECK(a.settings == b.settings);
    FUZZ_CHECK(a.current == b.current);
    for (size_t i = 0; i < a.named.size(); ++i) FUZZ_CHECK(a.named[i] == b.named[i]);
}

// What a load makes of a file it cannot use at all: the first-run settings. Their round trip is
// the same for every such file, and most mutated inputs end up here; it is checked once, on the
// first of them, rather than on each.
bool IsFreshSettings(SettingsData data)
{
    static const SettingsData fresh = [] {
        MemoryFileSystem fs;
        FakeFirstRunPrinter printers{FakeFirstRunPrinter::a4("PDF")};
        SettingsStore store(fs, printers, kFolder);
        SettingsData d;
        store.loadSettings(d);
        d.settings.formatVersion.clear();
        return d;
    }();
    static bool checkedOnce = false;
    data.settings.formatVersion.clear();
    if (!(data == fresh)) return false;
    if (checkedOnce) return true;
    checkedOnce = true;
    return false;
}

}  // namespace

// Input: the settings file; when it holds a line "\n#inf\n", what follows is the defaults
// file instead.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    MemoryFileSystem fs;
    FakeFirstRunPrinter printers{FakeFirstRunPrinter::a4("PDF")};
    SettingsStore store(fs, printers, kFolder);

    if (const size_t split = bytes.find("\n#inf\n"); split != std::string_view::npos) {
        fs.files[store.defaultsPath()] = std::string(bytes.substr(split + 6));
        bytes = bytes.substr(0, split);
    }
    fs.files[store.settingsPath()] = std::string(bytes);

    SettingsData loaded;
    const SettingsLoadResult load = store.loadSettings(loaded);
    if (load.status == LoadResult::Fatal) {
        // Only a bad defaults file stops the program, with a message, before anything is written.
        FUZZ_CHECK(load.notices.size() == 1);
        FUZZ_CHECK(fs.files.count(store.defaultsPath()) == 1);
        FUZZ_CHECK(fs.files[store.settingsPath()] == std::string(bytes));
        return 0;
    }
    CheckLoaded(loaded);
    FUZZ_CHECK(!loaded.settings.title.empty());

    // The round trip writes and reads every named setting in use; each one takes the same path,
    // so a short table checks it as well as a full one at a fraction of the cost per run.
    if (loaded.settings.namedSettingCount > kRoundTripTable || IsFreshSettings(loaded)) return 0;

    // Saved and loaded again: the same records. A file that is not UTF-8 is read as
    // Shift_JIS as a whole; when it was really UTF-8 with a few stray bytes, its text reads
    // garbled and is written back as the same bytes, which the next start reads as UTF-8
    // again. So the first round trip is exact for UTF-8 files, and from the first save on
    // for any file.
    FUZZ_CHECK(store.saveSettings(loaded));
    SettingsData reloaded;
    FUZZ_CHECK(store.loadSettings(reloaded) == LoadResult::Loaded);
    CheckLoaded(reloaded);
    if (IsValidUtf8(bytes)) CheckSame(loaded, reloaded);

    // A saved file is stable: saving what it loads gives the same bytes (and so, loaded again,
    // the same records).
    const std::string saved = fs.files[store.settingsPath()];
    FUZZ_CHECK(store.saveSettings(reloaded));
    FUZZ_CHECK(fs.files[store.settingsPath()] == saved);
    FUZZ_CHECK(load.notices.empty());
    return 0;
}
