#include <gtest/gtest.h>

#include "forms/disabled_glyph.h"
#include "forms/programs/frm_qmlk07.h"
#include "forms/vel_form.h"
#include "platform/text/codepage.h"
#include "platform/ui/buttons.h"
#include "platform/ui/resource.h"
#include "tests/support/temp_dir.h"

using namespace vel;

namespace {

// Counts the library calls a conversion makes.
class CountingTranslator : public ITextTranslator {
public:
    explicit CountingTranslator(int* calls) : calls_(calls) {}
    std::string ConvertGBToBig5(const std::string& text) override { ++*calls_; return "[" + text + "]"; }
    std::string ConvertBig5ToGB(const std::string& text) override { ++*calls_; return text; }

private:
    int* calls_;
};

// A form whose converter believes the user interface is English (437), set before OnCreate.
class TfrmEnglishProbe : public TVelForm {
    VEL_CLASS(TfrmEnglishProbe, TVelForm)
public:
    using TVelForm::TVelForm;
    TSpeedButton* sbOne = nullptr;
    TSpeedButton* sbTwo = nullptr;

protected:
    void Constructed() override {
        CodePageSettings s;
        s.uiCodePage = "437";
        VelConverter->ApplySettings(s);
    }
};

VEL_DEFINE_FORM(TfrmEnglishProbe, b.Field("sbOne", &TfrmEnglishProbe::sbOne); b.Field("sbTwo", &TfrmEnglishProbe::sbTwo))

FormResource kProbeResource("TfrmEnglishProbe", R"(
inherited frmEnglishProbe: TfrmEnglishProbe
  object sbOne: TSpeedButton
    Glyph.Data = '2x2:FF00FF000000FF00FFFF00FF'
  end
  object sbTwo: TSpeedButton
    Glyph.Data = '2x2:FF00FF000000FF00FFFF00FF'
    NumGlyphs = 2
  end
end
)");

}  // namespace

TEST(VelForm, PackageChainRunsFromTheBaseToTheOwnClass) {
    const ClassInfo& cls = TfrmQMLK07::StaticClass();
    EXPECT_EQ(TVelForm::PackageChain(cls, true, false),
              (std::vector<std::string>{"TVelForm", "TfrmBaseGene", "TfrmBaseOpt", "TfrmBaseRpt", "TfrmQMLK07"}));
    EXPECT_EQ(TVelForm::PackageChain(cls, true, true), (std::vector<std::string>{"TfrmBaseGene", "TfrmBaseOpt", "TfrmBaseRpt", "TfrmQMLK07"}));
    EXPECT_EQ(TVelForm::PackageChain(cls, false, false), (std::vector<std::string>{"TfrmQMLK07"}));
}

TEST(VelForm, TranslationAppliesExistingPackagesInChainOrder) {
    veltest::TempDir dir;
    dir.Write("registry.ini", "[HKEY_LOCAL_MACHINE\\Software\\Vel\\Vantrel]\nClientPath=" + dir.Path() + "/client\n");
    // TfrmBaseGene has no package: it is skipped. The last package wins the caption.
    dir.Write("client/MultiLanguage/CHS/TVelForm.Lng",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><frm Caption=\"基础\" Hint=\"from base\">"
              "<btnOk Caption=\"好\" Font.Name=\"Arial\"/><btnCancel Caption=\"否\"/></frm>");
    dir.Write("client/MultiLanguage/CHS/TfrmQMLK07.Lng",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><frm><btnCancel Caption=\"关闭\"/></frm>");
    veltest::ScopedEnv registry("VEL_REGISTRY", dir.File("registry.ini"));

    auto* form = CreateForm<TfrmQMLK07>(nullptr);
    form->Show();
    EXPECT_EQ(form->btnCancel->Caption(), CN("关闭"));
    EXPECT_EQ(form->Hint(), "from base");
    EXPECT_EQ(form->btnOk->Caption(), CN("好"));
    EXPECT_EQ(form->btnOk->Font().name, "Arial");
    FreeComponent(form);
}

