#include <gtest/gtest.h>

#include "runtime/libstrs.h"

using namespace vel;

TEST(FieldTest, DelimitedFields) {
    struct Case {
        const char* text;
        const char* sep;
        int index;
        const char* expected;
    } cases[] = {
        {"a;b;c", ";", 1, "a"}, {"a;b;c", ";", 2, "b"}, {"a;b;c", ";", 3, "c"}, {"a;b;c", ";", 4, ""},
        {"a;b;c", ";", 0, ""},  {"a;b;", ";", 3, ""},   {"a;b;", ";", 2, "b"},  {"", ";", 1, ""},
        {"abc", ";", 1, "abc"}, {"a<>b<>c", "<>", 2, "b"},
    };
    for (const auto& c : cases) EXPECT_EQ(GetDelimitedField(c.text, c.sep, c.index), c.expected) << c.text << c.index;

    EXPECT_EQ(CountDelimitedFields("a;b", ";"), 2);
    EXPECT_EQ(CountDelimitedFields("", ";"), 0);
    EXPECT_EQ(CountDelimitedFields(";", ";"), 2);
    EXPECT_EQ(CountDelimitedFields("aaa", "aa"), 2);  // overlapping occurrences count once

    std::string text = "one;two;three";
    EXPECT_EQ(CutFirstField(text, ";"), "one");
    EXPECT_EQ(text, "two;three");
    text = "last";
    EXPECT_EQ(CutFirstField(text, ";"), "last");
    EXPECT_EQ(text, "");
}

// The trail byte of a double-byte character may equal an ASCII separator; it never splits.
TEST(FieldTest, DoubleByteCharactersAreNotCutInHalf) {
    if (SystemCodePage() != kCodePageGB) GTEST_SKIP() << "needs code page 936";
    std::string word = WideToCodePage(u"表", kCodePageGB);  // GBK B1 ED
    std::string sep = std::string(1, '\xED');
    EXPECT_EQ(GetDelimitedField(word + sep + "x", sep, 1), word);
    EXPECT_EQ(CountDelimitedFields(word, sep), 1);
    std::string at = WideToCodePage(u"丂", kCodePageGB);  // GBK 81 40: the trail byte is "@"
    EXPECT_EQ(CountDelimitedFields(at + "a", "@"), 1);
    EXPECT_EQ(GetDelimitedField("x@" + at, "@", 2), at);
}

TEST(ReplaceTest, DeletesEveryOccurrenceAndKeepsCaseOnlyChanges) {
    EXPECT_EQ(ReplaceAllText("line one\r\nline two", "\r\n", "", false), "line oneline two");
    EXPECT_EQ(ReplaceAllText("Abc abc", "abc", "ABC", false), "Abc abc");
    EXPECT_EQ(ReplaceAllText("abbcc", "bc", "", false), "a");  // a deletion can join a new occurrence
    EXPECT_EQ(ReplaceAllText("  a-b  ", "-", "+", true), "a+b");
    EXPECT_EQ(ReplaceAllText("  a-b  ", "-", "+", false), "  a+b  ");
    EXPECT_EQ(ReplaceAllText("aaa", "", "x", false), "aaa");
    // A replacement containing the searched text is made once per occurrence, not for ever.
    EXPECT_EQ(ReplaceAllText("a.a", "a", "ba", false), "ba.ba");
}

TEST(TextTest, SmallHelpers) {
    EXPECT_TRUE(IsLocalHostAddress("127.0.0.1"));
    EXPECT_FALSE(IsLocalHostAddress("localhost"));
    EXPECT_FALSE(IsLocalHostAddress(" 127.0.0.1"));

    EXPECT_DOUBLE_EQ(StrToFloatDefault("1.5", 9), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloatDefault(" -2e3 ", 9), -2000);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("1.5x", 9), 9);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("", 9), 9);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("nan", 9), 9);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("0x10", 9), 9);

    std::string tmp = GetTempDirectory();
    ASSERT_FALSE(tmp.empty());
    EXPECT_EQ(tmp.back(), '/');
}

TEST(JoinTest, CountedArray) {
    Variant items = Variant::Of({2, Variant("a"), Variant(u"中")});
    EXPECT_EQ(JoinCountedArray(Variant("P"), items), u"P\x03" u"2\x03" u"a\x03" u"中\x03");
    EXPECT_EQ(JoinCountedArray(Variant("P"), Variant::Of({0})), u"P\x03" u"0\x03");
    EXPECT_EQ(JoinCountedArray(Variant("P"), Variant::Of({3, Variant("a")})), u"");  // count beyond the items
}

TEST(VariantTest, IfThenAndEmptiness) {
    EXPECT_EQ(IfThenVar(true, Variant(1), Variant("b")), Variant(1));
    EXPECT_EQ(IfThenVar(false, Variant(1), Variant("b")), Variant("b"));
    EXPECT_TRUE(VarIsEmptyOrNull(Variant()));
    EXPECT_TRUE(VarIsEmptyOrNull(Variant::Null()));
    EXPECT_FALSE(VarIsEmptyOrNull(Variant("")));
    EXPECT_FALSE(VarIsEmptyOrNull(Variant(0)));
}

TEST(VariantTest, CodePageConversionsWalkArrays) {
    const std::string gb = WideToCodePage(u"国", kCodePageGB);
    const std::string big5 = WideToCodePage(u"國", kCodePageBig5);

    // Wide to code page: wide texts in nested and two-dimensional arrays; others untouched.
    Variant grid = Variant::Array2(0, 1, 0, 0);
    grid.At(0, 0) = Variant(u"国");
    grid.At(1, 0) = Variant(7);
    Variant nested = Variant::Of({Variant(u"国"), Variant::Of({Variant(u"国"), Variant(3)}), grid, Variant()});
    Variant bytes = VarWideToCodePage(nested, kCodePageGB);
    EXPECT_EQ(bytes[0], Variant(gb));
    EXPECT_EQ(bytes[1][0], Variant(gb));
    EXPECT_EQ(bytes[1][1], Variant(3));
    EXPECT_EQ(bytes[2].At(0, 0), Variant(gb));
    EXPECT_EQ(bytes[2].At(1, 0), Variant(7));
    EXPECT_TRUE(bytes[3].IsEmpty());
    EXPECT_EQ(VarWideToCodePage(Variant(u"國"), kCodePageBig5), Variant(big5));

    // Code page to wide: byte texts are read in the code page given.
    Variant params = Variant::Of({Variant(big5), Variant::Of({Variant(big5)}), Variant(1.5)});
    Variant wide = VarCodePageToWide(params, kCodePageBig5);
    EXPECT_EQ(wide[0], Variant(u"國"));
    EXPECT_EQ(wide[1][0], Variant(u"國"));
    EXPECT_EQ(wide[2], Variant(1.5));
    EXPECT_EQ(VarCodePageToWide(Variant(gb), kCodePageGB), Variant(u"国"));
    // A wide text that was read in the machine's code page is read again in the right one.
    if (SystemCodePage() == kCodePageGB) {
        Variant misread(CodePageToWide(big5, kCodePageGB));
        EXPECT_EQ(VarCodePageToWide(misread, kCodePageBig5), Variant(u"國"));
    }
    EXPECT_TRUE(VarCodePageToWide(Variant::Null(), kCodePageGB).IsNull());
    EXPECT_EQ(VarCodePageToWide(Variant(5), kCodePageGB), Variant(5));
    // An unknown code page falls back to the machine's, as the system conversion does.
    EXPECT_EQ(VarCodePageToWide(Variant("abc"), 12345), Variant(u"abc"));
}
