#include <gtest/gtest.h>

#include "core/PaperNames.h"

using namespace tovrimo;

TEST(PaperNames, SizeTableHoldsTheNamedCodesAndNothingElse)
{
    BuildPaperNames();
    const auto& sizes = PaperSizeNames();
    EXPECT_EQ(sizes[0], "指定なし");
    EXPECT_EQ(sizes[1], "ﾚﾀｰ、8 1/2 x 11 ｲﾝﾁ");
    EXPECT_EQ(sizes[9], "A4、210 x 297 mm");
    EXPECT_EQ(sizes[13], "B5、182 x 257 mm");
    EXPECT_EQ(sizes[43], "はがき");
    EXPECT_EQ(sizes[256], "ﾕｰｻﾞｰ定義のｻｲｽﾞ");
    int named = 0;
    for (size_t code = 0; code < sizes.size(); ++code) {
        const bool shouldHaveName = code <= 41 || code == 43 || code == 256;
        EXPECT_EQ(!sizes[code].empty(), shouldHaveName) << "paper size " << code;
        named += !sizes[code].empty();
    }
    EXPECT_EQ(named, 44);
    EXPECT_TRUE(sizes[42].empty());
}

TEST(PaperNames, HalfWidthKatakanaIsKeptAsHalfWidth)
{
    // "ﾚ" is U+FF9A (EF BE 9A in UTF-8), not the full-width "レ".
    EXPECT_EQ(PaperSizeNames()[1].substr(0, 3), "\xEF\xBE\x9A");
    EXPECT_EQ(PaperBinNames()[14], "装着されたｶｾｯﾄｶｰﾄﾘｯｼﾞの用紙");
}

TEST(PaperNames, BinTableHoldsTheNamedCodesAndNothingElse)
{
    const auto& bins = PaperBinNames();
    EXPECT_EQ(bins[0], "指定なし");
    EXPECT_EQ(bins[4], "1枚ずつ手差しで供給されるまで待機");
    EXPECT_EQ(bins[11], "容量の大きいﾌｨｰﾀﾞの用紙");
    for (size_t code = 0; code < bins.size(); ++code) {
        const bool shouldHaveName = code <= 11 || code == 14;
        EXPECT_EQ(!bins[code].empty(), shouldHaveName) << "paper source " << code;
    }
    EXPECT_TRUE(bins[12].empty());
    EXPECT_TRUE(bins[100].empty());
}