TEST(VelForm, MalformedLanguageFileRaisesAndMissingOneIsSkipped) {
    veltest::TempDir dir;
    dir.Write("registry.ini", "[HKEY_LOCAL_MACHINE\\Software\\Vel\\Vantrel]\nClientPath=" + dir.Path() + "\n");
    dir.Write("MultiLanguage/CHS/TfrmQMLK07.Lng", "<frm Caption='x'");
    veltest::ScopedEnv registry("VEL_REGISTRY", dir.File("registry.ini"));
    auto* form = CreateForm<TfrmQMLK07>(nullptr);
    EXPECT_THROW(form->TranslateSelf(true), LanguageControllerError);
    std::string text;
    form->GetLangText("TfrmBaseGene", "sExeVer", text, true, CN("[您现在运行的是Exe版本!]"));
    EXPECT_EQ(text, CN("[您现在运行的是Exe版本!]"));
    FreeComponent(form);
}

TEST(VelForm, TextsAreConvertedOnce) {
    auto* form = CreateForm<TfrmQMLK07>(nullptr);
    int calls = 0;
    CodePageSettings big5;
    big5.uiCodePage = "950";
    big5.screenMode = 2;
    form->VelConverter->ApplySettings(CodePageSettings{});
    form->VelConverter->SetTranslator(std::make_unique<CountingTranslator>(&calls));
    const_cast<CodePageSettings&>(form->VelConverter->Settings()) = big5;
    form->ConvertTexts();
    int afterFirst = calls;
    EXPECT_GT(afterFirst, 0);
    EXPECT_EQ(form->btnOk->Caption(), "[" + CN("后台处理") + "]");
    form->ConvertTexts();
    EXPECT_EQ(calls, afterFirst);
    EXPECT_TRUE(form->TextsConverted());
    FreeComponent(form);
}

TEST(VelForm, EnglishInterfaceGetsTahomaAndGlyphsGetDisabledImages) {
    auto* form = CreateForm<TfrmEnglishProbe>(nullptr);
    EXPECT_EQ(form->sbOne->Font().name, "Tahoma");
    EXPECT_EQ(form->sbOne->Font().charset, 134);
    EXPECT_EQ(form->sbOne->NumGlyphs(), 2);
    EXPECT_EQ(form->sbOne->Glyph().Width(), 4);
    // A glyph that already holds two images is left alone.
    EXPECT_EQ(form->sbTwo->Glyph().Width(), 2);
    FreeComponent(form);
}

TEST(DisabledGlyph, OutlineRules) {
    const TColor t = clFuchsia;
    // 5x5 on a transparent frame: a light 3x3 block with a dark centre.
    TBitmap g(5, 5, t);
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 3; ++x) g.SetPixel(x, y, RGB(250, 250, 250));
    g.SetPixel(2, 2, RGB(10, 10, 10));
    TBitmap outline = DisabledGlyphOutline(g);
    EXPECT_EQ(outline.Pixel(0, 0), t);                 // transparent stays transparent
    EXPECT_EQ(outline.Pixel(1, 1), clBlack);           // light pixel touching the transparent colour
    EXPECT_EQ(outline.Pixel(2, 2), clBlack);           // dark pixel
    EXPECT_EQ(outline.Pixel(2, 1), clBlack);
    // A light pixel enclosed on all four sides disappears.
    TBitmap solid(3, 3, RGB(200, 200, 200));
    solid.SetTransparentColor(t);
    EXPECT_EQ(DisabledGlyphOutline(solid).Pixel(1, 1), t);
    // At the border the pixel stands in for its missing neighbour: a light image edge is not marked.
    EXPECT_EQ(DisabledGlyphOutline(solid).Pixel(0, 0), t);
}

TEST(DisabledGlyph, EmbossedImageAndStrip) {
    TBitmap g(3, 3, clFuchsia);
    g.SetPixel(1, 1, clBlack);
    TBitmap disabled = MakeDisabledGlyph(g);
    EXPECT_EQ(disabled.Pixel(1, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(disabled.Pixel(2, 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(disabled.Pixel(0, 0), ColorToRGB(clBtnFace));

    TBitmap strip;
    strip.Assign(g);
    AddDisabledImage(strip);
    EXPECT_EQ(strip.Width(), 6);
    EXPECT_EQ(strip.Pixel(1, 1), clBlack);
    EXPECT_EQ(strip.Pixel(4, 1), ColorToRGB(clBtnShadow));
    TBitmap empty;
    AddDisabledImage(empty);
    EXPECT_TRUE(empty.Empty());
}
