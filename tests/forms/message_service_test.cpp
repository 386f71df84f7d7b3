#include "forms/message_service.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "platform/automation/dispatch.h"
#include "platform/text/codepage.h"
#include "platform/ui/application.h"
#include "platform/ui/presenter.h"
#include "platform/ui/stdctrls.h"
#include "runtime/vantrel_ini.h"

using namespace vel;

namespace {

// A host object or service whose methods the test writes.
class FakeObject : public DispatchObject {
public:
    using DispatchObject::AddMethod;
};

// Marks what went through the Big5 direction, so a test sees which texts were converted.
class MarkingTranslator : public ITextTranslator {
public:
    std::string ConvertGBToBig5(const std::string& text) override { return "B5:" + text; }
    std::string ConvertBig5ToGB(const std::string& text) override { return "GB:" + text; }
};

class FakeHost : public IMessageHost {
public:
    Variant HostApplication() override { return app; }
    Variant CounterObject() override { return counter; }
    Variant ValidatorObject() override { return validator; }
    std::string HostCompanyId() override { return "C01"; }
    std::string HostCompanyDb() override { return "DB01"; }
    TCodeConverter* Converter() override { return converter; }
    bool FormTextsConverted() override { return textsConverted; }
    bool CancelIsActive() override { return cancelActive; }
    TCustomForm& HostForm() override { return *form; }
    void SetWantLog(bool value) override { wantLog = value; }

    Variant app, counter, validator;
    TCodeConverter* converter = nullptr;
    bool textsConverted = false;
    bool cancelActive = false;
    bool wantLog = false;
    TForm* form = nullptr;
};

struct MessageServiceTest : ::testing::Test {
    void SetUp() override {
        SetPresenter(&presenter);
        form = CreateForm<TForm>(nullptr);
        form->SetCaption("QMLK07[DEMO]");
        host.form = form;
        host.converter = new TCodeConverter(form);
        UseCodePages("936");
        messages = std::make_shared<FakeObject>();
        messages->AddMethod("GetMessage", [this](std::vector<Variant>& args) {
            asked.push_back(args[0].ToString() + "/" + args[1].ToString());
            auto it = texts.find(args[1].ToString());
            return it == texts.end() ? Variant("?") : Variant(it->second);
        });
        host.app = Variant(DispatchPtr(messages));
    }
    void TearDown() override {
        service.reset();
        FreeComponent(form);
        Application().ProcessMessages();
        SetPresenter(nullptr);
    }

    // User interface in `ui`; 950 screens convert through the marking translator.
    void UseCodePages(const std::string& ui) {
        CodePageSettings s;
        s.uiCodePage = ui;
        ConversionModes modes = DeriveConversionModes(ui, "936", "936");
        s.screenMode = modes.screenMode;
        s.dataMode = modes.dataMode;
        try {
            host.converter->ApplySettings(s);
        } catch (const std::exception&) {
            // The language library need not be installed here; the test brings its own.
        }
        if (s.screenMode != 0) host.converter->SetTranslator(std::make_unique<MarkingTranslator>());
        ASSERT_EQ(host.converter->UICodePage(), ui);
    }

    const DialogRequest& LastDialog() const { return presenter.shown.back().request; }

    ScriptedPresenter presenter;
    TForm* form = nullptr;
    FakeHost host;
    std::shared_ptr<FakeObject> messages;
    std::map<std::string, std::string> texts;
    std::vector<std::string> asked;
    std::unique_ptr<TMessageService> service = std::make_unique<TMessageService>(host);
};

Variant Settings(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    Variant all = Variant::Array2(0, 1, 0, static_cast<int>(pairs.size()) - 1);
    int j = 0;
    for (auto [name, value] : pairs) {
        all.At(0, j) = Variant(name);
        all.At(1, j++) = Variant(value);
    }
    return all;
}

}  // namespace

