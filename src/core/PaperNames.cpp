#include "core/PaperNames.h"

namespace tovrimo {

namespace {

std::array<std::string, 257> MakePaperSizeNames()
{
    std::array<std::string, 257> t;
    t[0] = "指定なし";
    t[1] = "ﾚﾀｰ、8 1/2 x 11 ｲﾝﾁ";
    t[2] = "ﾚﾀｰ ｽﾓｰﾙ、8 1/2 x 11 ｲﾝﾁ";
    t[3] = "ﾀﾌﾞﾛｲﾄﾞ、11 x 17 ｲﾝﾁ";
    t[4] = "ﾚｼﾞｬｰ、17 x 11 ｲﾝﾁ";
    t[5] = "ﾘｰｶﾞﾙ、8 1/2 x 14 ｲﾝﾁ";
    t[6] = "ｽﾃｰﾄﾒﾝﾄ、5 1/2 x 8 1/2 ｲﾝﾁ";
    t[7] = "ｴｸﾞｾﾞｸﾃｨﾌﾞ、7 1/2 x 10 1/2 ｲﾝﾁ";
    t[8] = "A3、297 x 420 mm";
    t[9] = "A4、210 x 297 mm";
    t[10] = "A4 Small、210 x 297 mm";
    t[11] = "A5、148 x 210 mm";
    t[12] = "B4、250 x 354 mm";
    t[13] = "B5、182 x 257 mm";
    t[14] = "ﾌｫﾘｵ、8 1/2 x 13 ｲﾝﾁ";
    t[15] = "ｸｫｰﾄ、215 x 275 mm";
    t[16] = "10 x 14 ｲﾝﾁ";
    t[17] = "11 x 17 ｲﾝﾁ";
    t[18] = "ﾉｰﾄ、8 1/2 x 11 ｲﾝﾁ";
    t[19] = "封筒 #9、3 7/8 x 8 7/8 ｲﾝﾁ";
    t[20] = "封筒 #10、4 1/8 x 9 1/2 ｲﾝﾁ";
    t[21] = "封筒 #11、4 1/2 x 10 3/8 ｲﾝﾁ";
    t[22] = "封筒 #12、4 1/2 x 11 ｲﾝﾁ";
    t[23] = "封筒 #14、5 x 11 1/2 ｲﾝﾁ";
    t[24] = "C ｻｲｽﾞ ｼｰﾄ";
    t[25] = "D ｻｲｽﾞ ｼｰﾄ";
    t[26] = "E ｻｲｽﾞ ｼｰﾄ";
    t[27] = "封筒 DL、110 x 220 mm";
    t[28] = "封筒 C5、162 x 229 mm";
    t[29] = "封筒 C3、324 x 458 mm";
    t[30] = "封筒 C4、229 x 324 mm";
    t[31] = "封筒 C6、114 x 162 mm";
    t[32] = "封筒 C65、114 x 229 mm";
    t[33] = "封筒 B4、250 x 353 mm";
    t[34] = "封筒 B5、176 x 250 mm";
    t[35] = "封筒 B6、176 x 125 mm";
    t[36] = "封筒、110 x 230 mm";
    t[37] = "封筒 Monarch、3 7/8 x 7 1/2 ｲﾝﾁ";
    t[38] = "封筒、3 5/8 x 6 1/2 ｲﾝﾁ";
    t[39] = "U.S. ｽﾀﾝﾀﾞｰﾄﾞ ﾌｧﾝﾌｫｰﾙﾄﾞ";
    t[40] = "ﾄﾞｲﾂ ｽﾀﾝﾀﾞｰﾄﾞ ﾌｧﾝﾌｫｰﾙﾄﾞ";
    t[41] = "ﾄﾞｲﾂ ﾘｰｶﾞﾙ ﾌｧﾝﾌｫｰﾙﾄﾞ";
    t[43] = "はがき";
    t[256] = "ﾕｰｻﾞｰ定義のｻｲｽﾞ";
    return t;
}

std::array<std::string, 101> MakePaperBinNames()
{
    std::array<std::string, 101> t;
    t[0] = "指定なし";
    t[1] = "上段のﾄﾚｰの用紙";
    t[2] = "下段のﾄﾚｰの用紙";
    t[3] = "中央のﾄﾚｰの用紙";
    t[4] = "1枚ずつ手差しで供給されるまで待機";
    t[5] = "封筒ﾌｨｰﾀﾞの封筒";
    t[6] = "封筒ﾌｨｰﾀﾞの封筒の供給待機";
    t[7] = "現在の既定値のﾄﾚｰの用紙";
    t[8] = "ﾄﾗｸﾀﾌｨｰﾀﾞの用紙";
    t[9] = "小さいﾍﾟｰﾊﾟｰﾌｨｰﾀﾞの用紙";
    t[10] = "大きいﾍﾟｰﾊﾟｰﾌｨｰﾀﾞの用紙";
    t[11] = "容量の大きいﾌｨｰﾀﾞの用紙";
    t[14] = "装着されたｶｾｯﾄｶｰﾄﾘｯｼﾞの用紙";
    return t;
}

}  // namespace

const std::array<std::string, 257>& PaperSizeNames()
{
    static const std::array<std::string, 257> kNames = MakePaperSizeNames();
    return kNames;
}

const std::array<std::string, 101>& PaperBinNames()
{
    static const std::array<std::string, 101> kNames = MakePaperBinNames();
    return kNames;
}

void BuildPaperNames()
{
    PaperSizeNames();
    PaperBinNames();
}

}  // namespace tovrimo
