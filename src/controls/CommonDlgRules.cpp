#include "controls/CommonDlgRules.h"

#include <cmath>

#include "core/Rounding.h"

namespace tovrimo {

namespace {

std::vector<std::string> SplitBars(const std::string& text)
{
    std::vector<std::string> items;
    std::string item;
    for (char c : text) {
        if (c == '|') {
            items.push_back(item);
            item.clear();
        } else {
            item += c;
        }
    }
    if (!item.empty()) items.push_back(item);
    return items;
}

}  // namespace

std::string SystemFilterText(const std::string& filter)
{
    std::string text = filter;
    for (char& c : text)
        if (c == '|') c = '\0';
    if (text.empty() || text.back() != '\0') text += '\0';
    text += '\0';
    return text;
}

std::vector<FilterPair> FilterPairs(const std::string& filter)
{
    const std::vector<std::string> items = SplitBars(filter);
    std::vector<FilterPair> pairs;
    for (size_t i = 0; i + 1 < items.size(); i += 2) {
        // The system stops at the first empty item: it reads it as the end of the list.
        if (items[i].empty() || items[i + 1].empty()) break;
        pairs.push_back({items[i], items[i + 1]});
    }
    return pairs;
}

std::string DialogNameFilter(const FilterPair& pair)
{
    std::string patterns;
    std::string item;
    auto flush = [&] {
        // Surrounding spaces are not part of a pattern; inner ones cannot be expressed.
        const auto first = item.find_first_not_of(' ');
        const auto last = item.find_last_not_of(' ');
        if (first != std::string::npos) {
            if (!patterns.empty()) patterns += ' ';
            patterns += item.substr(first, last - first + 1);
        }
        item.clear();
    };
    for (char c : pair.patterns) {
        if (c == ';')
            flush();
        else
            item += c;
    }
    flush();
    return pair.description + " (" + patterns + ")";
}

std::vector<std::string> DialogNameFilters(const std::string& filter)
{
    std::vector<std::string> filters;
    for (const FilterPair& pair : FilterPairs(filter)) filters.push_back(DialogNameFilter(pair));
    return filters;
}

int SelectedFilterPosition(int filterIndex, int pairCount)
{
    if (filterIndex < 1 || filterIndex > pairCount) return 0;
    return filterIndex - 1;
}

bool FileNameFits(const std::u16string& path, int32_t maxFileSize)
{
    return static_cast<int64_t>(path.size()) < static_cast<int64_t>(maxFileSize);
}

bool FontDlgBold(int weight)
{
    return weight != 400;
}

bool ShowFontBold(int weight)
{
    return weight >= 500;
}

int LogicalFontHeight(double points, double pixelsPerInch)
{
    return static_cast<int>(nearestEven(points * pixelsPerInch / 72.0));
}

int PointsFromHeight(int height, double pixelsPerInch)
{
    if (pixelsPerInch <= 0) return 0;
    return static_cast<int>(nearestEven(std::fabs(height * 72.0 / pixelsPerInch)));
}

std::string ErrDescriptionText(int32_t errNumber)
{
    switch (errNumber) {
    case 32751:
        return "Microsoft Windows のヘルプを呼び出せません。";
    case 32752:
        return "FileName プロパティまたは Filter プロパティにメモリを割り当てられません。";
    case 32755:
        return "[キャンセル] ボタンが選択されました。";
    case 32757:
        return "関数が、ハンドルに関連付けられたメモリをロックできません。";
    case 32758:
        return "関数が、内部のデータ構造にメモリを割り当てられません。";
    case 32759:
        return "関数が指定したリソースをロックできません。";
    case 32760:
    case 32761:
        return "関数が指定したリソースをロードできません。";
    case 32765:
        return "関数を初期化できません。";
    case -32768:
        return "関数がダイアログ ボックスをロードできません。";
    case 24574:
        return "フォントが存在しません。";
    case 20476:
        return "メンバ lpstrFile が指すバッファが小さすぎます。";
    case 20477:
        return "ファイル名が無効です。";
    case 20478:
        return "メモリ不足のために、リスト ボックスをサブクラス化できません。";
    case 28660:
        return "WIN.INI ファイル内の [devices] "
               "セクションに、必要なプリンタについてのエントリがありません。";
    case 28661:
        return "PrintDlg 関数が情報コンテキストを作成できません。";
    case 28662:
        return "DevMode データ構造と DevNames データ構造のデータが異なるプリンタを指しています。";
    case 28663:
        return "通常使うプリンタが設定されていません。";
    case 28664:
        return "プリンタ ドライバが見つかりません。";
    case 28665:
        return "PrintDlg 関数を初期化できません。";
    case 28666:
        return "プリンタ ドライバが DevMode データ構造を初期化できません。";
    case 28667:
        return "PrintDlg 関数が、指定したプリンタ ドライバをロードできません。";
    case 28668:
    case 28671:
        return "PDReturnDefault フラグが設定されていますが、hDevMode フィールドまたは hDevNames "
               "フィールドが 0 ではありません。";
    case 28669:
        return "CommonDialog 関数が WIN.INI の [devices] セクションの文字列を解析できません。";
    case 28670:
        return "必要なリソースを読み込めません。";
    default:
        return "未知のｴﾗｰです。";
    }
}

}  // namespace tovrimo
