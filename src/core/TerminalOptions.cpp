#include "core/TerminalOptions.h"

namespace tovrimo {

std::string UsageText()
{
    return "使い方: tovrimo [スイッチ...]\n"
           "\n"
           "スイッチを付けずに起動すると、タスクトレイに常駐します。\n"
           "スイッチを付けると、ハードコピーを1枚とって印刷し、終了します。\n"
           "スイッチは大文字と小文字を区別し、次の形だけを受け付けます。\n"
           "キャプチャのスイッチ (/d, /a, /r) がないときは、エラーになります。\n"
           "\n"
           "  /d, /D\n"
           "      デスクトップ画面全体のハードコピー\n"
           "      例: tovrimo /d\n"
           "  /a, /A\n"
           "      アクティブなウィンドウ (または /h の番号のウィンドウ) のハードコピー\n"
           "      例: tovrimo /a\n"
           "  /r, /R\n"
           "      領域指定のハードコピー (デスクトップの上で範囲をドラッグします)\n"
           "      例: tovrimo /r\n"
           "  /h=番号, /H=番号, /h:番号, /H:番号\n"
           "      /a で写すウィンドウの番号 (0 または省略: アクティブなウィンドウ)\n"
           "      例: tovrimo /a /h=1050\n"
           "  /c, /C, -c, -C\n"
           "      印刷する前に印刷ダイアログを表示する\n"
           "      例: tovrimo /d /c\n"
           "  /S:名前, /s:名前, /s=名前, /S=名前\n"
           "      名前を付けた印刷設定で印刷する (空白を含む名前は指定できません)\n"
           "      例: tovrimo /d /S:Report\n"
           "  --help\n"
           "      この説明を表示して終了する (ほかのスイッチとは一緒に使えません)\n"
           "      例: tovrimo --help\n"
           "  --version\n"
           "      バージョンを表示して終了する (ほかのスイッチとは一緒に使えません)\n"
           "      例: tovrimo --version\n";
}

std::optional<std::string> TerminalOptionText(const std::vector<std::string>& tokens,
                                              std::string_view version)
{
    if (tokens.size() != 1) return std::nullopt;
    if (tokens.front() == "--help") return UsageText();
    if (tokens.front() == "--version") return "tovrimo " + std::string(version) + "\n";
    return std::nullopt;
}

}  // namespace tovrimo
