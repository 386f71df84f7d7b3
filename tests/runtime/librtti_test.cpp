#include <gtest/gtest.h>

#include "platform/ui/stdctrls.h"
#include "runtime/librtti.h"

using namespace vel;

namespace {

// Records what reaches its window procedure.
class RecordingControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    void WndProc(TMessage& message) override {
        seen.push_back(message);
        TWinControl::WndProc(message);
    }
    std::vector<TMessage> seen;
};

}  // namespace

TEST(PropertyByNameTest, ReadsAndWritesPublishedProperties) {
    TEdit edit(nullptr);
    SetStrPropByName(&edit, "text", "hello");  // names compare without case
    EXPECT_EQ(GetStrPropByName(&edit, "Text"), "hello");
    SetStrPropByName(&edit, "Name", "ed01");
    EXPECT_EQ(edit.Name(), "ed01");

    SetOrdPropByName(&edit, "MaxLength", 12);
    EXPECT_EQ(GetOrdPropByName(&edit, "MaxLength"), 12);
    SetOrdPropByName(&edit, "ReadOnly", 1);  // an enumeration by ordinal
    EXPECT_TRUE(edit.ReadOnly());
    EXPECT_EQ(GetOrdPropByName(&edit, "ReadOnly"), 1);

    EXPECT_TRUE(HasPropertyNamed(&edit, "Tag"));  // inherited
    EXPECT_FALSE(HasPropertyNamed(&edit, "Checked"));
    EXPECT_FALSE(HasPropertyNamed(&edit, ""));
    EXPECT_FALSE(HasPropertyNamed(nullptr, "Text"));

    // Missing objects, unknown names and other kinds read empty and write nothing.
    EXPECT_EQ(GetStrPropByName(nullptr, "Text"), "");
    EXPECT_EQ(GetStrPropByName(&edit, "Nope"), "");
    EXPECT_EQ(GetStrPropByName(&edit, "MaxLength"), "");
    EXPECT_EQ(GetOrdPropByName(&edit, "Text"), 0);
    EXPECT_EQ(GetOrdPropByName(nullptr, "Tag"), 0);
    EXPECT_NO_THROW(SetStrPropByName(nullptr, "Text", "x"));
    EXPECT_NO_THROW(SetStrPropByName(&edit, "Nope", "x"));
    EXPECT_NO_THROW(SetOrdPropByName(&edit, "Text", 5));
    EXPECT_EQ(edit.Caption(), "hello");
}

TEST(PropertyByNameTest, EventHandlersAreSavedSwappedAndRestored) {
    TEdit edit(nullptr);
    int calls = 0;
    TNotifyEvent original("edChange", &edit, [&](TComponent*) { ++calls; });
    edit.OnChange = original;

    std::any saved = GetMethodPropByName(&edit, "OnChange");
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(std::any_cast<TNotifyEvent>(saved) == original);

    SetMethodPropByName(&edit, "OnChange", std::any(TNotifyEvent()));
    EXPECT_FALSE(static_cast<bool>(edit.OnChange));
    SetMethodPropByName(&edit, "OnChange", saved);
    edit.OnChange(&edit);
    EXPECT_EQ(calls, 1);

    EXPECT_FALSE(GetMethodPropByName(&edit, "OnNothing").has_value());
    EXPECT_FALSE(GetMethodPropByName(nullptr, "OnChange").has_value());
    EXPECT_FALSE(GetMethodPropByName(&edit, "Text").has_value());
    // A handler of the wrong type is refused quietly.
    EXPECT_NO_THROW(SetMethodPropByName(&edit, "OnChange", std::any(42)));
    EXPECT_TRUE(edit.OnChange == original);
}

TEST(ClickControlTest, SendsButtonDownAndUpStraightToTheControl) {
    RecordingControl control(nullptr);
    ClickControl(&control, 0, 0x00050003);
    ASSERT_EQ(control.seen.size(), 2u);
    EXPECT_EQ(control.seen[0].msg, static_cast<uint32_t>(WM_LBUTTONDOWN));
    EXPECT_EQ(control.seen[1].msg, 0x0202u);
    EXPECT_EQ(control.seen[1].lParam, 0x00050003);
    EXPECT_EQ(control.seen[0].handle, control.Handle());
    EXPECT_NO_THROW(ClickControl(nullptr, 0, 0));
}

TEST(ClickControlTest, ClicksAnEnabledButtonOnceAndADisabledOneNever) {
    TButton button(nullptr);
    int clicks = 0;
    button.OnClick = TNotifyEvent("count", &button, [&](TComponent*) { ++clicks; });
    ClickControl(&button, 0, 0);
    EXPECT_EQ(clicks, 1);
    button.SetEnabled(false);
    ClickControl(&button, 0, 0);
    EXPECT_EQ(clicks, 1);
    // A release without its press (as after a dialog) clicks nothing.
    button.SetEnabled(true);
    TMessage up;
    up.msg = WM_LBUTTONUP;
    button.WndProc(up);
    EXPECT_EQ(clicks, 1);
}
