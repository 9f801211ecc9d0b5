#include <gtest/gtest.h>

#include "ShiftJisBytes.h"
#include "core/IniDocument.h"

using namespace tovrimo;
using tovrimo::test::ShiftJisBytes;

TEST(IniDocument, NamesMatchWithoutRegardToCaseAndTheFirstOneWins)
{
    const auto doc = IniDocument::parse(
        "[option]\nselftime=7\nSelfTime=8\n[OPTION]\nDoubleClick=2\n[Other]\nSelfTime=9\n");
    EXPECT_EQ(doc.get("Option", "SelfTime"), "7");
    EXPECT_EQ(doc.get("OPTION", "SELFTIME"), "7");
    // Only the first section of a name is looked at.
    EXPECT_EQ(doc.get("Option", "DoubleClick"), "");
    EXPECT_EQ(doc.get("Option", "Missing"), "");
    EXPECT_EQ(doc.get("Missing", "SelfTime"), "");
}

TEST(IniDocument, BlanksAroundNamesAndValuesAreNotPartOfThem)
{
    const auto doc = IniDocument::parse("  [ Application ]  \n  Title =  トヴリモ  \nEmpty=\n");
    EXPECT_EQ(doc.get("Application", "Title"), "トヴリモ");
    EXPECT_EQ(doc.get("Application", "Empty"), "");
    // Quotes are text like any other.
    EXPECT_EQ(IniDocument::parse("[A]\nk=\"x\"\n").get("A", "k"), "\"x\"");
}

TEST(IniDocument, NewKeyGoesToTheEndOfItsSectionAndNewSectionToTheEndOfTheFile)
{
    auto doc = IniDocument::parse("[A]\nk1=1\n\n[B]\nk=2\n");
    doc.set("a", "k2", "x");
    doc.set("C", "k", "3");
    EXPECT_EQ(doc.serialize(), "[A]\nk1=1\nk2=x\n\n[B]\nk=2\n[C]\nk=3\n");
}

TEST(IniDocument, SettingAnExistingKeyKeepsItsPlaceAndSpelling)
{
    auto doc = IniDocument::parse("[A]\nFirst=1\nSecond = 2\nThird=3\n");
    doc.set("A", "SECOND", "two");
    EXPECT_EQ(doc.serialize(), "[A]\nFirst=1\nSecond=two\nThird=3\n");
    EXPECT_EQ(doc.get("a", "second"), "two");
}

TEST(IniDocument, OtherLinesAreKeptAndLineEndsAreWrittenAsLf)
{
    const std::string text =
        "; written by hand\r\nstray=before any section\r\n[A]\r\n# note\r\njust text\r\nk=v\r\n";
    auto doc = IniDocument::parse(text);
    EXPECT_EQ(doc.get("A", "k"), "v");
    EXPECT_EQ(doc.serialize(),
              "; written by hand\nstray=before any section\n[A]\n# note\njust text\nk=v\n");
    // A last line without a line break and lone CRs are read too.
    EXPECT_EQ(IniDocument::parse("[A]\rk=1\r[B]\nk=2").get("B", "k"), "2");
    EXPECT_EQ(IniDocument::parse("[A]\rk=1\r[B]\nk=2").get("A", "k"), "1");
}

TEST(IniDocument, ValueIsCutTo1023BytesAtACharacterBoundary)
{
    auto doc = IniDocument::parse("");
    doc.set("A", "ascii", std::string(2000, 'x'));
    EXPECT_EQ(doc.get("A", "ascii"), std::string(1023, 'x'));
    // 341 three-byte characters are 1023 bytes; a 342nd does not fit in part.
    std::string kana;
    for (int i = 0; i < 342; ++i) kana += "あ";
    doc.set("A", "kana", kana);
    EXPECT_EQ(doc.get("A", "kana").size(), 1023u);
    doc.set("A", "kana", "x" + kana);
    EXPECT_EQ(doc.get("A", "kana").size(), 1021u);
}

TEST(IniDocument, ValueIsOneLine)
{
    auto doc = IniDocument::parse("");
    doc.set("A", "k", "first\r\nsecond");
    doc.set("A", "j", "after");
    EXPECT_EQ(doc.serialize(), "[A]\nk=first\nj=after\n");
}

TEST(IniDocument, NewDocumentIsUtf8WithoutByteOrderMark)
{
    IniDocument doc;
    doc.set("Application", "Title", "トヴリモ");
    EXPECT_EQ(doc.encoding(), IniEncoding::Utf8);
    EXPECT_EQ(doc.serialize(), "[Application]\nTitle=トヴリモ\n");
}

TEST(IniDocument, ByteOrderMarkIsSkippedAndKept)
{
    auto doc = IniDocument::parse("\xEF\xBB\xBF[A]\nk=1\n");
    EXPECT_EQ(doc.get("A", "k"), "1");
    EXPECT_EQ(doc.serialize(), "\xEF\xBB\xBF[A]\nk=1\n");
}

