#pragma once
// TTranslator: binds the language library at run time and offers its two conversions to the
// code converter. Nothing else in the module talks to the library.
#include <string>

#include "lang/code_converter.h"
#include "platform/system/dynlib.h"
#include "suite/libs/Vellanguage/vellanguage_abi.h"

namespace vel {

// The name the module asks the platform for; the platform loads PlatformLibraryName of it.
inline constexpr const char* kLanguageLibrary = "Vellanguage.dll";

class TTranslator : public ITextTranslator {
public:
    // Loads the library; raises "Load Library <file> Error!" when it cannot be loaded and
    // "Get Library Procedure Address Error!" when a conversion export is missing.
    TTranslator();
    ~TTranslator() override;
    TTranslator(const TTranslator&) = delete;
    TTranslator& operator=(const TTranslator&) = delete;

    // The text itself when the export is not bound.
    std::string ConvertGBToBig5(const std::string& text) override;
    std::string ConvertBig5ToGB(const std::string& text) override;

    void LoadLanguageLibrary();
    void FreeLanguageLibrary();

    bool Loaded() const { return library_ != nullptr; }
    // The further exports are looked up but never called; a library may lack them.
    bool HasGetBIG5Data() const { return getBig5Data_ != nullptr; }
    bool HasGetGBData() const { return getGBData_ != nullptr; }
    bool HasSaveOrder() const { return saveOrder_ != nullptr; }

private:
    std::string Call(VelConvertProc proc, const char* exportName, const std::string& text);

    LibraryHandle library_ = nullptr;
    VelConvertProc gbToBig5_ = nullptr;
    VelConvertProc big5ToGB_ = nullptr;
    void* getBig5Data_ = nullptr;
    void* getGBData_ = nullptr;
    void* saveOrder_ = nullptr;
};

}  // namespace vel
