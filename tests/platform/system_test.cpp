#include <dlfcn.h>
#include <gnu/libc-version.h>
#include <gtest/gtest.h>

#include "platform/automation/dispatch.h"
#include "platform/system/dynlib.h"
#include "platform/system/inifile.h"
#include "platform/system/registry_store.h"
#include "tests/support/temp_dir.h"

using namespace vel;

TEST(IniFile, PrivateProfileRules) {
    veltest::TempDir dir;
    std::string file = dir.Write("a.ini", "\xEF\xBB\xBF; comment\n[Server]\n Address = 10.0.0.1 \nADDRESS=second\n"
                                          "Port=300\nBad=3x\n[server]\nExtra=\"quoted\"\n");
    IniFile ini(file);
    EXPECT_EQ(ini.ReadString("SERVER", "address", "d"), "10.0.0.1");  // no case, first wins, trimmed
    EXPECT_EQ(ini.ReadInteger("Server", "Port", 0), 300);
    EXPECT_EQ(ini.ReadInteger("Server", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadString("Server", "Extra", ""), "quoted");  // a repeated section merges into the first
    EXPECT_EQ(ini.ReadString("Missing", "x", "dflt"), "dflt");
    EXPECT_FALSE(IniFile(dir.File("none.ini")).Exists());
}

TEST(Registry, KeysAreSectionsOfTheStore) {
    veltest::TempDir dir;
    dir.Write("reg.ini", "[HKEY_LOCAL_MACHINE\\Software\\Vel\\Vantrel]\nClientPath=/opt/vel/client\n");
    veltest::ScopedEnv env("VEL_REGISTRY", dir.File("reg.ini"));
    Registry reg;
    EXPECT_TRUE(reg.KeyExists(kLocalMachine, "\\software\\vel\\vantrel"));
    EXPECT_EQ(reg.ReadValue(kLocalMachine, "Software\\Vel\\Vantrel", "ClientPath").value_or(""), "/opt/vel/client");
    EXPECT_FALSE(reg.ReadValue(kLocalMachine, "Software\\Vel\\Vantrel", "ServerPath").has_value());
    veltest::ScopedEnv missing("VEL_REGISTRY", dir.File("absent.ini"));
    EXPECT_FALSE(Registry().KeyExists(kLocalMachine, "Software\\Vel\\Vantrel"));
}

TEST(Automation, ClassesByNameAndLateBoundCalls) {
    class Counter : public DispatchObject {
    public:
        Counter() {
            AddMethod("Add", [this](std::vector<Variant>& a) {
                total += a.at(0).ToInt();
                a.at(1) = Variant(total);  // by-reference result
                return Variant(true);
            });
            AddProperty("Total", [this] { return Variant(total); }, [this](const Variant& v) { total = v.ToInt(); });
        }
        int total = 0;
    };
    RegisterClassFactory("Test.Counter", [] { return std::make_shared<Counter>(); });
    Variant obj = CreateOleObject("test.counter");
    std::vector<Variant> args{Variant(5), Variant()};
    EXPECT_TRUE(obj.Call("ADD", args).ToBool());
    EXPECT_EQ(args[1].ToInt(), 5);
    obj.Set("Total", Variant(40));
    EXPECT_EQ(obj.Get("total").ToInt(), 40);
    try {
        obj.Call("Nope");
        FAIL();
    } catch (const OleException& e) {
        EXPECT_NE(std::string(e.what()).find("Nope"), std::string::npos);
    }
    UnregisterClassFactory("Test.Counter");
    veltest::TempDir dir;
    veltest::ScopedEnv env("VEL_REGISTRY", dir.File("none.ini"));
    EXPECT_THROW(CreateOleObject("Test.Counter"), OleException);
}

TEST(DynLib, WindowsNamesMapToSharedObjects) {
    EXPECT_EQ(PlatformLibraryName("Vellanguage.dll"), "Vellanguage.so");
    EXPECT_EQ(PlatformLibraryName("QMLK07S.DLL"), "QMLK07S.so");
    EXPECT_EQ(PlatformLibraryName("Glyphor"), "Glyphor.so");
    EXPECT_EQ(LoadLibraryByName("NoSuchLibrary.dll"), nullptr);
    EXPECT_FALSE(LastLibraryError().empty());
}

TEST(DynLib, LibraryPathIsTheOnlyPlaceForBareNames) {
    // libc is always on the standard search path, so only the override can hide it.
    Dl_info info{};
    ASSERT_NE(::dladdr(reinterpret_cast<void*>(&::gnu_get_libc_version), &info), 0);
    std::string libc = info.dli_fname;
    std::string dir = libc.substr(0, libc.rfind('/'));
    std::string bare = libc.substr(libc.rfind('/') + 1);
    veltest::TempDir empty;
    {
        veltest::ScopedEnv path("VEL_LIBRARY_PATH", empty.Path());
        EXPECT_EQ(LoadLibraryByName(bare), nullptr);
        EXPECT_NE(LastLibraryError().find("VEL_LIBRARY_PATH"), std::string::npos);
        // A name with a directory is used as it stands.
        LibraryHandle byPath = LoadLibraryByName(libc);
        EXPECT_NE(byPath, nullptr);
        FreeLibrary(byPath);
    }
    veltest::ScopedEnv path("VEL_LIBRARY_PATH", empty.Path() + "::" + dir + "/");
    LibraryHandle found = LoadLibraryByName(bare);
    EXPECT_NE(found, nullptr);
    EXPECT_NE(GetProcAddress(found, "gnu_get_libc_version"), nullptr);
    FreeLibrary(found);
}