TEST(FormatMessageTextTest, FillsPlaceholdersAndRefusesWhatItCannotShow) {
    Variant list = Variant::Of({Variant("a")});
    struct Case {
        const char* format;
        std::vector<Variant> args;
        const char* expected;  // null: refused
    } cases[] = {
        {"%s and %s", {Variant("a"), Variant("b")}, "a and b"},
        {"%d rows", {Variant("12")}, "12 rows"},
        {"%d rows", {Variant(-3)}, "-3 rows"},
        {"50%%", {}, "50%"},
        {"%1:s-%0:s-%s", {Variant("a"), Variant("b")}, "b-a-b"},
        {"[%5s|%-5s]", {Variant("ab"), Variant("cd")}, "[   ab|cd   ]"},
        {"%.3d|%.2s", {Variant("7"), Variant("abcdef")}, "007|ab"},
        {"%*d", {Variant(4), Variant("7")}, "   7"},
        {"%x %X", {Variant(255), Variant(-1)}, "FF FFFFFFFF"},
        {"%.2f|%n", {Variant("3.14159"), Variant("1234567.5")}, "3.14|1,234,567.50"},
        {"%e", {Variant(1234.5)}, "1.23450000000000E+003"},
        {"%s|%s", {Variant(), Variant(7)}, "|7"},
        // Refused: the caller shows the raw text with its arguments instead.
        {"%d", {Variant("abc")}, nullptr},
        {"%d", {Variant()}, nullptr},  // a missing argument is not a zero
        {"%s %s", {Variant("a")}, nullptr},
        {"%5:s", {Variant("a"), Variant("b")}, nullptr},
        {"100%", {Variant("a")}, nullptr},
        {"%-", {Variant("a")}, nullptr},
        {"%q", {Variant("a")}, nullptr},
        {"%999999999s", {Variant("a")}, nullptr},
        {"%.99999999f", {Variant(1.5)}, nullptr},
        {"%s", {list}, nullptr},
        {"%f", {Variant("1e999")}, nullptr},
    };
    for (const auto& c : cases) {
        std::string out = "untouched";
        bool ok = FormatMessageText(c.format, c.args, out);
        if (c.expected) {
            EXPECT_TRUE(ok) << c.format;
            EXPECT_EQ(out, c.expected) << c.format;
        } else {
            EXPECT_FALSE(ok) << c.format;
            EXPECT_EQ(out, "untouched") << c.format;
        }
    }
}

TEST_F(MessageServiceTest, ReportFetchesFormatsListsAndShowsWithOkOnly) {
    texts["000015"] = "Item %s is not in warehouse %s";
    service->ReportMessage("E;000015;A01;W1");
    EXPECT_EQ(asked, std::vector<std::string>{"E/000015"});
    EXPECT_EQ(service->MessageCodeList, "E;000015;A01;W1; ");
    EXPECT_EQ(service->MessageTextList, "Item A01 is not in warehouse W1; ");
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(LastDialog().text, "Item A01 is not in warehouse W1");
    EXPECT_EQ(LastDialog().type, TMsgDlgType::mtError);
    EXPECT_EQ(LastDialog().buttons, mbOK);
    EXPECT_EQ(LastDialog().caption, "QMLK07[DEMO]");

    // Without arguments element 0 is an empty text; a placeholder past it cannot be filled,
    // so the raw text is shown with all ten argument slots.
    texts["000038"] = "Host parameters incomplete%s";
    texts["000002"] = "Expected %s, got %d";
    service->ReportMessage("E;000038");
    EXPECT_EQ(LastDialog().text, "Host parameters incomplete");
    service->ReportMessage("W;000002;texts");
    EXPECT_EQ(LastDialog().text, "Expected %s, got %d\rtexts;;;;;;;;;;");
}

