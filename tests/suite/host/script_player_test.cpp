#include <gtest/gtest.h>

#include <sstream>

#include "suite/host/module_loader.h"
#include "suite/host/script_player.h"
#include "tests/support/client_install.h"

using velhost::ScriptPlayer;

TEST(ScriptPlayer, KeyNames) {
    struct Case { const char* text; uint16_t key; vel::TShiftState shift; } cases[] = {
        {"F2", vel::VK_F2, 0}, {"Enter", vel::VK_RETURN, 0}, {"Ctrl+Tab", vel::VK_TAB, vel::ssCtrl},
        {"Ctrl+Shift+Tab", vel::VK_TAB, vel::ssCtrl | vel::ssShift}, {"ctrl+pagedown", vel::VK_NEXT, vel::ssCtrl},
        {"Ctrl+Alt+V", 'V', vel::ssCtrl | vel::ssAlt},
    };
    for (const auto& c : cases) {
        uint16_t key;
        vel::TShiftState shift;
        ASSERT_TRUE(ScriptPlayer::ParseKey(c.text, key, shift)) << c.text;
        EXPECT_EQ(key, c.key) << c.text;
        EXPECT_EQ(shift, c.shift) << c.text;
    }
    uint16_t key;
    vel::TShiftState shift;
    EXPECT_FALSE(ScriptPlayer::ParseKey("Hyper+Tab", key, shift));
    EXPECT_FALSE(ScriptPlayer::ParseKey("NoSuchKey", key, shift));
}

TEST(ScriptPlayer, DrivesTheModuleFormAndReportsErrorsPerLine) {
    veltest::ClientInstall install;
    velhost::LoadedModule module(VEL_BIN_DIR "/QMLK07C.so");
    std::unique_ptr<TDLLBaseController> controller(module.NewController());
    std::istringstream script("# a comment\nshow frmQMLK07.btnOk.Caption\nbogus x\nclick btnCancel\n");
    std::ostringstream out;
    velhost::HostAnswers answers;
    ScriptPlayer player(script, out, answers);
    vel::SetPresenter(&player);
    ASSERT_EQ(controller->Initialize(vel::Variant::Of({vel::Variant("DS"), vel::Variant("DEMO"), vel::Variant("DEMO"),
                                                        vel::Variant(0), vel::Variant()})), 0);
    player.SetMainForm(controller->GetHandle());
    controller->SetVisible(1);
    player.Run();
    EXPECT_TRUE(controller->FormIsNil());  // cancel closed and freed the form
    EXPECT_EQ(out.str(), "frmQMLK07.btnOk.Caption=后台处理\nerror line 3: unknown command bogus\n");
    vel::SetPresenter(nullptr);
}
