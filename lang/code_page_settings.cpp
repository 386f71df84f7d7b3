#include "lang/code_converter.h"
#include "lang/translator.h"
#include "runtime/vantrel_ini.h"

namespace vel {

namespace {

template <typename Reader>
CodePageSettings FromReader(const Reader& ini) {
    CodePageSettings s;
    s.systemCodePage = ini.SystemCodePage;
    s.uiCodePage = ini.UICodePage;
    s.dbCodePage = ini.DBCodePage;
    s.screenMode = ini.ScreenMode;
    s.dataMode = ini.DataMode;
    return s;
}

}  // namespace

// The readers derive both modes from the three code pages (DeriveConversionModes).
CodePageSettings ReadCodePageSettings(TDesignType type) {
    if (type == TDesignType::dtServer) return FromReader(TVantrelIniS());
    return FromReader(TVantrelIniC());
}

std::unique_ptr<ITextTranslator> CreateLanguageTranslator() { return std::make_unique<TTranslator>(); }

}  // namespace vel