TEST_F(MessageServiceTest, ReportDialogKindFollowsTheTypeLetter) {
    struct Case {
        const char* code;
        TMsgDlgType kind;
    } cases[] = {
        {"C;000001", TMsgDlgType::mtWarning},     {"D;000001", TMsgDlgType::mtWarning},
        {"W;000001", TMsgDlgType::mtWarning},     {"E;000001", TMsgDlgType::mtError},
        {"I;000001", TMsgDlgType::mtInformation}, {"Q;000001", TMsgDlgType::mtConfirmation},
        {"R;000001", TMsgDlgType::mtCustom},
    };
    for (const auto& c : cases) {
        service->ReportMessage(c.code);
        EXPECT_EQ(LastDialog().type, c.kind) << c.code;
        EXPECT_EQ(LastDialog().buttons, mbOK) << c.code;
    }
    EXPECT_EQ(presenter.shown.size(), std::size(cases));
}

TEST_F(MessageServiceTest, NumbersThatAreNotPositiveAreListedButNotShown) {
    texts["000004"] = "Job %s submitted";
    texts["12"] = "twelve";
    service->ReportMessage("I;-000004;J-77");
    service->ReportMessage("E;X12");
    service->ReportMessage("E;0");
    EXPECT_EQ(asked, (std::vector<std::string>{"I/000004", "E/12", "E/"}));
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_EQ(service->MessageCodeList, "I;-000004;J-77; E;X12; E;0; ");
    EXPECT_EQ(service->MessageTextList, "Job J-77 submitted; twelve; ?; ");
}

TEST_F(MessageServiceTest, TextsAreListedOnceCodesEveryTimeAndAnEmptyCodeClears) {
    texts["000005"] = "Missing date";
    texts["000006"] = "Missing";
    service->ReportMessage("W;000005");
    service->ReportMessage("W;000005");
    // A text that is only part of an earlier one is a message of its own.
    service->ReportMessage("W;000006");
    EXPECT_EQ(service->MessageCodeList, "W;000005; W;000005; W;000006; ");
    EXPECT_EQ(service->MessageTextList, "Missing date; Missing; ");
    EXPECT_EQ(presenter.shown.size(), 3u);

    service->ReportMessage("");
    EXPECT_EQ(service->MessageCodeList, "");
    EXPECT_EQ(service->MessageTextList, "");
    EXPECT_EQ(presenter.shown.size(), 3u);
}

