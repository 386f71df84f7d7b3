// The language library through TTranslator: real GB/Big5 conversion, the library's loading
// errors, and the code converter that creates the translator from the installation settings.
#include "lang/translator.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string_view>
#include <thread>

#include "platform/text/codepage.h"
#include "platform/variant/variant.h"
#include "tests/support/temp_dir.h"

using namespace vel;

namespace {

// Bytes from hex pairs, so an expectation does not depend on any converter.
std::string Bytes(std::string_view hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size();) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
        i += 2;
    }
    return out;
}

std::vector<std::string> Utf8Characters(std::string_view text) {
    std::vector<std::string> chars;
    for (size_t i = 0; i < text.size();) {
        size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        chars.emplace_back(text.substr(i, n));
        i += n;
    }
    return chars;
}

// The GB2312 character of a cell in UTF-8, or empty for a cell GB2312 leaves free. iconv's
// GB2312 table is the oracle here, not the library's own code page.
std::string Gb2312Cell(unsigned row, unsigned cell) {
    static iconv_t cd = iconv_open("UTF-8", "GB2312");
    char in[2] = {static_cast<char>(row), static_cast<char>(cell)};
    char out[8];
    char* src = in;
    char* dst = out;
    size_t inLeft = 2, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &src, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1)) return {};
    return std::string(out, dst);
}

// GB2312 characters that Big5 (code page 950) lacks in every form OpenCC offers: they
// become '?'. Whole rows first: kana (A4, A5) and Cyrillic (A7).
constexpr unsigned kRowsWithoutBig5Form[] = {0xA4, 0xA5, 0xA7};
constexpr std::string_view kNoBig5Form =
    // symbols, rows A1-A9
    "¨々‖〖〗∶∧∨∑∏∈∷⌒≌≈∽∝≮≯≤≥″¤‰№〓⒈⒉⒊⒋⒌⒍⒎⒏⒐⒑⒒⒓⒔⒕"
    "⒖⒗⒘⒙⒚⒛⑴⑵⑶⑷⑸⑹⑺⑻⑼⑽⑾⑿⒀⒁⒂⒃⒄⒅⒆⒇①②③④⑤⑥⑦⑧⑨⑩㈠㈡㈢㈣"
    "㈤㈥㈦㈧㈨㈩ⅪⅫ＂＇［］＾｀āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜüê"
    "━┃┄┅┆┇┈┉┊┋┍┎┏┑┒┓┕┖┗┙┚┛┝┞┟┠┡┢┣┥┦┧┨┩┪┫┭┮┯┰"
    "┱┲┳┵┶┷┸┹┺┻┽┾┿╀╁╂╃╄╅╆╇╈╉╊╋"
    // characters, rows B0-F7
    "硷傈酶钎叁墒酞锨丨丿鼗丶刂劐冂亻仫伲倮氽勹亠冫凇冖讠卩阝郄勐廴凼厶垡坂垅垧垴埯埝"
    "塄塬墚艹苊芪苄苷苘茚荬荮莜萘萜葜蒈蒽蔸藁扌揸揞擀甙卟吖呋吡吣吲咔咝哐咴咣哌哚唣啉"
    "唿喹嗪嗬嗵嘞嘣嘭噍噔噻噼嚯幞岙岜岽峁崾嵛嵴彡犭犸狍猹猸夂饣馇馓馕忄憷丬氵沲浜溻漤"
    "宀辶彐胬尜纟绔巛珏珉枧桕桊榀榘檫轱轷軎攴晗犟犏毪攵敫肟肼肽肷胨胩脎脒脲腈腙腚膪臁"
    "飚炻烀煳煅煊煺熘灬礻肀砘砜砹砼硇碹磙礴眍睃畲疃罱钅钚钷铘铞锃锍锎锏锘锝锪锫锿镅镎"
    "镥镩镲鹋鹚鹛鹱疒疬痃痖瘘癀癍癔癯衤耠耢耥耱颥蝽蝰螋螨蟮筻筢箢篼舭舾酰醌踺鐾鲅鲆鲴"
    "鲺鲼鳊鳋鳘鳙鞒鞴骶骺鬏黢齄";

