// The form's lookups: the request the host's lookup window receives and where the answer goes.
#include <gtest/gtest.h>

#include "controls/select_panel.h"
#include "forms/programs/frm_qmlk07.h"
#include "platform/text/codepage.h"
#include "platform/ui/application.h"
#include "platform/ui/presenter.h"
#include "tests/support/echo_host.h"

using namespace vel;

namespace {

class FakeLookup : public DispatchObject {
public:
    FakeLookup() {
        AddMethod("F2GetData", [this](std::vector<Variant>& args) {
            requests.push_back(args.at(0));
            return answer;
        });
        AddMethod("ShowInputDay", [this](std::vector<Variant>& args) {
            days.push_back(args.at(0));
            return Variant(day);
        });
    }
    std::vector<Variant> requests, days;
    Variant answer;
    std::string day;
};

struct LookupTest : ::testing::Test {
    void SetUp() override {
        SetPresenter(&presenter);
        form = CreateForm<TfrmQMLK07>(nullptr);
        form->HostApp = veltest::EchoMessageHost();
        form->ModuleFile = "/opt/vel/QMLK07C.so";
        form->DeclareFields();
        form->UserId = "DS";
        form->CompanyId = "C01";
        form->CompanyDb = "DB01";
        lookup = std::make_shared<FakeLookup>();
        form->LookupService = Variant(DispatchPtr(lookup));
    }
    void TearDown() override {
        FreeComponent(form);
        Application().ProcessMessages();
        SetPresenter(nullptr);
    }
    TSelectPanel& Items() { return *dynamic_cast<TSelectPanel*>(form->sp02); }
    static Variant Row(std::initializer_list<const char*> values) {
        std::vector<Variant> v;
        for (const char* s : values) v.emplace_back(s);
        Variant row = Variant::Array(0, static_cast<int>(v.size()) - 1);
        for (size_t i = 0; i < v.size(); ++i) row[static_cast<int>(i)] = v[i];
        return row;
    }

    ScriptedPresenter presenter;
    TfrmQMLK07* form = nullptr;
    std::shared_ptr<FakeLookup> lookup;
};

}  // namespace

TEST_F(LookupTest, RequestCarriesTheNineteenElements) {
    form->ApplyRights(Variant::Of({Variant("QMLK07"), Variant("1,Y,N,NNNNNNYN,,"), Variant("f2"), Variant("f3"),
                                   Variant("R4"), Variant::Of({Variant(2), Variant("a"), Variant("b")})}));
    Items().edBegin->SetCaption("A0");
    form->HandleF2(VK_F2, Items().edBegin);
    ASSERT_EQ(lookup->requests.size(), 1u);
    const Variant& r = lookup->requests[0];
    ASSERT_EQ(r.LowBound(), 0);
    ASSERT_EQ(r.HighBound(), 18);
    EXPECT_EQ(r[0].ToString(), "INVMB");
    EXPECT_EQ(r[1].ToString(), "01");
    EXPECT_TRUE(r[2] == Variant::Of({Variant(std::string())}));
    EXPECT_FALSE(r[3].ToBool());
    EXPECT_EQ(r[4].ToString(), "A0");
    EXPECT_EQ(r[5].ToString(), "C01");
    EXPECT_EQ(r[6].ToString(), "DB01");
    EXPECT_EQ(r[8].ToInt(), 1);
    EXPECT_FALSE(r[9].ToBool());
    EXPECT_EQ(r[14].ToString(), "R4\x03" "2\x03" "a\x03" "b\x03");
    EXPECT_FALSE(r[15].ToBool());  // character 8 of field 4 is "N"
    EXPECT_TRUE(r[16].ToBool());   // character 7 is "Y"
    EXPECT_TRUE(r[17].IsDispatch());
    EXPECT_EQ(r[18].ToString(), "DS");
}

TEST_F(LookupTest, AnswersGoIntoTheEditOrTheList) {
    lookup->answer = Variant::Of({Row({"A001", "Bolt", "M6", "x", "y", "z"}), Row({"B001", "Nut", "M6", "x", "y", "z"})});
    form->HandleF2(VK_F2, Items().edBegin);
    EXPECT_EQ(Items().edBegin->Caption(), "A001");  // element 0 of the first row

    Items().SetUserChoice(false);
    form->HandleF2(VK_F2, Items().ListBox);
    EXPECT_TRUE(lookup->requests.back()[3].ToBool());
    Variant value = Items().PanelValue();
    ASSERT_EQ(value.HighBound(), 2);
    EXPECT_TRUE(value[1] == Row({"A001", "Bolt", "M6", "x"}));  // four values without all columns

    Items().SetUseDiscard(true);
    Items().SetDiscard(" - ");
    Items().ClearRows();
    form->HandleF2(VK_F2, Items().ListBox);
    EXPECT_EQ(Items().PanelValue()[1][0].ToString(), "A001 - Bolt - M6 - x");

    // The warehouse panel asks its own table; nothing picked leaves the edit alone.
    auto& stores = *dynamic_cast<TSelectPanel*>(form->sp03);
    stores.edBegin->SetCaption("W1");
    lookup->answer = Variant();
    form->HandleF2(VK_F2, stores.edBegin);
    EXPECT_EQ(lookup->requests.back()[0].ToString(), "CMSMC");
    EXPECT_EQ(stores.edBegin->Caption(), "W1");
}

TEST_F(LookupTest, WithoutALookupServiceNothingHappensAndOtherControlsAreRefused) {
    form->LookupService = Variant();
    form->HandleF2(VK_F2, Items().edBegin);
    EXPECT_EQ(Items().edBegin->Caption(), "");
    EXPECT_TRUE(presenter.shown.empty());
    form->PanelLookup(form->ed01, "INVMB", "01", false, "", Variant());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].request.type, TMsgDlgType::mtError);
}

TEST_F(LookupTest, DatePickerStartsFromTodayAndShowsThePickInTheUsersStyle) {
    lookup->day = "20240115";
    form->edPrintDate->SetCaption("2024/03/05");
    form->HandleF2(VK_F2, form->edPrintDate);
    ASSERT_EQ(lookup->days.size(), 1u);
    EXPECT_EQ(lookup->days[0][1].ToString().size(), 8u);
    EXPECT_NE(lookup->days[0][1].ToString(), "2024/03/05");
    EXPECT_EQ(form->edPrintDate->Caption(), "2024/01/15");
    lookup->day = "";
    form->HandleF2(VK_F2, form->edPrintDate);
    EXPECT_EQ(form->edPrintDate->Caption(), "2024/01/15");  // nothing picked: unchanged
}
