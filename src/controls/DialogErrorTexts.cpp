#include "controls/DialogErrorTexts.h"

namespace tovrimo {

std::string dialogErrorText(int errorCode)
{
    switch (errorCode) {
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
