#include "lang/translator.h"

namespace vel {
namespace {

// Any address inside this module: the library is looked for beside the module as well.
const char kModuleAnchor = 0;

}  // namespace

TTranslator::TTranslator() {
    try {
        LoadLanguageLibrary();
    } catch (...) {
        // A library that loaded but lacks an export is released again.
        FreeLanguageLibrary();
        throw;
    }
}

TTranslator::~TTranslator() { FreeLanguageLibrary(); }

void TTranslator::LoadLanguageLibrary() {
    if (library_) return;
    library_ = LoadLibraryByName(kLanguageLibrary, &kModuleAnchor);
    if (!library_) throw Exception("Load Library " + PlatformLibraryName(kLanguageLibrary) + " Error!");
    gbToBig5_ = reinterpret_cast<VelConvertProc>(GetProcAddress(library_, "GBtoBIG5"));
    big5ToGB_ = reinterpret_cast<VelConvertProc>(GetProcAddress(library_, "BIG5toGB"));
    getBig5Data_ = GetProcAddress(library_, "GetBIG5Data");
    getGBData_ = GetProcAddress(library_, "GetGBData");
    saveOrder_ = GetProcAddress(library_, "SaveOrder");
    if (!gbToBig5_ || !big5ToGB_) throw Exception("Get Library Procedure Address Error!");
}

void TTranslator::FreeLanguageLibrary() {
    if (!library_) return;
    FreeLibrary(library_);
    library_ = nullptr;
    gbToBig5_ = big5ToGB_ = nullptr;
    getBig5Data_ = getGBData_ = saveOrder_ = nullptr;
}

std::string TTranslator::Call(VelConvertProc proc, const char* exportName, const std::string& text) {
    if (!proc) return text;
    VelText source{const_cast<char*>(text.data()), text.size(), nullptr};
    VelText result{nullptr, 0, nullptr};
    int ok = proc(&source, &result);
    std::string out = result.data ? std::string(result.data, result.length) : std::string();
    if (result.release) result.release(&result);
    if (!ok) throw Exception(PlatformLibraryName(kLanguageLibrary) + " " + exportName + ": " + out);
    return out;
}

std::string TTranslator::ConvertGBToBig5(const std::string& text) { return Call(gbToBig5_, "GBtoBIG5", text); }
std::string TTranslator::ConvertBig5ToGB(const std::string& text) { return Call(big5ToGB_, "BIG5toGB", text); }

}  // namespace vel
