#include "lang/code_converter.h"

namespace vel {

// Without installation settings every code page is the machine's, so nothing converts.
CodePageSettings ReadCodePageSettings(TDesignType) {
    CodePageSettings s;
    s.systemCodePage = s.uiCodePage = s.dbCodePage = SystemCodePageText();
    s.screenMode = DeriveScreenMode(s.uiCodePage, s.systemCodePage);
    s.dataMode = DeriveDataMode(s.uiCodePage, s.dbCodePage);
    return s;
}

std::unique_ptr<ITextTranslator> CreateLanguageTranslator() {
    throw Exception("Load Library Vellanguage.so Error!");
}

}  // namespace vel
