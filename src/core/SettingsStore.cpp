#include "core/SettingsStore.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/IniValues.h"
#include "core/PaperNames.h"

namespace tovrimo {

using namespace settings_texts;

namespace {

constexpr std::string_view kApplication = "Application";
constexpr std::string_view kOption = "Option";
constexpr std::string_view kDefaultPrinter = "DefaultPrinter";

// The five hot-key keys of a slot, in the order they are written.
struct HotKeyField {
    std::string_view key;
    std::array<int16_t, kHotKeySlots> Settings::*slots;
};
constexpr HotKeyField kHotKeyFields[] = {
    {"HotKeyOn", &Settings::HotKeyOn},         {"HotKeyALT", &Settings::HotKeyALT},
    {"HotKeySHIFT", &Settings::HotKeySHIFT},   {"HotKeyCTRL", &Settings::HotKeyCTRL},
    {"HotKeyButton", &Settings::HotKeyButton},
};

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
    for (const HotKeyField& f : kHotKeyFields)
        (s.*f.slots)[slot] = ReadIniInt16(doc.get(kOption, Key(f.key, suffix)));
}

// The layout's codes as the file numbers them. A number without a meaning here (only a
// hand-edited file has one) reads as Unrecognised and is written back as the number given
// for Unrecognised, which reads as Unrecognised again: the layout keeps printing the same
// way, though the file no longer holds the typed number. Every value the program itself
// writes keeps its number.
template <typename Code>
struct CodeNumber {
    Code code;
    int16_t number;
};

constexpr CodeNumber<PagePosition> kPositionNumbers[] = {
    {PagePosition::TopLeft, 1},      {PagePosition::TopRight, 2},    {PagePosition::Centre, 3},
    {PagePosition::BottomLeft, 4},   {PagePosition::BottomRight, 5}, {PagePosition::Manual, 6},
    {PagePosition::Unrecognised, 0},
};
constexpr CodeNumber<ScaleMode> kScaleModeNumbers[] = {
    {ScaleMode::ActualSize, 1},
    {ScaleMode::FitToPaper, 2},
    {ScaleMode::Percent, 3},
    {ScaleMode::Unrecognised, 0},
};
constexpr CodeNumber<PageOrientation> kOrientationNumbers[] = {
    {PageOrientation::Portrait, 1},
    {PageOrientation::Landscape, 2},
    {PageOrientation::Unrecognised, 0},
};
// 0 is the first alignment here, so Unrecognised is written as -1.
constexpr CodeNumber<TitleAlignment> kTitleAlignmentNumbers[] = {
    {TitleAlignment::ImageLeft, 0},
    {TitleAlignment::ImageCentre, 1},
    {TitleAlignment::ImageRight, 2},
    {TitleAlignment::Unrecognised, -1},
};
constexpr CodeNumber<TitlePlacement> kTitlePlacementNumbers[] = {
    {TitlePlacement::AboveImage, 0},
    {TitlePlacement::BelowImage, 1},
    {TitlePlacement::Unrecognised, -1},
};

template <typename Code, size_t N>
Code CodeOf(const CodeNumber<Code> (&table)[N], int16_t number)
{
    for (const auto& entry : table)
        if (entry.number == number) return entry.code;
    return Code::Unrecognised;
}

template <typename Code, size_t N>
int16_t NumberOf(const CodeNumber<Code> (&table)[N], Code code)
{
    for (const auto& entry : table)
        if (entry.code == code) return entry.number;
    return NumberOf(table, Code::Unrecognised);
}

PrintLayout ReadLayout(const IniDocument& doc, std::string_view section, bool withTitle)
{
    PrintLayout l;
    auto get = [&](std::string_view key) { return doc.get(section, key); };
    l.printerName = get("DeviceName");
    l.keepAspectRatio = ReadIniInt16(get("Hiritsu")) != 0;
    l.orientation = CodeOf(kOrientationNumbers, ReadIniInt16(get("Orientation")));
    l.paperSource = ReadIniInt16(get("PaperBin"));
    l.paperSize = ReadIniInt16(get("PaperSize"));
    l.position = CodeOf(kPositionNumbers, ReadIniInt16(get("Pos")));
    l.scaleMode = CodeOf(kScaleModeNumbers, ReadIniInt16(get("Size")));
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
    l.titleAlignment = CodeOf(kTitleAlignmentNumbers, ReadIniInt16(get("TitleAlign")));
    l.titlePlacement = CodeOf(kTitlePlacementNumbers, ReadIniInt16(get("TitleVAlign")));
    return l;
}

void WriteLayout(IniDocument& doc, std::string_view section, const PrintLayout& l, bool withTitle)
{
    auto set = [&](std::string_view key, std::string_view value) { doc.set(section, key, value); };
    set("DeviceName", l.printerName);
    set("Hiritsu", WriteIniInt(l.keepAspectRatio ? 1 : 0));
    set("Orientation", WriteIniInt(NumberOf(kOrientationNumbers, l.orientation)));
    set("PaperBin", WriteIniInt(l.paperSource));
    set("PaperSize", WriteIniInt(l.paperSize));
    set("Pos", WriteIniInt(NumberOf(kPositionNumbers, l.position)));
    set("Size", WriteIniInt(NumberOf(kScaleModeNumbers, l.scaleMode)));
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
    set("TitleAlign", WriteIniInt(NumberOf(kTitleAlignmentNumbers, l.titleAlignment)));
    set("TitleVAlign", WriteIniInt(NumberOf(kTitlePlacementNumbers, l.titlePlacement)));
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

    o.SelfTimer = values[0];
    o.SelfTime = values[1];
    o.ConfirmBeforePrint = values[2];
    o.IconDelete = values[3];
    // values[4] is read and ignored.
    o.ReversePrint = values[5];
    o.DoubleClick = values[6];
    return 0;
}

PrintLayout FirstRunLayout(PrinterBackend& printers)
{
    std::optional<PrinterDefaults> printer = printers.defaultPrinter();
    if (!printer) {
        const std::vector<std::string> names = printers.printerNames();
        if (!names.empty())
            printer = PrinterDefaults{names.front(), printers.defaultPaperSize(names.front()), 1};
    }

    PrintLayout l;
    int paperSize = 0;
    if (printer) {
        l.printerName = printer->deviceName;
        l.orientation = CodeOf(kOrientationNumbers, static_cast<int16_t>(printer->orientation));
        paperSize = printer->paperSize;
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
    option("SelfTimer", o.SelfTimer);
    option("SelfTime", o.SelfTime);
    option("IconDelete", o.IconDelete);
    option("ConfirmBeforePrint", o.ConfirmBeforePrint);
    option("ReversePrint", o.ReversePrint);
    option("DoubleClick", o.DoubleClick);
    option("DoubleClickDo", o.DoubleClick);
    option("LastSet", -1);
    option("IconCapture", 0);
    for (int slot = 0; slot < kHotKeySlots; ++slot)
        for (const HotKeyField& f : kHotKeyFields) option(Key(f.key, std::to_string(slot)), 0);
    option("PrinterCount", 0);

    WriteLayout(doc, kDefaultPrinter, layout, false);
}

}  // namespace

SettingsStore::SettingsStore(FileSystem& fs, PrinterBackend& printers, MessageBoxes& messages,
                             std::string settingsFolder)
    : fs_(fs),
      printers_(printers),
      messages_(messages),
      folder_(std::move(settingsFolder)),
      file_(fs, folder_ + "tovrimo.ini")
{
}

std::string SettingsStore::ReadIni(std::string_view section, std::string_view key)
{
    return file_.ReadIni(section, key);
}

void SettingsStore::WriteIni(std::string_view section, std::string_view key, std::string_view value)
{
    if (unreadable_) return;
    file_.WriteIni(section, key, value);
}

LoadResult SettingsStore::LoadSettings(SettingsData& data)
{
    data = SettingsData{};
    Settings& s = data.settings;
    // The file is read once into memory and looked up key by key from there; nothing else
    // writes it while loading.
    unreadable_.reset();
    std::string readError;
    std::optional<IniDocument> loaded = file_.load(&readError);
    IniDocument doc;
    if (loaded) {
        doc = std::move(*loaded);
    } else {
        // The file is there but unreadable: the program runs on the first-run values, kept
        // in memory only, and the file stays exactly as it is.
        unreadable_ = readError.empty() ? std::string(kUnknownReadError) : readError;
        messages_.show(std::string(kAppCaption),
                       std::string(kLoadFailed) + "\n\n" + settingsPath() + "\n" + *unreadable_,
                       MsgButtons::Ok, MsgIcon::Critical);
        FirstRunOptions o;
        bool imported = false;
        // The defaults file is read but not used up: its values never reached a file.
        if (ReadFirstRunOptions(o, imported) == LoadResult::Fatal) return LoadResult::Fatal;
        WriteFirstRunKeys(doc, o, FirstRunLayout(printers_));
    }

    s.Title = doc.get(kApplication, "Title");
    s.Icon = doc.get(kApplication, "Icon");
    if (s.Title == kOldDefaultTitle) s.Title = kDefaultTitle;
    if (s.Title.empty()) {
        if (InitSettingsFile() == LoadResult::Fatal) return LoadResult::Fatal;
        doc = file_.load().value_or(IniDocument{});
        s.Title = doc.get(kApplication, "Title");
        s.Icon = doc.get(kApplication, "Icon");
    }

    const double version = ReadIniReal(doc.get(kApplication, "Version"));
    s.Version = WriteIniReal(version);

    auto option = [&](std::string_view key) { return ReadIniInt16(doc.get(kOption, key)); };
    s.SelfTime = option("SelfTime");
    s.DoubleClick = option("DoubleClick");
    s.DoubleClickDo = option("DoubleClickDo");
    s.ConfirmBeforePrint = option("ConfirmBeforePrint");
    s.IconDelete = option("IconDelete");
    s.ReversePrint = option("ReversePrint");
    s.SelfTimer = option("SelfTimer");
    s.PrinterCount = static_cast<int16_t>(NamedCount(option("PrinterCount")));
    s.LastSet = option("LastSet");
    s.FullDetailPrint = option("FullDetailPrint") != 0 ? 1 : 0;

    if (version == 2.6 || version == 2.7 || version == 2.8) {
        s.IconCapture = option("IconCapture");
        for (int slot = 0; slot < kHotKeySlots; ++slot)
            ReadHotKeySlot(doc, s, slot, std::to_string(slot));
    } else if (version == 2.4 || version == 2.5) {
        // These versions had nine slots; slot 9 stays disabled.
        s.IconCapture = option("IconCapture");
        for (int slot = 0; slot < kHotKeySlots - 1; ++slot)
            ReadHotKeySlot(doc, s, slot, std::to_string(slot));
    } else if (version == 0) {
        // The oldest files have one hot key, for the operation of the double-click action.
        const int k = s.DoubleClick == 1 ? s.DoubleClickDo - 1 : s.DoubleClickDo + 3;
        const bool slotExists = k >= 0 && k < kHotKeySlots;
        if (slotExists) ReadHotKeySlot(doc, s, k, "");
        s.IconCapture = 1;
        if (slotExists && s.HotKeyButton[k] == 0) {
            s.HotKeyOn[k] = 1;
            s.HotKeyALT[k] = 1;
            s.HotKeySHIFT[k] = 0;
            s.HotKeyCTRL[k] = 1;
            s.HotKeyButton[k] = kLegacyHotKeyCode;
        }
        if (s.DoubleClickDo == 0) {
            s.DoubleClick = 1;
            s.DoubleClickDo = 1;
        }
    }
    // Any other version: no hot key is enabled and IconCapture stays 0.

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

    for (int n = 1; n <= s.PrinterCount; ++n) {
        PrintLayout& named = data.named[static_cast<size_t>(n - 1)];
        named = ReadLayout(doc, PrinterSection(n), true);
        if (named.fontName.empty()) named.fontName = kDefaultFontName;
        if (named.fontPoints == 0) named.fontPoints = 10;
    }
    return LoadResult::Loaded;
}

bool SettingsStore::SaveSettings(const SettingsData& data)
{
    if (unreadable_) {
        messages_.show(std::string(kAppCaption),
                       std::string(kSaveFailed) + "\n\n" + settingsPath() + "\n" +
                           std::string(kUnreadableKept) + "（" + *unreadable_ + "）",
                       MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    const Settings& s = data.settings;
    // A new file from scratch, so that keys and sections not written below disappear, in the
    // encoding of the file it replaces.
    IniDocument doc;
    if (const std::optional<IniDocument> old = file_.load()) doc.setEncoding(old->encoding());

    doc.set(kApplication, "Title", s.Title);
    doc.set(kApplication, "Icon", s.Icon);
    doc.set(kApplication, "Version", kFormatVersion);

    auto option = [&](std::string_view key, int value) {
        doc.set(kOption, key, WriteIniInt(value));
    };
    option("SelfTime", s.SelfTime);
    option("DoubleClick", s.DoubleClick);
    option("DoubleClickDo", s.DoubleClickDo);
    option("ConfirmBeforePrint", s.ConfirmBeforePrint);
    option("IconDelete", s.IconDelete);
    option("ReversePrint", s.ReversePrint);
    option("SelfTimer", s.SelfTimer);
    const int count = NamedCount(s.PrinterCount);
    option("PrinterCount", count);
    option("LastSet", s.LastSet);
    option("IconCapture", s.IconCapture);
    for (int slot = 0; slot < kHotKeySlots; ++slot)
        for (const HotKeyField& f : kHotKeyFields)
            option(Key(f.key, std::to_string(slot)), (s.*f.slots)[slot]);
    // Off is the absence of the key, which keeps every file written without the option as it was.
    if (s.FullDetailPrint != 0) option("FullDetailPrint", 1);

    WriteLayout(doc, kDefaultPrinter, data.current, false);

    for (int n = 1; n <= count; ++n)
        WritePrintSetting(doc, data.named[static_cast<size_t>(n - 1)], n);

    std::string error;
    if (file_.save(doc, &error)) return true;
    messages_.show(std::string(kAppCaption),
                   std::string(kSaveFailed) + "\n\n" + settingsPath() + "\n" + error,
                   MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

void SettingsStore::SavePrintSetting(const PrintLayout& record, int n)
{
    if (unreadable_) return;
    std::optional<IniDocument> doc = file_.load();
    if (!doc) return;
    WritePrintSetting(*doc, record, n);
    file_.save(*doc, nullptr);
}

LoadResult SettingsStore::InitSettingsFile()
{
    FirstRunOptions o;
    bool imported = false;
    if (ReadFirstRunOptions(o, imported) == LoadResult::Fatal) return LoadResult::Fatal;

    // The keys go into whatever file exists, replacing keys of the same name and keeping all
    // others. A file that exists but cannot be read is left alone.
    std::optional<IniDocument> doc = file_.load();
    if (!doc) return LoadResult::Loaded;
    WriteFirstRunKeys(*doc, o, FirstRunLayout(printers_));

    // All keys are written in one replacement of the file. The defaults are used up only when
    // they reached the file; otherwise the next start imports them again.
    if (file_.save(*doc, nullptr) && imported) fs_.remove(defaultsPath());
    return LoadResult::Loaded;
}

LoadResult SettingsStore::ReadFirstRunOptions(FirstRunOptions& o, bool& imported)
{
    imported = false;
    if (!fs_.exists(defaultsPath())) return LoadResult::Loaded;
    if (const int error = ReadDefaultsFile(fs_, defaultsPath(), o)) {
        messages_.show(std::string(kErrorCaptionPrefix) + std::to_string(error),
                       std::string(ErrorText(error)), MsgButtons::Ok, MsgIcon::None);
        return LoadResult::Fatal;
    }
    imported = true;
    return LoadResult::Loaded;
}

}  // namespace tovrimo