TEST_F(MessageServiceTest, MoreThanTenArgumentsRaiseBeforeAnythingIsShown) {
    texts["000001"] = "%s%s%s%s%s%s%s%s%s%s";
    service->ReportMessage("E;000001;1;2;3;4;5;6;7;8;9;10");
    EXPECT_EQ(LastDialog().text, "12345678910");
    presenter.shown.clear();
    EXPECT_THROW(service->ReportMessage("E;000001;1;2;3;4;5;6;7;8;9;10;11"), Exception);
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(MessageServiceTest, NothingIsReportedWhileCancelIsActive) {
    host.cancelActive = true;
    service->ReportMessage("E;000001");
    service->ReportRawError("broken");
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_EQ(service->MessageCodeList, "");
    EXPECT_EQ(service->MessageTextList, "");
}

TEST_F(MessageServiceTest, RawErrorsAreListedTrimmedWithoutDialog) {
    service->ReportRawError("  Socket closed \r\n");
    service->ReportRawError("Socket closed");
    EXPECT_EQ(service->MessageCodeList, "E;-1; E;-1; ");
    EXPECT_EQ(service->MessageTextList, "Socket closed; ");
    EXPECT_TRUE(presenter.shown.empty());
    service->ReportRawError("   ");
    EXPECT_EQ(service->MessageCodeList, "");
    EXPECT_EQ(service->MessageTextList, "");
}

TEST_F(MessageServiceTest, MissingOrFailingHostStillNamesTheMessage) {
    const std::string fallback = "Can not Get Message\rType= E, ID= 000009 ";
    host.app = Variant();
    service->ReportMessage("E;000009");
    EXPECT_EQ(LastDialog().text, fallback);

    auto failing = std::make_shared<FakeObject>();
    failing->AddMethod("GetMessage", [](std::vector<Variant>&) -> Variant { throw OleException("server gone"); });
    host.app = Variant(DispatchPtr(failing));
    EXPECT_EQ(service->GetMessageText("E", "000009"), fallback);
}

TEST_F(MessageServiceTest, ShowByCodeChoosesKindAndButtonsAndAnswers) {
    struct Case {
        const char* type;
        TMsgDlgType kind;
        TMsgDlgButtons buttons;
    } cases[] = {
        {"C", TMsgDlgType::mtWarning, mbOK | mbCancel},
        {"D", TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel},
        {"W", TMsgDlgType::mtWarning, mbOK | mbCancel},
        {"E", TMsgDlgType::mtError, mbOK},
        {"I", TMsgDlgType::mtInformation, mbOK},
        {"Q", TMsgDlgType::mtConfirmation, mbOK | mbCancel},
        {"Z", TMsgDlgType::mtCustom, mbOK},
    };
    for (const auto& c : cases) {
        service->ShowMessageByCode(c.type, "000001", {});
        EXPECT_EQ(LastDialog().type, c.kind) << c.type;
        EXPECT_EQ(LastDialog().buttons, c.buttons) << c.type;
    }

    texts["000003"] = "Option %s: %d expected, element %d empty";
    presenter.QueueAnswer(mrNo);
    int answer = service->ShowMessageByCode("D", "000003", {Variant("T"), Variant(4), Variant("3")}, mbYes | mbNo);
    EXPECT_EQ(answer, mrNo);
    EXPECT_EQ(LastDialog().text, "Option T: 4 expected, element 3 empty");
    EXPECT_EQ(LastDialog().buttons, mbYes | mbNo);

    // Too few arguments for the text: shown raw with what was given.
    service->ShowMessageByCode("W", "000003", {Variant("T")});
    EXPECT_EQ(LastDialog().text, "Option %s: %d expected, element %d empty\rT;");
    EXPECT_TRUE(service->MessageCodeList.empty());  // showing by code does not report
}

TEST_F(MessageServiceTest, QuietModeShowsOnlyErrors) {
    service->SuppressDialogs = true;
    EXPECT_EQ(service->ShowMessageDialog("careful", TMsgDlgType::mtWarning, mbOK | mbCancel), 0);
    service->ReportMessage("W;000001");
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_EQ(service->MessageCodeList, "W;000001; ");  // still listed
    EXPECT_EQ(service->ShowMessageDialog("broken", TMsgDlgType::mtError, mbOK), mrOk);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(LastDialog().text, "broken");
}

TEST_F(MessageServiceTest, ButtonCaptionsFollowTheUserInterfaceCodePage) {
    service->ShowMessageDialog("x", TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel);
    EXPECT_EQ(LastDialog().buttonCaptions, (std::vector<std::string>{CN("是(&Y)"), CN("否(&N)"), CN("取消")}));
    EXPECT_EQ(LastDialog().fontName, "SimSun");
    EXPECT_EQ(LastDialog().fontCharset, 134);

    UseCodePages("950");
    service->ShowMessageDialog("x", TMsgDlgType::mtConfirmation, mbOK | mbCancel);
    EXPECT_EQ(LastDialog().buttonCaptions, (std::vector<std::string>{"B5:" + CN("确定"), "B5:" + CN("取消")}));
    EXPECT_EQ(LastDialog().fontCharset, 136);

    UseCodePages("437");
    service->ShowMessageDialog("x", TMsgDlgType::mtConfirmation, mbOK | mbCancel);
    EXPECT_TRUE(LastDialog().buttonCaptions.empty());  // the toolkit's English captions stay

    EXPECT_EQ(TMessageService::DialogButtonCaption("NoToAll"), CN("全否(&o)"));
    EXPECT_EQ(TMessageService::DialogButtonCaption("Close"), "Close");
}

TEST_F(MessageServiceTest, FocusReturnsAfterErrorsAndAFreedControlIsForgotten) {
    auto* first = new TEdit(form);
    first->SetParent(form);
    auto* second = new TEdit(form);
    second->SetParent(form);
    form->Show();
    second->SetFocus();
    service->SetErrorFocusControl(first);
    Application().ProcessMessages();

    size_t queued = Application().QueueLength();
    service->ShowMessageDialog("careful", TMsgDlgType::mtWarning, mbOK);
    EXPECT_EQ(form->ActiveControl(), second);
    EXPECT_EQ(Application().QueueLength(), queued + 1);  // the button release for the active control
    service->ShowMessageDialog("broken", TMsgDlgType::mtError, mbOK);
    EXPECT_EQ(form->ActiveControl(), first);
    Application().ProcessMessages();

    FreeComponent(first);
    EXPECT_EQ(service->ErrorFocusControl(), nullptr);
    service->ShowMessageDialog("broken again", TMsgDlgType::mtError, mbOK);
    EXPECT_EQ(presenter.shown.size(), 3u);
}

TEST_F(MessageServiceTest, SettingsAreCachedOnceAndReadByName) {
    int calls = 0;
    auto counter = std::make_shared<FakeObject>();
    counter->AddMethod("GetSysInfo", [&](std::vector<Variant>& args) {
        ++calls;
        EXPECT_EQ(args.at(0).ToString(), "C01");
        return Settings({{"Sys001", "3"}, {"Sys002", "-"}, {"Vel002", "DEMO"}, {"SYS007", "Colour"}});
    });
    host.counter = Variant(DispatchPtr(counter));
    EXPECT_EQ(service->GetSystemSetting(""), "");
    EXPECT_EQ(service->GetSystemSetting("Vel002"), "DEMO");
    EXPECT_EQ(service->GetSystemSetting("VEL002"), "DEMO");
    EXPECT_EQ(service->GetSystemSetting("Sys099"), "");
    EXPECT_EQ(service->GetSystemSetting("Sys007"), "Colour");
    EXPECT_EQ(service->GetDateTypeCode(), 3);
    EXPECT_EQ(service->GetDateSeparator(), "-");
    EXPECT_EQ(service->CachedDateType, 3);
    EXPECT_EQ(calls, 1);
}

TEST_F(MessageServiceTest, DateSettingsFallBackToTheirDefaults) {
    auto counter = std::make_shared<FakeObject>();
    Variant answer;
    counter->AddMethod("GetSysInfo", [&](std::vector<Variant>&) { return answer; });
    host.counter = Variant(DispatchPtr(counter));
    for (const char* type : {"", "x", "0", "9", "2a"}) {
        answer = Settings({{"Sys001", type}, {"Sys002", ""}});
        service->GetSystemSetting("");
        EXPECT_EQ(service->GetDateTypeCode(), 1) << type;
        EXPECT_EQ(service->GetDateSeparator(), "/");
    }
}

TEST_F(MessageServiceTest, BrokenSettingsAnswersLeaveTheCacheEmpty) {
    auto counter = std::make_shared<FakeObject>();
    Variant answer;
    bool fail = false;
    counter->AddMethod("GetSysInfo", [&](std::vector<Variant>&) -> Variant {
        if (fail) throw OleException("no company");
        return answer;
    });
    host.counter = Variant(DispatchPtr(counter));
    Variant oneRow = Variant::Array2(0, 0, 0, 1);
    oneRow.At(0, 0) = Variant("Vel002");
    Variant nested = Settings({{"Vel002", "x"}});
    nested.At(1, 0) = Variant::Of({Variant("a")});
    for (const Variant& a : {Variant("Vel002=x"), Variant::Of({Variant("Vel002"), Variant("x")}), oneRow, nested}) {
        answer = Settings({{"Vel002", "old"}});
        service->GetSystemSetting("");
        answer = a;
        service->GetSystemSetting("");
        EXPECT_EQ(service->GetSystemSetting("Vel002"), "") << a.Describe();
    }
    fail = true;
    service->GetSystemSetting("");
    EXPECT_EQ(service->SysInfoCache.Count(), 0);
    host.counter = Variant();
    service->GetSystemSetting("");
    EXPECT_EQ(service->GetSystemSetting("Vel002"), "");
}

TEST_F(MessageServiceTest, ItemCategoriesHaveBuiltInNamesWhenUnset) {
    EXPECT_EQ(service->GetSystemSetting("sys007"), CN("商品分类方式一"));
    EXPECT_EQ(service->GetSystemSetting("SYS010"), CN("商品分类方式四"));
    EXPECT_EQ(service->GetSystemSetting("SYS011"), "");
    UseCodePages("437");
    EXPECT_EQ(service->GetSystemSetting("SYS008"), "Inv.Cate.2");
    EXPECT_EQ(service->GetSystemSetting("SYS010"), "Inv.Cate.4");
}

TEST_F(MessageServiceTest, SettingsShowInTheScreenCodePageOnceTextsAreConverted) {
    auto counter = std::make_shared<FakeObject>();
    counter->AddMethod("GetSysInfo", [](std::vector<Variant>&) { return Settings({{"Vel002", "DEMO"}}); });
    host.counter = Variant(DispatchPtr(counter));
    UseCodePages("950");
    service->GetSystemSetting("");
    EXPECT_EQ(service->GetSystemSetting("Vel002"), "DEMO");
    EXPECT_EQ(service->GetSystemSetting("SYS009"), CN("商品分类方式三"));
    host.textsConverted = true;
    EXPECT_EQ(service->GetSystemSetting("Vel002"), "B5:DEMO");
    EXPECT_EQ(service->GetSystemSetting("SYS009"), "B5:" + CN("商品分类方式三"));
}

TEST_F(MessageServiceTest, ProgramInfoComesFromTheMasterRecord) {
    auto validator = std::make_shared<FakeObject>();
    Variant row;
    bool found = true;
    std::vector<Variant> seen;
    validator->AddMethod("QueryData", [&](std::vector<Variant>& args) {
        seen = args;
        args[4] = row;
        return Variant(found);
    });
    host.validator = Variant(DispatchPtr(validator));

    row = Variant::Of({Variant("Cost report"), Variant(""), Variant(""), Variant(""), Variant("Y"), Variant(""),
                       Variant(""), Variant("Cost report (EN)")});
    EXPECT_EQ(service->LoadProgramInfo("QMLK07"), "Cost report");
    EXPECT_TRUE(host.wantLog);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].ToString(), "ADMMB");
    EXPECT_EQ(seen[1].ToString(), "01");
    EXPECT_EQ(seen[2].ToString(), "DB01");
    EXPECT_EQ(seen[3], Variant::Of({Variant("QMLK07")}));

    UseCodePages("437");
    EXPECT_EQ(service->LoadProgramInfo("QMLK07"), "Cost report (EN)");
    row = Variant::Of({Variant("Cost report"), Variant(""), Variant(""), Variant(""), Variant("N")});
    EXPECT_EQ(service->LoadProgramInfo("QMLK07"), "Cost report");  // no English name in a short record
    EXPECT_FALSE(host.wantLog);

    // Failures: not found, a record too short to hold the log switch, a non-array, a raising call.
    row = Variant::Of({Variant("Cost report"), Variant(""), Variant(""), Variant(""), Variant("Y")});
    found = false;
    host.wantLog = true;
    EXPECT_EQ(service->LoadProgramInfo("QMLK07"), "QMLK07");
    EXPECT_FALSE(host.wantLog);
    found = true;
    for (const Variant& bad : {Variant::Of({Variant("Cost report"), Variant("Y")}), Variant("Cost report")}) {
        row = bad;
        host.wantLog = true;
        EXPECT_EQ(service->LoadProgramInfo("QMLK07"), "QMLK07") << bad.Describe();
        EXPECT_FALSE(host.wantLog);
    }
    validator->AddMethod("QueryData", [](std::vector<Variant>&) -> Variant { throw OleException("no table"); });
    EXPECT_EQ(service->LoadProgramInfo("QMLK07"), "QMLK07");
    host.validator = Variant();
    EXPECT_EQ(service->LoadProgramInfo("QMLK07"), "QMLK07");
}
