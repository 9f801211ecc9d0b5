#include "core/SettingsStore.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/IniValues.h"
#include "core/PaperNames.h"
#include "core/SettingsFileCodes.h"
#include "core/TextTranslation.h"

namespace tovrimo {

using namespace settings_texts;

namespace {

constexpr std::string_view kApplication = "Application";
constexpr std::string_view kOption = "Option";
constexpr std::string_view kDefaultPrinter = "DefaultPrinter";

// The five hot-key keys of a slot, in the order they are written.
constexpr std::string_view kHotKeyOnKey = "HotKeyOn";
constexpr std::string_view kHotKeyAltKey = "HotKeyALT";
constexpr std::string_view kHotKeyShiftKey = "HotKeySHIFT";
constexpr std::string_view kHotKeyCtrlKey = "HotKeyCTRL";
constexpr std::string_view kHotKeyCodeKey = "HotKeyButton";
constexpr std::string_view kHotKeyKeys[] = {kHotKeyOnKey, kHotKeyAltKey, kHotKeyShiftKey,
                                            kHotKeyCtrlKey, kHotKeyCodeKey};

constexpr int16_t kLegacyHotKeyCode = 80;  // the letter P: Ctrl+Alt+P

std::string PrinterSection(int n)
{
    return "Printer" + std::to_string(n);
}

std::string Key(std::string_view base, std::string_view suffix)
{
    return std::string(base) + std::string(suffix);
}

int NamedCount(int printerCount)
{
    return std::clamp(printerCount, 0, kNamedSettingsMax);
}

// Reads the five hot-key keys named with `suffix` ("0" ... "9", or "" in the oldest files)
// into `slot`.
void ReadHotKeySlot(const IniDocument& doc, Settings& s, int slot, std::string_view suffix)
{
    auto get = [&](std::string_view key) {
        return ReadIniInt16(doc.get(kOption, Key(key, suffix)));
    };
    const auto i = static_cast<size_t>(slot);
    s.hotKeyOn[i] = FlagFromFile(get(kHotKeyOnKey));
    s.hotKeyAlt[i] = FlagFromFile(get(kHotKeyAltKey));
    s.hotKeyShift[i] = FlagFromFile(get(kHotKeyShiftKey));
    s.hotKeyCtrl[i] = FlagFromFile(get(kHotKeyCtrlKey));
    s.hotKeyCode[i] = get(kHotKeyCodeKey);
}

PrintLayout ReadLayout(const IniDocument& doc, std::string_view section, bool withTitle)
{
    PrintLayout l;
    auto get = [&](std::string_view key) { return doc.get(section, key); };
    l.printerName = get("DeviceName");
    l.keepAspectRatio = ReadIniInt16(get("Hiritsu")) != 0;
    l.orientation = OrientationFromFile(ReadIniInt16(get("Orientation")));
    l.paperSource = ReadIniInt16(get("PaperBin"));
    l.paperSize = ReadIniInt16(get("PaperSize"));
    l.position = PositionFromFile(ReadIniInt16(get("Pos")));
    l.scaleMode = ScaleModeFromFile(ReadIniInt16(get("Size")));
    l.scalePercent = ReadIniInt16(get("SizeP"));
    if (withTitle) l.name = get("Title");
    l.leftCm = ReadIniReal(get("Left"));
    l.topCm = ReadIniReal(get("Top"));
    l.fontName = get("FontName");
    l.fontPoints = ReadIniInt32(get("FontSize"));
    l.italic = ReadIniFlag(get("FontItalic"));
    l.bold = ReadIniFlag(get("FontBold"));
    l.underline = ReadIniFlag(get("FontUnderLine"));
    l.titleText = get("TitleText");
    l.titleAlignment = TitleAlignmentFromFile(ReadIniInt16(get("TitleAlign")));
    l.titlePlacement = TitlePlacementFromFile(ReadIniInt16(get("TitleVAlign")));
    return l;
}

void WriteLayout(IniDocument& doc, std::string_view section, const PrintLayout& l, bool withTitle)
{
    auto set = [&](std::string_view key, std::string_view value) { doc.set(section, key, value); };
    set("DeviceName", l.printerName);
    set("Hiritsu", WriteIniInt(l.keepAspectRatio ? 1 : 0));
    set("Orientation", WriteIniInt(OrientationToFile(l.orientation)));
    set("PaperBin", WriteIniInt(l.paperSource));
    set("PaperSize", WriteIniInt(l.paperSize));
    set("Pos", WriteIniInt(PositionToFile(l.position)));
    set("Size", WriteIniInt(ScaleModeToFile(l.scaleMode)));
    set("SizeP", WriteIniInt(l.scalePercent));
    if (withTitle) set("Title", l.name);
    set("Left", WriteIniReal(l.leftCm));
    set("Top", WriteIniReal(l.topCm));
    set("FontName", l.fontName);
    set("FontSize", WriteIniInt(l.fontPoints));
    set("FontItalic", WriteIniFlag(l.italic));
    set("FontBold", WriteIniFlag(l.bold));
    set("FontUnderLine", WriteIniFlag(l.underline));
    set("TitleText", l.titleText);
    set("TitleAlign", WriteIniInt(TitleAlignmentToFile(l.titleAlignment)));
    set("TitleVAlign", WriteIniInt(TitlePlacementToFile(l.titlePlacement)));
}

void WritePrintSetting(IniDocument& doc, const PrintLayout& record, int n)
{
    doc.set(kOption, "PrinterCount", WriteIniInt(n));
    WriteLayout(doc, PrinterSection(n), record, true);
}

std::string_view ErrorText(int errorNumber)
{
    switch (errorNumber) {
    case kInputPastEndOfFile:
        return kInputPastEndOfFileText;
    case kTypeMismatch:
        return kTypeMismatchText;
    default:
        return kFileAccessErrorText;
    }
}

// Reads the seven integers of the defaults file, separated by commas or line breaks (blank
// lines are skipped, an empty field between commas is 0, values after the seventh are not
// looked at). Returns 0, or the number of the run-time error that stopped the reading.
int ReadDefaultsFile(FileSystem& fs, const std::string& path, FirstRunOptions& o)
{
    const std::optional<std::string> text = fs.readAll(path);
    if (!text) return kFileAccessError;

    std::vector<int16_t> values;
    std::string_view rest = *text;
    while (!rest.empty() && values.size() < 7) {
        const size_t lineEnd = std::min(rest.find_first_of("\r\n"), rest.size());
        std::string_view line = rest.substr(0, lineEnd);
        rest.remove_prefix(std::min(lineEnd + 1, rest.size()));
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        while (values.size() < 7) {
            const size_t comma = std::min(line.find(','), line.size());
            const std::string_view field = line.substr(0, comma);
            if (field.find_first_not_of(" \t") == std::string_view::npos) {
                values.push_back(0);
            } else {
                if (!ParseWholeIniNumber(field)) return kTypeMismatch;
                values.push_back(ReadIniInt16(field));
            }
            if (comma == line.size()) break;
            line.remove_prefix(comma + 1);
        }
    }
    if (values.size() < 7) return kInputPastEndOfFile;

    o.selfTimer = values[0];
    o.selfTime = values[1];
    o.confirmBeforePrint = values[2];
    o.iconDelete = values[3];
    // values[4] is read and ignored.
    o.reversePrint = values[5];
    o.doubleClick = values[6];
    return 0;
}

PrintLayout FirstRunLayout(FirstRunPrinterSource& printers)
{
    const std::optional<PrinterDefaults> printer = printers.firstRunPrinter();

    PrintLayout l;
    int paperSize = 0;
    if (printer) {
        l.printerName = printer->deviceName;
        l.orientation = PageOrientationOf(printer->orientation);
        if (printer->pageSize.isValid()) paperSize = PageSizeToFile(printer->pageSize.id());
    }
    // Only sizes the program can name are kept; Letter stands in for the others.
    const auto& sizeNames = PaperSizeNames();
    if (paperSize < 0 || paperSize >= static_cast<int>(sizeNames.size()) ||
        sizeNames[static_cast<size_t>(paperSize)].empty())
        paperSize = 1;
    l.paperSize = static_cast<int16_t>(paperSize);
    l.paperSource = 0;  // the printer's own source, which always has a name
    l.keepAspectRatio = true;
    l.position = PagePosition::Centre;
    l.scaleMode = ScaleMode::ActualSize;
    l.scalePercent = 100;
    l.leftCm = 0;
    l.topCm = 0;
    l.fontName = kDefaultFontName;
    l.fontPoints = 10;
    return l;
}

void WriteFirstRunKeys(IniDocument& doc, const FirstRunOptions& o, const PrintLayout& layout)
{
    doc.set(kApplication, "Title", kDefaultTitle);
    doc.set(kApplication, "Version", kFormatVersion);

    auto option = [&](std::string_view key, int value) {
        doc.set(kOption, key, WriteIniInt(value));
    };
    option("SelfTimer", o.selfTimer);
    option("SelfTime", o.selfTime);
    option("IconDelete", o.iconDelete);
    option("ConfirmBeforePrint", o.confirmBeforePrint);
    option("ReversePrint", o.reversePrint);
    option("DoubleClick", o.doubleClick);
    option("DoubleClickDo", o.doubleClick);
    option("LastSet", -1);
    option("IconCapture", 0);
    for (int slot = 0; slot < kHotKeySlots; ++slot)
        for (std::string_view key : kHotKeyKeys) option(Key(key, std::to_string(slot)), 0);
    option("PrinterCount", 0);

    WriteLayout(doc, kDefaultPrinter, layout, false);
}

}  // namespace

SettingsStore::SettingsStore(FileSystem& fs, FirstRunPrinterSource& printers,
                             std::string settingsFolder)
    : fs_(fs),
      printers_(printers),
      folder_(std::move(settingsFolder)),
      file_(fs, folder_ + "tovrimo.ini")
{
}

std::string SettingsStore::readIni(std::string_view section, std::string_view key)
{
    return file_.readIni(section, key);
}

void SettingsStore::writeIni(std::string_view section, std::string_view key, std::string_view value)
{
    if (unreadable_ || unwritable_) return;
    file_.writeIni(section, key, value);
}

SettingsLoadResult SettingsStore::loadSettings(SettingsData& data)
{
    SettingsLoadResult load;
    SettingsNotices& notices = load.notices;
    auto fatal = [&load] {
        load.status = LoadResult::Fatal;
        return std::move(load);
    };
    data = SettingsData{};
    Settings& s = data.settings;
    // The file is read once into memory and looked up key by key from there; nothing else
    // writes it while loading.
    unreadable_.reset();
    unwritable_.reset();
    std::string readError;
    std::optional<IniDocument> loaded = file_.load(&readError);
    IniDocument doc;
    if (loaded) {
        doc = std::move(*loaded);
    } else {
        // The file is there but unreadable: the program runs on the first-run values, kept
        // in memory only, and the file stays exactly as it is.
        unreadable_ =
            readError.empty() ? TranslatedText(kMessageBoxContext, kUnknownReadError) : readError;
        notices.push_back({std::string(kAppCaption),
                           TranslatedText(kMessageBoxContext, kLoadFailed) + "\n\n" +
                               settingsPath() + "\n" + *unreadable_,
                           SettingsNotice::Severity::Critical});
        FirstRunOptions o;
        bool imported = false;
        // The defaults file is read but not used up: its values never reached a file.
        if (readFirstRunOptions(o, imported, notices) == LoadResult::Fatal) return fatal();
        WriteFirstRunKeys(doc, o, FirstRunLayout(printers_));
    }

    s.title = doc.get(kApplication, "Title");
    s.iconPath = doc.get(kApplication, "Icon");
    if (s.title == kOldDefaultTitle) s.title = kDefaultTitle;
    if (s.title.empty()) {
        IniDocument written;
        if (initSettingsFile(written, notices) == LoadResult::Fatal) return fatal();
        if (unwritable_) {
            // Read back, an empty file would leave the session without a title, a printer or
            // a layout that prints: the first-run values stay in memory instead.
            doc = std::move(written);
            notices.push_back({std::string(kAppCaption),
                               TranslatedText(kMessageBoxContext, kFirstRunWriteFailed) + "\n\n" +
                                   settingsPath() + "\n" + *unwritable_,
                               SettingsNotice::Severity::Critical});
        } else {
            doc = file_.load().value_or(std::move(written));
        }
        s.title = doc.get(kApplication, "Title");
        s.iconPath = doc.get(kApplication, "Icon");
    }

    const double version = ReadIniReal(doc.get(kApplication, "Version"));
    s.formatVersion = WriteIniReal(version);

    auto option = [&](std::string_view key) { return ReadIniInt16(doc.get(kOption, key)); };
    // The options dialog takes no more than the longest delay, and a longer one would wrap
    // around in the delay's 16-bit milliseconds (60 s into a tenth of a second).
    s.selfTimerSeconds = std::clamp<int16_t>(option("SelfTime"), 0, kSelfTimeMaxSeconds);
    int16_t doubleClick = option("DoubleClick");
    int16_t doubleClickDo = option("DoubleClickDo");
    s.confirmBeforePrint = FlagFromFile(option("ConfirmBeforePrint"));
    s.hideIconWhileCapturing = FlagFromFile(option("IconDelete"));
    s.reverseColours = FlagFromFile(option("ReversePrint"));
    s.selfTimerOn = FlagFromFile(option("SelfTimer"));
    s.namedSettingCount = static_cast<int16_t>(NamedCount(option("PrinterCount")));
    s.lastNamedSetting = option("LastSet");
    // Written only as 1, but any other number has always counted as on too.
    s.fullDetailPrint = option("FullDetailPrint") != 0;
    // On unless the file says 0: files from before the option have no key and get it on.
    s.showCountdown = doc.get(kOption, "ShowCountdown").empty() || option("ShowCountdown") != 0;

    if (version == 2.6 || version == 2.7 || version == 2.8) {
        s.captureCursor = FlagFromFile(option("IconCapture"));
        for (int slot = 0; slot < kHotKeySlots; ++slot)
            ReadHotKeySlot(doc, s, slot, std::to_string(slot));
    } else if (version == 2.4 || version == 2.5) {
        // These versions had nine slots; slot 9 stays disabled.
        s.captureCursor = FlagFromFile(option("IconCapture"));
        for (int slot = 0; slot < kHotKeySlots - 1; ++slot)
            ReadHotKeySlot(doc, s, slot, std::to_string(slot));
    } else if (version == 0) {
        // The oldest files have one hot key, for the operation of the double-click action.
        const int k = doubleClick == 1 ? doubleClickDo - 1 : doubleClickDo + 3;
        const bool slotExists = k >= 0 && k < kHotKeySlots;
        if (slotExists) ReadHotKeySlot(doc, s, k, "");
        s.captureCursor = true;
        const auto i = static_cast<size_t>(k);
        if (slotExists && s.hotKeyCode[i] == 0) {
            s.hotKeyOn[i] = true;
            s.hotKeyAlt[i] = true;
            s.hotKeyShift[i] = false;
            s.hotKeyCtrl[i] = true;
            s.hotKeyCode[i] = kLegacyHotKeyCode;
        }
        if (doubleClickDo == 0) {
            doubleClick = 1;
            doubleClickDo = 1;
        }
    }
    // Any other version: no hot key is enabled and the pointer is not captured.
    s.doubleClickDestination = DoubleClickDestinationFromFile(doubleClick);
    s.doubleClickSource = DoubleClickSourceFromFile(doubleClickDo);

    PrintLayout& current = data.current;
    current = ReadLayout(doc, kDefaultPrinter, false);
    if (current.fontName.empty() || current.fontPoints == 0) {
        current.fontName = kDefaultFontName;
        current.fontPoints = 10;
        current.italic = false;
        current.bold = false;
        current.underline = false;
        current.titleAlignment = TitleAlignment::ImageLeft;
        current.titlePlacement = TitlePlacement::AboveImage;
    }

    for (int n = 1; n <= s.namedSettingCount; ++n) {
        PrintLayout& named = data.named[static_cast<size_t>(n - 1)];
        named = ReadLayout(doc, PrinterSection(n), true);
        if (named.fontName.empty()) named.fontName = kDefaultFontName;
        if (named.fontPoints == 0) named.fontPoints = 10;
    }
    return load;
}

SettingsSaveResult SettingsStore::saveSettings(const SettingsData& data)
{
    auto refused = [this](const std::string& reason) {
        return SettingsSaveResult{false,
                                  {{std::string(kAppCaption),
                                    TranslatedText(kMessageBoxContext, kSaveFailed) + "\n\n" +
                                        settingsPath() + "\n" + reason,
                                    SettingsNotice::Severity::Critical}}};
    };
    if (unreadable_ || unwritable_) {
        return refused(
            unreadable_
                ? TranslatedText(kMessageBoxContext, kUnreadableKept) + "（" + *unreadable_ + "）"
                : TranslatedText(kMessageBoxContext, kUnwritableKept) + "（" + *unwritable_ + "）");
    }
    const Settings& s = data.settings;
    // A new file from scratch, so that keys and sections not written below disappear, in the
    // encoding of the file it replaces.
    IniDocument doc;
    if (const std::optional<IniDocument> old = file_.load()) doc.setEncoding(old->encoding());

    doc.set(kApplication, "Title", s.title);
    doc.set(kApplication, "Icon", s.iconPath);
    doc.set(kApplication, "Version", kFormatVersion);

    auto option = [&](std::string_view key, int value) {
        doc.set(kOption, key, WriteIniInt(value));
    };
    option("SelfTime", s.selfTimerSeconds);
    option("DoubleClick", DoubleClickDestinationToFile(s.doubleClickDestination));
    option("DoubleClickDo", DoubleClickSourceToFile(s.doubleClickSource));
    option("ConfirmBeforePrint", FlagToFile(s.confirmBeforePrint));
    option("IconDelete", FlagToFile(s.hideIconWhileCapturing));
    option("ReversePrint", FlagToFile(s.reverseColours));
    option("SelfTimer", FlagToFile(s.selfTimerOn));
    const int count = NamedCount(s.namedSettingCount);
    option("PrinterCount", count);
    option("LastSet", s.lastNamedSetting);
    option("IconCapture", FlagToFile(s.captureCursor));
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        const auto i = static_cast<size_t>(slot);
        const std::string suffix = std::to_string(slot);
        option(Key(kHotKeyOnKey, suffix), FlagToFile(s.hotKeyOn[i]));
        option(Key(kHotKeyAltKey, suffix), FlagToFile(s.hotKeyAlt[i]));
        option(Key(kHotKeyShiftKey, suffix), FlagToFile(s.hotKeyShift[i]));
        option(Key(kHotKeyCtrlKey, suffix), FlagToFile(s.hotKeyCtrl[i]));
        option(Key(kHotKeyCodeKey, suffix), s.hotKeyCode[i]);
    }
    // Off is the absence of the key, which keeps every file written without the option as it was.
    if (s.fullDetailPrint) option("FullDetailPrint", 1);
    // Likewise on is the absence of the key.
    if (!s.showCountdown) option("ShowCountdown", 0);