TEST(IniDocument, ShiftJisFileIsReadAndWrittenBackInShiftJis)
{
    const std::string utf8 =
        "[DefaultPrinter]\nFontName=ＭＳ Ｐゴシック\nTitleText=ﾚﾀｰ C:\\表\\x ～\n";
    const std::string sjis = ShiftJisBytes(utf8);
    ASSERT_FALSE(IsValidUtf8(sjis));

    auto doc = IniDocument::parse(sjis);
    EXPECT_EQ(doc.encoding(), IniEncoding::ShiftJis);
    EXPECT_EQ(doc.get("DefaultPrinter", "FontName"), "ＭＳ Ｐゴシック");
    EXPECT_EQ(doc.get("DefaultPrinter", "TitleText"), "ﾚﾀｰ C:\\表\\x ～");
    EXPECT_EQ(doc.serialize(), sjis);

    doc.set("DefaultPrinter", "DeviceName", "プリンタ");
    EXPECT_EQ(doc.serialize(), ShiftJisBytes(utf8 + "DeviceName=プリンタ\n"));
}

TEST(IniDocument, ShiftJisFileBecomesUtf8WhenAValueHasNoShiftJisForm)
{
    auto doc = IniDocument::parse(ShiftJisBytes("[Application]\nTitle=トヴリモ\n"));
    ASSERT_EQ(doc.encoding(), IniEncoding::ShiftJis);
    doc.set("Application", "Title", "トヴリモ 🖨");
    EXPECT_EQ(doc.encoding(), IniEncoding::Utf8);
    EXPECT_EQ(doc.serialize(), "[Application]\nTitle=トヴリモ 🖨\n");
}

TEST(IniDocument, BytesThatAreNeitherUtf8NorShiftJisAreWrittenBackAsUtf8)
{
    // 0x85 0x40 is unassigned in CP932; 0xFF is never a lead byte.
    auto doc = IniDocument::parse("[A]\nk=\x85\x40\xFF\n");
    EXPECT_EQ(doc.encoding(), IniEncoding::Utf8);
    EXPECT_TRUE(IsValidUtf8(doc.serialize()));
    EXPECT_EQ(doc.get("A", "k").substr(0, 3), "\xEF\xBF\xBD");
}

TEST(IniDocument, EncodingCanBeChosenForANewDocumentOnlyWhenTheTextFits)
{
    IniDocument doc;
    doc.setEncoding(IniEncoding::ShiftJis);
    doc.set("A", "k", "半角ｶﾅ");
    EXPECT_EQ(doc.serialize(), ShiftJisBytes("[A]\nk=半角ｶﾅ\n"));

    IniDocument emoji;
    emoji.set("A", "k", "🖨");
    emoji.setEncoding(IniEncoding::ShiftJis);
    EXPECT_EQ(emoji.encoding(), IniEncoding::Utf8);
}

TEST(IniDocument, Utf8Validation)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("トヴリモ 🖨"));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE3\x81"));          // cut short
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\x83\x67"));          // Shift_JIS "ト"
}

TEST(IniDocument, SectionNamesInFileOrder)
{
    const auto doc = IniDocument::parse("x=1\n[B]\n[ A ]\n[B]\n");
    EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"B", "A", "B"}));
}

TEST(IniDocument, ConversionsStartAfreshAfterAFailureOrABadSequence)
{
    // The converters are kept between calls; what one call leaves behind must not reach the next.
    std::string out;
    for (int round = 0; round < 2; ++round) {
        EXPECT_FALSE(Utf8ToShiftJis("表\xF0\x9F\x98\x80", out));  // an emoji has no Shift_JIS form
        ASSERT_TRUE(Utf8ToShiftJis("日本語 ini=1", out));
        EXPECT_EQ(out, test::ShiftJisBytes("日本語 ini=1"));
        ASSERT_TRUE(Utf8ToShiftJis("plain ASCII ~\\", out));
        EXPECT_EQ(out, "plain ASCII ~\\");

        // A lead byte without its trail byte, then text that converts cleanly.
        EXPECT_EQ(ShiftJisToUtf8(test::ShiftJisBytes("日") + "\x82"), "日\xEF\xBF\xBD");
        EXPECT_EQ(ShiftJisToUtf8(test::ShiftJisBytes("本語")), "本語");
        EXPECT_EQ(ShiftJisToUtf8("ascii"), "ascii");
    }
}

TEST(IniDocument, ShiftJisTextWhoseBytesWouldPassForUtf8IsWrittenAsUtf8)
{
    // "[]&[PC名]" with 名 in UTF-8, in a file that is not UTF-8 as a whole (あ in Shift_JIS): read
    // as Shift_JIS, the last ']' is the second byte of a double-byte character. Once あ is
    // replaced, the Shift_JIS bytes would be valid UTF-8 and read differently.
    const std::string file = "[A]\nx=\x82\xA0\n[]&[PC\xE5\x90\x8D]\nk=v\n";
    IniDocument doc = IniDocument::parse(file);
    ASSERT_EQ(doc.encoding(), IniEncoding::ShiftJis);
    doc.set("A", "x", "1");
    const std::string once = doc.serialize();
    const IniDocument again = IniDocument::parse(once);
    EXPECT_EQ(again.sectionNames(), doc.sectionNames());
    EXPECT_EQ(again.get("A", "x"), "1");
    EXPECT_EQ(IniDocument::parse(again.serialize()).sectionNames(), doc.sectionNames());
}
