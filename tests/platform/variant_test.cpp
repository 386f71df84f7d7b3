#include <gtest/gtest.h>

#include "platform/text/codepage.h"
#include "platform/variant/variant.h"

using vel::Variant;
using vel::VarType;

TEST(Variant, ArraysHaveValueSemantics) {
    Variant a = Variant::Array(1, 3);
    a[1] = 10;
    Variant b = a;
    b[1] = 20;
    EXPECT_EQ(a[1].ToInt(), 10);
    EXPECT_EQ(b[1].ToInt(), 20);
    EXPECT_THROW(a[4], vel::Exception);
    EXPECT_EQ(a.LowBound(), 1);
    EXPECT_EQ(a.HighBound(), 3);
}

TEST(Variant, TwoDimensionalIndexing) {
    Variant a = Variant::Array2(0, 1, 0, 2);
    a.At(0, 2) = "name";
    a.At(1, 2) = "value";
    EXPECT_EQ(a.At(0, 2).ToString(), "name");
    EXPECT_EQ(a.At(1, 2).ToString(), "value");
    EXPECT_EQ(a.DimCount(), 2);
    EXPECT_EQ(a.HighBound(2), 2);
    EXPECT_THROW(a.At(2, 0), vel::Exception);
}

TEST(Variant, ConversionsToText) {
    struct Case { Variant v; const char* text; } cases[] = {
        {Variant(), ""}, {Variant::Null(), ""}, {Variant(42), "42"}, {Variant(true), "True"},
        {Variant(2.5), "2.5"}, {Variant(0.1 + 0.2), "0.3"}, {Variant(1e20), "1E20"},
        {Variant::FromDate(45356.0), "2024/3/5"}, {Variant(u"abc"), "abc"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.v.ToString(), c.text) << c.v.Describe();
}

TEST(Variant, BooleanIsMinusOneAndTextsConvert) {
    EXPECT_EQ(Variant(true).ToInt(), -1);
    EXPECT_EQ(Variant("12").ToInt(), 12);
    EXPECT_EQ(Variant(2.5).ToInt(), 2);  // half to even
    EXPECT_THROW(Variant("x1").ToInt(), vel::Exception);
    EXPECT_TRUE(Variant("TRUE").ToBool());
}

TEST(Variant, WideAndByteTextsMeetThroughTheCodePage) {
    std::string gb = vel::CN("国家");
    Variant wide(vel::CodePageToWide(gb, 936));
    EXPECT_EQ(wide.Type(), VarType::OleStr);
    EXPECT_EQ(vel::WideToCodePage(wide.Wide(), 936), gb);
    EXPECT_EQ(vel::CodePageToUtf8(gb, 936), "国家");
    // A character Big5 cannot hold becomes '?'.
    EXPECT_EQ(vel::WideToCodePage(u"\u00E9", 950), "?");
}

// Long texts go through iconv in pieces; characters cut at a piece's end and misses in
// between must come out whole, at every alignment.
TEST(Variant, LongTextsConvertWholeAcrossPiecesAndMisses) {
    std::string gb, big5, utf8, gbOfUtf8;
    const std::string jia = vel::CN("家"), jiaBig5 = "\xAE\x61";
    for (int i = 0; i < 1500; ++i) {
        gb += jia + vel::CN("为") + "a";  // 为 has no Big5 form
        big5 += jiaBig5 + "?a";
        utf8 += "国家a";
        gbOfUtf8 += vel::CN("国家") + "a";
    }
    EXPECT_TRUE(vel::ConvertCodePage(gb, 936, 950) == big5);
    EXPECT_TRUE(vel::Utf8ToCodePage(utf8, 936) == gbOfUtf8);
    EXPECT_TRUE(vel::CodePageToUtf8(gbOfUtf8, 936) == utf8);
}
