#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "resident/OptionTexts.h"

namespace tovrimo {
namespace {

std::string HelpText()
{
    std::ifstream in(std::string(TOVRIMO_SOURCE_DIR) + "/resources/tovrimo.html");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(HelpFileTest, IsUtf8HtmlWithAContentsSectionWhoseLinksAllLand)
{
    const std::string help = HelpText();
    ASSERT_FALSE(help.empty());
    EXPECT_NE(help.find("<meta charset=\"utf-8\">"), std::string::npos);
    const size_t contents = help.find("id=\"contents\"");
    ASSERT_NE(contents, std::string::npos);
    EXPECT_LT(contents, help.find("<h2", help.find("<h2") + 1));  // the first section

    std::set<std::string> ids;
    const std::regex id("id=\"([^\"]+)\"");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), id); it != std::sregex_iterator();
         ++it)
        ids.insert((*it)[1]);
    const std::regex link("href=\"#([^\"]+)\"");
    int links = 0;
    for (auto it = std::sregex_iterator(help.begin(), help.end(), link);
         it != std::sregex_iterator(); ++it, ++links)
        EXPECT_TRUE(ids.count((*it)[1])) << (*it)[1];
    EXPECT_GE(links, 14);
}

TEST(HelpFileTest, ExplainsEveryCommandSwitchOptionAndSettingsKey)
{
    const std::string help = HelpText();
    const char* const mustAppear[] = {
        // tray menu
        "ハードコピー", "デスクトップ画面全体", "アクティブなウィンドウ", "領域指定",
        "クリップボードから", "画像ファイルを指定", "コピー", "付せん操作", "全ての付せんをはがす",
        "クリップボードから付せんを作成", "繰り返し", "オプション", "ヘルプ", "トヴリモについて...",
        "トヴリモの終了", "メニューを閉じる", "キャンセル",
        // print dialog, title options, named settings, sticky notes
        "印刷開始(&amp;P)", "コピー(&amp;C)", "ファイル保存(&amp;S)", "付せん作成(&amp;F)",
        "閉じる(&amp;U)", "タイトルの設定(&amp;U)", "&amp;[日付]", "&amp;[時刻]", "&amp;[PC名]",
        "&amp;[ユーザ名]", "&amp;[タイトル]", "設定名", "名前を付けて保存", "常に手前に表示する",
        "はがす",
        // command line
        "/d", "/a", "/r", "/h=", "/c", "/S:",
        // settings file
        "tovrimo.ini", "~/.config/tovrimo/", "tovrimo.inf"};
    for (const char* text : mustAppear) EXPECT_NE(help.find(text), std::string::npos) << text;

    namespace t = option_texts;
    for (std::string_view text : {t::kDoubleClickGroup,
                                  t::kPrintAction,
                                  t::kCopyAction,
                                  t::kNoteAction,
                                  t::kRepeatAction,
                                  t::kDesktopSource,
                                  t::kActiveWindowSource,
                                  t::kRegionSource,
                                  t::kFileSource,
                                  t::kClipboardSource,
                                  t::kCaptureCursorBox,
                                  t::kHideIconBox,
                                  t::kSelfTimerBox,
                                  t::kConfirmBox,
                                  t::kReverseColoursBox,
                                  t::kTitleLabel,
                                  t::kIconPathLabel,
                                  t::kTabs[0],
                                  t::kTabs[1],
                                  t::kTabs[2]})
        EXPECT_NE(help.find(text), std::string::npos) << text;
    for (std::string_view row : t::kHotKeyRows) EXPECT_NE(help.find(row), std::string::npos) << row;

    for (const char* key : {"Title",
                            "Icon",
                            "Version",
                            "SelfTime",
                            "DoubleClick",
                            "DoubleClickDo",
                            "ConfirmBeforePrint",
                            "IconDelete",
                            "ReversePrint",
                            "SelfTimer",
                            "PrinterCount",
                            "LastSet",
                            "IconCapture",
                            "HotKeyOn",
                            "HotKeyALT",
                            "HotKeySHIFT",
                            "HotKeyCTRL",
                            "HotKeyButton",
                            "DeviceName",
                            "Hiritsu",
                            "Orientation",
                            "PaperBin",
                            "PaperSize",
                            "Pos",
                            "SizeP",
                            "Left",
                            "Top",
                            "FontName",
                            "FontSize",
                            "FontItalic",
                            "FontBold",
                            "FontUnderLine",
                            "TitleText",
                            "TitleAlign",
                            "TitleVAlign",
                            "[DefaultPrinter]",
                            "[Printer1]",
                            "[Application]",
                            "[Option]"})
        EXPECT_NE(help.find(key), std::string::npos) << key;
}

}  // namespace
}  // namespace tovrimo