// GB2312 characters whose Big5 form comes back as another GB character: traditional forms
// that stand for several simplified ones, and variants Big5 holds in place of a missing form.
struct OneWay {
    const char* gb;
    const char* big5;
    const char* back;
};
const OneWay kOneWay[] = {
    {"乾", "乾", "干"}, {"着", "著", "著"}, {"谘", "諮", "咨"}, {"菸", "菸", "烟"}, {"薹", "薹", "苔"},
    {"捱", "捱", "挨"}, {"摺", "摺", "折"}, {"吒", "吒", "咤"}, {"後", "後", "后"}, {"徵", "徵", "征"},
    {"夥", "夥", "伙"}, {"馀", "餘", "余"}, {"渖", "瀋", "沈"}, {"甯", "甯", "宁"}, {"幺", "么", "么"},
    {"昵", "暱", "暱"}, {"於", "於", "于"}, {"钜", "鉅", "巨"}, {"镟", "鏇", "旋"}, {"锺", "鍾", "钟"},
    {"稆", "穭", "穞"}, {"麴", "麴", "曲"}, {"醣", "醣", "糖"}, {"鲇", "鯰", "鲶"}, {"麽", "麼", "么"},
};

TEST(Translator, SampleTextConvertsExactlyBothWays) {
    TTranslator translator;
    const std::string gb = Bytes("B9FA BCD2 CDB3 BCC6 BED6");    // 国家统计局, code page 936
    const std::string big5 = Bytes("B0EA AE61 B2CE AD70 A7BD");  // 國家統計局, code page 950
    ASSERT_EQ(gb, CN("国家统计局"));
    EXPECT_EQ(translator.ConvertGBToBig5(gb), big5);
    EXPECT_EQ(translator.ConvertBig5ToGB(big5), gb);
}

TEST(Translator, OddInputKeepsItsLengthAndNeighbours) {
    TTranslator translator;
    const std::string guo = Bytes("B0EA");  // 國 in Big5
    const std::string nul(1, '\0');
    struct Case {
        const char* what;
        bool toBig5;
        std::string in;
        std::string out;
    } cases[] = {
        {"empty text", true, "", ""},
        {"ASCII only", true, "QMLK07 report\r\n", "QMLK07 report\r\n"},
        {"no Big5 form between others", true, CN("酶A国"), "?A" + guo},
        {"lone lead byte at the end", true, CN("国") + "\xB9", guo + "?"},
        {"lead byte before a blank", true, "\xB9 x", "? x"},
        {"NUL inside the text", true, CN("国") + nul + CN("国"), guo + nul + guo},
        {"phrase chooses the form", true, CN("头发"), Bytes("C059 BE76")},  // 頭髮, not 頭發
        {"Big5 lone lead byte", false, "A\xB0", "A?"},
        {"Big5 NUL inside", false, guo + nul + "x", CN("国") + nul + "x"},
    };
    for (const auto& c : cases) {
        std::string out = c.toBig5 ? translator.ConvertGBToBig5(c.in) : translator.ConvertBig5ToGB(c.in);
        EXPECT_EQ(out, c.out) << c.what;
    }
}

// Every character of GB2312 survives GB -> Big5 -> GB, or is one of the two lists above; a
// listed character that has started to survive fails too, so the lists stay exact.
TEST(Translator, EveryGb2312CharacterSurvivesOrIsListed) {
    TTranslator translator;
    std::set<std::string> noForm;
    for (const auto& ch : Utf8Characters(kNoBig5Form)) noForm.insert(ch);
    std::map<std::string, OneWay> oneWay;
    for (const auto& o : kOneWay) oneWay[o.gb] = o;

    int cells = 0;
    std::string unexpected;
    for (unsigned row = 0xA1; row <= 0xF7; ++row)
        for (unsigned cell = 0xA1; cell <= 0xFE; ++cell) {
            std::string utf8 = Gb2312Cell(row, cell);
            if (utf8.empty()) continue;
            ++cells;
            std::string gb{static_cast<char>(row), static_cast<char>(cell)};
            std::string big5 = translator.ConvertGBToBig5(gb);
            std::string back = translator.ConvertBig5ToGB(big5);
            std::string big5Utf8 = CodePageToUtf8(big5, kCodePageBig5);
            std::string backUtf8 = CodePageToUtf8(back, kCodePageGB);
            bool ok;
            bool rowWithoutForm = std::find(std::begin(kRowsWithoutBig5Form), std::end(kRowsWithoutBig5Form), row) !=
                                  std::end(kRowsWithoutBig5Form);
            if (rowWithoutForm || noForm.count(utf8)) ok = big5 == "?";
            else if (auto it = oneWay.find(utf8); it != oneWay.end())
                ok = big5Utf8 == it->second.big5 && backUtf8 == it->second.back;
            else ok = back == gb && big5.size() == 2;
            if (!ok) unexpected += utf8 + "->" + big5Utf8 + "->" + backUtf8 + " ";
        }
    EXPECT_EQ(cells, 7445);  // 682 symbols and 6763 characters
    EXPECT_EQ(unexpected, "");
}

