#include <gtest/gtest.h>

#include "platform/text/json.h"
#include "platform/ui/application.h"
#include "platform/ui/mask.h"

using namespace vel;

TEST(EditMask, LayoutAndTyping) {
    struct Case { const char* mask; const char* typed; const char* shown; const char* text; } cases[] = {
        {"9999/99/99;1; ", "2024/3/5", "2024/3 /5 ", "2024/3 /5 "},
        {"9999/99/99;1; ", "20240305", "2024/03/05", "2024/03/05"},
        {"9999/99/99;0; ", "20240305", "2024/03/05", "20240305"},
        {"99/99/9999;1; ", "3/5/2024", "3 /5 /2024", "3 /5 /2024"},
        {"9999/99;1;_", "2024x", "2024/__", "2024/__"},
        {"!999;1; ", "12", "12 ", "12 "},
    };
    for (const auto& c : cases) {
        TMaskEdit edit(nullptr);
        edit.SetEditMask(c.mask);
        edit.TypeText(c.typed);
        EXPECT_EQ(edit.EditText(), c.shown) << c.mask << " / " << c.typed;
        EXPECT_EQ(edit.MaskedText(), c.text) << c.mask << " / " << c.typed;
    }
    EXPECT_EQ(EditMask::Parse("9999/99/99;1; ").EmptyText(), "    /  /  ");
    EXPECT_EQ(EditMask::Parse("\\A99;1;_").EmptyText(), "A__");
}

TEST(EditMask, KeysTypeIntoTheMaskAndAMaskChangeKeepsTheValue) {
    TMaskEdit edit(nullptr);
    edit.SetEditMask("9999/99;1; ");
    for (char c : std::string("2024")) {
        char k = c;
        edit.KeyPress(k);
    }
    char bad = 'x';
    edit.KeyPress(bad);
    EXPECT_EQ(edit.EditText(), "2024/  ");
    char back = '\b';
    edit.KeyPress(back);
    EXPECT_EQ(edit.EditText(), "202 /  ");
    // Entering the field selects it: the next key starts a new value.
    edit.DoEnter();
    for (char c : std::string("2023/7")) {
        char k = c;
        edit.KeyPress(k);
    }
    EXPECT_EQ(edit.EditText(), "2023/7 ");
    edit.SetMaskedText("2024/03");
    edit.SetEditMask("");
    EXPECT_EQ(edit.Text(), "2024/03");
}

TEST(Json, RoundTripAndErrors) {
    Variant v = ParseJson(R"([["A001","螺丝",3,-2.5],[],true,null,"a\"b\u00e9"])");
    ASSERT_TRUE(v.IsArray());
    EXPECT_EQ(v[0][0].ToString(), "A001");
    EXPECT_EQ(v[0][2].Type(), VarType::Integer);
    EXPECT_EQ(v[0][3].ToDouble(), -2.5);
    EXPECT_EQ(v[1].HighBound(), -1);
    EXPECT_TRUE(v[3].IsNull());
    EXPECT_EQ(ToJson(v[0]), R"(["A001","螺丝",3,-2.5])");
    for (const char* bad : {"", "[1,", "[1 2]", "\"open", "tru", "[1]x", "\"\\q\""})
        EXPECT_THROW(ParseJson(bad), Exception) << bad;
    std::string deep(100, '[');
    EXPECT_THROW(ParseJson(deep), Exception);
}