    WriteLayout(doc, kDefaultPrinter, data.current, false);

    for (int n = 1; n <= count; ++n)
        WritePrintSetting(doc, data.named[static_cast<size_t>(n - 1)], n);

    std::string error;
    if (file_.save(doc, &error)) return {true, {}};
    return refused(error);
}

void SettingsStore::savePrintSetting(const PrintLayout& record, int n)
{
    if (unreadable_ || unwritable_) return;
    std::optional<IniDocument> doc = file_.load();
    if (!doc) return;
    WritePrintSetting(*doc, record, n);
    file_.save(*doc, nullptr);
}

SettingsLoadResult SettingsStore::initSettingsFile()
{
    IniDocument written;
    SettingsLoadResult load;
    load.status = initSettingsFile(written, load.notices);
    return load;
}

LoadResult SettingsStore::initSettingsFile(IniDocument& written, SettingsNotices& notices)
{
    FirstRunOptions o;
    bool imported = false;
    if (readFirstRunOptions(o, imported, notices) == LoadResult::Fatal) return LoadResult::Fatal;

    // The keys go into whatever file exists, replacing keys of the same name and keeping all
    // others. A file that exists but cannot be read is left alone.
    std::optional<IniDocument> doc = file_.load();
    if (!doc) return LoadResult::Loaded;
    WriteFirstRunKeys(*doc, o, FirstRunLayout(printers_));

    // All keys are written in one replacement of the file. The defaults are used up only when
    // they reached the file; otherwise the next start imports them again.
    std::string error;
    if (file_.save(*doc, &error)) {
        if (imported) fs_.remove(defaultsPath());
    } else {
        unwritable_ =
            error.empty() ? TranslatedText(kMessageBoxContext, kUnknownWriteError) : error;
    }
    written = std::move(*doc);
    return LoadResult::Loaded;
}

LoadResult SettingsStore::readFirstRunOptions(FirstRunOptions& o, bool& imported,
                                              SettingsNotices& notices)
{
    imported = false;
    if (!fs_.exists(defaultsPath())) return LoadResult::Loaded;
    if (const int error = ReadDefaultsFile(fs_, defaultsPath(), o)) {
        notices.push_back(
            {TranslatedText(kMessageBoxContext, kErrorCaptionPrefix) + std::to_string(error),
             std::string(ErrorText(error)), SettingsNotice::Severity::Plain});
        return LoadResult::Fatal;
    }
    imported = true;
    return LoadResult::Loaded;
}

}  // namespace tovrimo