TEST(Translator, ThreadsShareTheLibrary) {
    const std::string gb = CN("国家统计局发布了头发与后来的数据");
    TTranslator reference;
    const std::string big5 = reference.ConvertGBToBig5(gb);
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            TTranslator translator;
            for (int i = 0; i < 100; ++i)
                if (translator.ConvertGBToBig5(gb) != big5 || translator.ConvertBig5ToGB(big5) != gb) ++mismatches[t];
        });
    for (auto& th : threads) th.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(Translator, FreedLibraryLeavesTextsAlone) {
    TTranslator translator;
    EXPECT_TRUE(translator.Loaded());
    // The library names only the two conversions; the three further exports are optional.
    EXPECT_FALSE(translator.HasGetBIG5Data() || translator.HasGetGBData() || translator.HasSaveOrder());
    translator.FreeLanguageLibrary();
    EXPECT_FALSE(translator.Loaded());
    EXPECT_EQ(translator.ConvertGBToBig5(CN("国")), CN("国"));
    translator.LoadLanguageLibrary();
    EXPECT_EQ(translator.ConvertGBToBig5(CN("国")), Bytes("B0EA"));
}

// An installation whose client settings name the given code pages.
class InstalledConverterTest : public ::testing::Test {
protected:
    void Install(const std::string& ui, const std::string& db) {
        dir_.Write("registry.ini", "[HKEY_LOCAL_MACHINE\\Software\\Vel\\Vantrel]\nClientPath=" + dir_.Path() + "/client\n");
        dir_.Write("client/VantrelC.ini", "[CodePage]\nUICodePage=" + ui + "\nDBCodePage=" + db + "\n");
    }
    std::string Message(const std::function<void()>& create) {
        try {
            create();
        } catch (const Exception& e) {
            return e.what();
        }
        return "no error";
    }

    veltest::TempDir dir_;
    veltest::ScopedEnv registry_{"VEL_REGISTRY", dir_.File("registry.ini")};
};

TEST_F(InstalledConverterTest, LoadingErrorsReachTheConverterCreation) {
    veltest::TempDir empty;
    Install("950", "936");
    {
        veltest::ScopedEnv path("VEL_LIBRARY_PATH", empty.Path());
        EXPECT_EQ(Message([] { TCodeConverter converter(nullptr); }), "Load Library Vellanguage.so Error!");
    }
    {
        veltest::ScopedEnv path("VEL_LIBRARY_PATH", VEL_MISSING_EXPORT_DIR);
        EXPECT_EQ(Message([] { TTranslator translator; }), "Get Library Procedure Address Error!");
        EXPECT_EQ(Message([] { TCodeConverter converter(nullptr); }), "Get Library Procedure Address Error!");
    }
    // A screen that needs no conversion never asks for the library.
    Install("936", "936");
    veltest::ScopedEnv path("VEL_LIBRARY_PATH", empty.Path());
    TCodeConverter converter(nullptr);
    EXPECT_EQ(converter.ScreenMode(), 0);
    EXPECT_FALSE(converter.HasTranslator());
}

TEST_F(InstalledConverterTest, BigFiveScreenOverGbDatabaseConvertsArrays) {
    Install("950", "936");
    TCodeConverter converter(nullptr);
    ASSERT_EQ(converter.ScreenMode(), 2);
    ASSERT_EQ(converter.DataMode(), 2);
    ASSERT_TRUE(converter.HasTranslator());

    Variant rows = Variant::Array2(0, 1, 1, 2);
    rows.At(0, 1) = Variant(CN("国家"));
    rows.At(1, 1) = Variant(CN("统计局"));
    rows.At(0, 2) = Variant(42);
    rows.At(1, 2) = Variant("");
    Variant shown = converter.ConvertDataToScreen(rows);
    EXPECT_EQ(shown.LowBound(2), 1);
    EXPECT_EQ(shown.HighBound(2), 2);
    EXPECT_EQ(shown.At(0, 1).ToString(), Bytes("B0EA AE61"));
    EXPECT_EQ(shown.At(1, 1).ToString(), Bytes("B2CE AD70 A7BD"));
    EXPECT_EQ(shown.At(0, 2).ToString(), "42");
    Variant sent = converter.ConvertScreenToData(shown);
    EXPECT_EQ(sent.At(0, 1).ToString(), CN("国家"));
    EXPECT_EQ(sent.At(1, 1).ToString(), CN("统计局"));
}

}  // namespace
