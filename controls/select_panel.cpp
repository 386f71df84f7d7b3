#include "controls/select_panel.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "platform/text/codepage.h"
#include "platform/ui/forms.h"

namespace vel {
namespace {

const char kFieldSep = '\x03';
const char kRowEnd = '\x04';
const char kValueSep = '\x01';
const char kRangeMark[] = "\x04";
const char kListMark[] = "\x05";

// The sub-panels have no bevels but keep the toolkit's bevel width.
constexpr int kSubPanelBevelWidth = 1;
constexpr int kButtonSize = 23;

std::vector<std::string> StyleNames() { return {"sp_Range", "sp_Discrete", "sp_UserChoice"}; }

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

int CompareTextNoCase(const std::string& a, const std::string& b) {
    int c = UpperAscii(a).compare(UpperAscii(b));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// Every field of `text` cut at `sep`; an empty text has none.
std::vector<std::string> SplitFields(const std::string& text, char sep) {
    std::vector<std::string> out;
    if (text.empty()) return out;
    size_t start = 0;
    for (;;) {
        size_t pos = text.find(sep, start);
        if (pos == std::string::npos) {
            out.push_back(text.substr(start));
            return out;
        }
        out.push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
}

// Field n (from 1), empty when there is none.
std::string FieldAt(const std::vector<std::string>& fields, int n) {
    return n >= 1 && n <= static_cast<int>(fields.size()) ? fields[static_cast<size_t>(n - 1)] : std::string();
}

// A whole text read as a 32-bit integer (leading blanks and a sign allowed).
bool ReadInt(const std::string& text, int& value) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size()) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

int IntOr(const std::string& text, int fallback) {
    int v;
    return ReadInt(text, v) ? v : fallback;
}

// Days since 30 Dec 1899 of a valid calendar date, else 0.
double EncodeDateOrZero(int year, int month, int day) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return 0;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int monthDays = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day > monthDays) return 0;
    int dayOfYear = day;
    for (int m = 1; m < month; ++m) dayOfYear += kDays[m - 1] + (m == 2 && leap ? 1 : 0);
    long long y = year - 1;
    long long days = y * 365 + y / 4 - y / 100 + y / 400 + dayOfYear;
    return static_cast<double>(days - 693594);
}

// A number text in the form "integer part.fraction part" ("12. 5" -> "12.5", "7" -> "7.0").
std::string NormalFloatText(const std::string& text) {
    size_t dot = text.find('.');
    std::string whole = Trim(dot == std::string::npos ? text : text.substr(0, dot));
    std::string fraction = Trim(dot == std::string::npos ? std::string() : text.substr(dot + 1));
    int ignored;
    if (!ReadInt(whole, ignored)) whole = "0";
    bool digits = !fraction.empty() && std::all_of(fraction.begin(), fraction.end(),
                                                   [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    if (!digits) fraction = "0";
    return whole + "." + fraction;
}

TSelectPanel* PanelOf(const TComponent* c) { return c ? dynamic_cast<TSelectPanel*>(c->Owner()) : nullptr; }

}  // namespace

std::string SelectStyleName(TSelectStyle style) { return StyleNames().at(static_cast<size_t>(style)); }

// ---------------------------------------------------------------------------------------
// Sub-control classes

VEL_DEFINE_COMPONENT(TTarnMaskEdit, (void)b)

TTarnMaskEdit::TTarnMaskEdit(TComponent* owner) : TMaskEdit(owner) {}

void TTarnMaskEdit::TextChanged() {
    if (noChangeEvent_) return;
    TMaskEdit::TextChanged();
}

void TTarnMaskEdit::DoEnter() {
    if (TSelectPanel* panel = PanelOf(this)) panel->SubControlEntered();
    TMaskEdit::DoEnter();
}

void TTarnMaskEdit::DoExit() {
    TMaskEdit::DoExit();
    if (TSelectPanel* panel = PanelOf(this)) panel->SubControlLeft();
}

VEL_DEFINE_COMPONENT(TTarnCheckBox, (void)b)

void TTarnCheckBox::DoEnter() {
    if (TSelectPanel* panel = PanelOf(this)) panel->SubControlEntered();
    TBitCheckBox::DoEnter();
}

void TTarnCheckBox::DoExit() {
    TBitCheckBox::DoExit();
    if (TSelectPanel* panel = PanelOf(this)) panel->SubControlLeft();
}

VEL_DEFINE_COMPONENT(TTarnListView,
    b.Bool("ColumnAutoSize", [](TTarnListView& l) { return l.ColumnAutoSize(); },
           [](TTarnListView& l, bool v) { l.SetColumnAutoSize(v); }))

TTarnListView::TTarnListView(TComponent* owner) : TListView(owner) {
    OnCompare = TLVCompareEvent("CompareRows", this, [this](TComponent*, TListItem* a, TListItem* b, int& result) {
        result = CompareRows(*a, *b);
    });
    OnColumnClick = TLVColumnClickEvent("ColumnClick", this, [this](TComponent*, int column) { SortByColumn(column); });
}

std::string TTarnListView::ColumnText(const TListItem& item, int column) {
    if (column == 0) return item.caption;
    return column - 1 < item.subItems.Count() ? item.subItems[column - 1] : std::string();
}

int TTarnListView::CompareRows(const TListItem& a, const TListItem& b) const {
    auto cmp = [&](int column) { return CompareTextNoCase(ColumnText(a, column), ColumnText(b, column)); };
    int result = cmp(sortColumn_);
    if (result == 0) {
        if (sortColumn_ == 0) {
            result = cmp(1);
        } else if (sortColumn_ == 1) {
            result = cmp(0);
        } else {
            result = cmp(0);
            if (result == 0) result = cmp(1);
        }
    }
    return sortAscending_ ? result : -result;
}

void TTarnListView::SortByColumn(int column) {
    if (column == sortColumn_) {
        sortAscending_ = !sortAscending_;
    } else {
        sortColumn_ = column;
        sortAscending_ = true;
    }
    AlphaSort();
}

void TTarnListView::RemoveAdjacentDuplicates() {
    if (checkDuplicate_ == TCheckDuplicate::cd_None) return;
    bool exact = checkDuplicate_ == TCheckDuplicate::cd_CheckCase;
    for (int i = ItemCount() - 1; i >= 1; --i) {
        const std::string& a = Item(i)->caption;
        const std::string& b = Item(i - 1)->caption;
        if (exact ? a == b : UpperAscii(a) == UpperAscii(b)) DeleteItem(i);
    }
}

void TTarnListView::AutoSizeColumns() {
    // Counts are bytes, so a double-byte character counts twice.
    int letter = MeasureTextWidth("W", font_);
    auto& columns = Columns();
    for (size_t k = 0; k < columns.size(); ++k) {
        size_t longest = columns[k].caption.size();
        for (int i = 0; i < ItemCount(); ++i)
            longest = std::max(longest, ColumnText(*Item(i), static_cast<int>(k)).size());
        columns[k].width = static_cast<int>(longest) * letter;
    }
}

bool TTarnListView::AddRow(const std::vector<std::string>& values) {
    try {
        if (values.empty()) return false;
        auto& columns = Columns();
        while (columns.size() < values.size()) AddColumn("Data" + std::to_string(columns.size() + 1));
        TListItem* item = AddItem(values[0]);
        for (size_t i = 1; i < values.size(); ++i) item->subItems.Add(values[i]);
        // The row was placed by its caption alone; ties look at its sub-items too.
        if (SortType() != TSortType::stNone) AlphaSort();
        int width = 0;
        for (int i = 0; i < ItemCount(); ++i) width = std::max(width, Item(i)->subItems.Count());
        for (int i = 0; i < ItemCount(); ++i)
            while (Item(i)->subItems.Count() < width) Item(i)->subItems.Add("");
        RemoveAdjacentDuplicates();
        if (columnAutoSize_) AutoSizeColumns();
        return true;
    } catch (...) {
        return false;
    }
}

void TTarnListView::SetColumnCaptions(const std::vector<std::string>& captions) {
    Columns().clear();
    for (const std::string& caption : captions) AddColumn(caption, MeasureTextWidth(caption, font_) + 12);
}

std::vector<std::string> TTarnListView::ColumnCaptions() const {
    std::vector<std::string> out;
    for (const auto& column : const_cast<TTarnListView*>(this)->Columns()) out.push_back(column.caption);
    return out;
}

void TTarnListView::MouseDownOnRow(int index, TShiftState shift) {
    if (CanFocus()) SetFocus();
    if (!Focused() || index < 0 || index >= ItemCount()) return;
    TListItem* item = Item(index);
    if (shift & ssCtrl) SelectItem(item, !item->Selected());
    else SetSelected(item);
}

void TTarnListView::DoEnter() {
    if (TSelectPanel* panel = PanelOf(this)) panel->SubControlEntered();
    TListView::DoEnter();
}

void TTarnListView::DoExit() {
    TListView::DoExit();
    if (TSelectPanel* panel = PanelOf(this)) panel->SubControlLeft();
}

// ---------------------------------------------------------------------------------------
// The panel

VEL_DEFINE_COMPONENT(TSelectPanel,
    using P = TSelectPanel;
    b.Bool("AutoChangeDateSite", [](P& p) { return p.AutoChangeDateSite(); }, [](P& p, bool v) { p.SetAutoChangeDateSite(v); });
    b.Strings("BeginWords", [](P& p) -> TPersistent* { return &p.BeginWords(); });
    b.Bool("ColumnsAutoSize", [](P& p) { return p.ColumnsAutoSize(); }, [](P& p, bool v) { p.SetColumnsAutoSize(v); });
    b.Bool("CanOpenWin", [](P& p) { return p.CanOpenWin(); }, [](P& p, bool v) { p.SetCanOpenWin(v); });
    b.Enum("CheckDuplicate", std::vector<std::string>{"cd_None", "cd_CheckCase", "cd_CaseInsensitive"},
           [](P& p) { return static_cast<int>(p.CheckDuplicate()); },
           [](P& p, int v) { p.SetCheckDuplicate(static_cast<TCheckDuplicate>(v)); });
    b.Strings("ChildHints", [](P& p) -> TPersistent* { return &p.ChildHints(); });
    b.Strings("ColumnCaptions", [](P& p) -> TPersistent* { return &p.ColumnCaptions(); });
    b.Enum("DateType",
           std::vector<std::string>{"dt_NoneCare", "dt_YYYYMMDD", "dt_MMDDYYYY", "dt_DDMMYYYY", "dt_YYMMDD", "dt_YYYMMDD"},
           [](P& p) { return static_cast<int>(p.DateType()); }, [](P& p, int v) { p.SetDateType(static_cast<TDateType>(v)); });
    b.Str("DateSign", [](P& p) { return p.DateSign(); }, [](P& p, const std::string& v) { p.SetDateSign(v); });
    b.Str("Discard", [](P& p) { return p.Discard(); }, [](P& p, const std::string& v) { p.SetDiscard(v); });
    b.Str("EditMask", [](P& p) { return p.EditMaskText(); }, [](P& p, const std::string& v) { p.SetEditMask(v); });
    b.Strings("FinalWords", [](P& p) -> TPersistent* { return &p.FinalWords(); });
    b.Int("GlyphIndex", [](P& p) { return p.GlyphIndex(); }, [](P& p, int v) { p.SetGlyphIndex(v); });
    b.Str("HintWord", [](P& p) { return p.HintWord(); }, [](P& p, const std::string& v) { p.SetHintWord(v); });
    b.Bool("HideSelection", [](P& p) { return p.HideSelection(); }, [](P& p, bool v) { p.SetHideSelection(v); });
    b.Int("OtherHeight", [](P& p) { return p.OtherHeight(); }, [](P& p, int v) { p.SetOtherHeight(v); });
    b.Int("OtherWidth", [](P& p) { return p.OtherWidth(); }, [](P& p, int v) { p.SetOtherWidth(v); });
    b.Bool("ShowColumnHeader", [](P& p) { return p.ShowColumnHeader(); }, [](P& p, bool v) { p.SetShowColumnHeader(v); });
    b.Bool("SortListBox", [](P& p) { return p.SortListBox(); }, [](P& p, bool v) { p.SetSortListBox(v); });
    b.Enum("Style", StyleNames(), [](P& p) { return static_cast<int>(p.Style()); },
           [](P& p, int v) { p.SetStyle(static_cast<TSelectStyle>(v)); });
    b.Bool("UseDiscard", [](P& p) { return p.UseDiscard(); }, [](P& p, bool v) { p.SetUseDiscard(v); });
    b.Bool("UserChoice", [](P& p) { return p.UserChoice(); }, [](P& p, bool v) { p.SetUserChoice(v); });
    b.Bool("UseVertical", [](P& p) { return p.UseVertical(); }, [](P& p, bool v) { p.SetUseVertical(v); });
    b.Enum("ValueType", std::vector<std::string>{"vt_String", "vt_Number", "vt_Date", "vt_Time", "vt_Float", "vt_OtherMask"},
           [](P& p) { return static_cast<int>(p.ValueType()); },
           [](P& p, int v) { p.SetValueType(static_cast<TValueType>(v)); });
    b.Event("OnOpenWinClick", &P::OnOpenWinClick);
    b.Event("OnClearClick", &P::OnClearClick);
    b.Event("OnDeleteClick", &P::OnDeleteClick);
    b.Event("OnTypeClick", &P::OnTypeClick);
    b.Event("OnStyleChanging", &P::OnStyleChanging);
    b.Event("OnStyleChange", &P::OnStyleChange);
    b.Event("OnItemSelect", &P::OnItemSelect);
    b.Event("OnItemChange", &P::OnItemChange);
    b.Event("OnItemChanging", &P::OnItemChanging);
    {
        // The condition form reads the value by name.
        PropInfo value;
        value.name = "PanelValue";
        value.kind = PropKind::String;
        value.readOnly = true;
        value.get = [](TPersistent& o) { return static_cast<P&>(o).PanelValue(); };
        ci->properties.push_back(std::move(value));
    })

TSelectPanel::TSelectPanel(TComponent* owner) : TGroupBox(owner) {
    width_ = 353;
    height_ = 45;

    auto make = [this](auto* control, const char* name, TWinControl* parent) {
        control->SetName(name);
        control->SetParent(parent);
        control->SetShowHint(showHint_);
        return control;
    };
    chkUserChoice = make(new TTarnCheckBox(this), "chkUserChoice", this);
    pnlRange = make(new TPanel(this), "pnlRange", this);
    lblBegin = make(new TLabel(this), "lblBegin", pnlRange);
    edBegin = make(new TTarnMaskEdit(this), "edBegin", pnlRange);
    btnBegin = make(new TF2Button(this), "btnBegin", pnlRange);
    lblFinal = make(new TLabel(this), "lblFinal", pnlRange);
    edFinal = make(new TTarnMaskEdit(this), "edFinal", pnlRange);
    btnFinal = make(new TF2Button(this), "btnFinal", pnlRange);
    pnlList = make(new TPanel(this), "pnlList", this);
    btnList = make(new TF2Button(this), "btnList", pnlList);
    btnDeleteSelected = make(new TGSpeedButton(this), "btnDeleteSelected", pnlList);
    btnClearList = make(new TGSpeedButton(this), "btnClearList", pnlList);
    ListBox = make(new TTarnListView(this), "ListBox", pnlList);

    for (TPanel* p : {pnlRange, pnlList}) {
        p->SetBevelOuter(0);
        p->SetCaption(" ");
    }
    edBegin->SetHeight(24);
    edFinal->SetHeight(edBegin->Height());
    // The panel's lookup buttons stay unbound: the panel itself sends their lookup.
    for (TF2Button* b : {btnBegin, btnFinal, btnList}) {
        b->SetFlat(true);
        b->SetBounds(b->Left(), b->Top(), kButtonSize, kButtonSize);
        b->SetNumGlyphs(1);
        b->OnClick = TNotifyEvent("OpenWinClick", this, [this, b](TComponent*) { OpenWinClick(b); });
    }
    btnList->SetAutoAlign(false);
    btnDeleteSelected->SetFlat(true);
    btnDeleteSelected->SetGlyphIndex(47);
    btnDeleteSelected->SetNumGlyphs(1);
    btnDeleteSelected->SetBounds(0, 0, kButtonSize, kButtonSize);
    btnDeleteSelected->OnClick = TNotifyEvent("DeleteSelectedClick", this, [this](TComponent*) { DeleteSelectedRows(); });
    btnClearList->SetFlat(true);
    btnClearList->SetGlyphIndex(4);
    btnClearList->SetNumGlyphs(2);
    btnClearList->SetBounds(0, 0, kButtonSize, kButtonSize);
    btnClearList->OnClick = TNotifyEvent("ClearListClick", this, [this](TComponent*) { ClearList(); });

    ListBox->SetViewStyle(TViewStyle::vsReport);
    ListBox->SetMultiSelect(true);
    ListBox->SetRowSelect(true);
    ListBox->SetReadOnly(true);
    ListBox->SetHideSelection(false);
    ListBox->SetShowColumnHeaders(false);
    ListBox->SetSortType(TSortType::stNone);
    ListBox->OnSelectItem = TLVSelectItemEvent("ListBoxSelectItem", this, [this](TComponent* s, TListItem* item, bool on) {
        OnItemSelect(s, item, item ? item->Index() : -1, on);
    });
    ListBox->OnChange = TLVChangeEvent("ListBoxChange", this, [this](TComponent* s, TListItem* item, TItemChange change) {
        OnItemChange(s, item, change);
    });
    ListBox->OnChanging = TLVChangingEvent("ListBoxChanging", this,
                                           [this](TComponent* s, TListItem* item, TItemChange change, bool& allow) {
                                               OnItemChanging(s, item, change, allow);
                                           });

    // The form sees one control: keys and clicks of the parts arrive as the panel's events.
    for (TWinControl* part : std::initializer_list<TWinControl*>{edBegin, edFinal, ListBox}) {
        part->OnKeyDown = TKeyEvent("PartKeyDown", this, [this](TComponent* s, uint16_t& k, TShiftState sh) { OnKeyDown(s, k, sh); });
        part->OnKeyUp = TKeyEvent("PartKeyUp", this, [this](TComponent* s, uint16_t& k, TShiftState sh) { OnKeyUp(s, k, sh); });
        part->OnKeyPress = TKeyPressEvent("PartKeyPress", this, [this](TComponent* s, char& k) { OnKeyPress(s, k); });
        part->OnClick = TNotifyEvent("PartClick", this, [this](TComponent* s) { OnClick(s); });
        part->OnDblClick = TNotifyEvent("PartDblClick", this, [this](TComponent* s) { OnDblClick(s); });
    }
    for (TControl* part : std::initializer_list<TControl*>{lblBegin, lblFinal, pnlRange, pnlList}) {
        part->OnClick = TNotifyEvent("PartClick", this, [this](TComponent*) { OnClick(this); });
        part->OnDblClick = TNotifyEvent("PartDblClick", this, [this](TComponent*) { OnDblClick(this); });
    }
    chkUserChoice->OnDblClick = TNotifyEvent("PartDblClick", this, [this](TComponent*) { OnDblClick(this); });
    chkUserChoice->OnClick = TNotifyEvent("TypeClick", this, [this](TComponent*) { TypeClick(); });
    // The box shows what UserChoice says from the start, so screen and value agree.
    chkUserChoice->SetChecked(userChoice_);

    beginWords_.OnChange = Handler<TStringList*>("BeginWordsChange", this, [this](TStringList*) { WordsChanged(beginWords_, lblBegin); });
    finalWords_.OnChange = Handler<TStringList*>("FinalWordsChange", this, [this](TStringList*) { WordsChanged(finalWords_, lblFinal); });
    childHints_.OnChange = Handler<TStringList*>("ChildHintsChange", this, [this](TStringList*) { HintsChanged(); });
    columnCaptions_.OnChange = Handler<TStringList*>("ColumnCaptionsChange", this, [this](TStringList*) { ColumnCaptionsChanged(); });

    built_ = true;
    SetBeginWords({CN("起"), CN("起")});
    SetFinalWords({CN("止"), CN("止")});
    SetChildHints({CN("用户自定输入方式"), CN("区间选择-起始信息"), CN("区间选择-起始信息开窗"), CN("区间选择-截止信息"),
                   CN("区间选择-截止信息开窗"), CN("多选-己选择的信息"), CN("多选-信息开窗"), CN("多选-删除一笔信息"),
                   CN("多选-删除己选信息")});
    SetHintWord(CN("区间选择"));
    ApplyVisibility(style_);
    LayoutControls();
}

TSelectPanel::~TSelectPanel() {
    // The parts outlive this object's members while the base class frees them.
    built_ = false;
    beginWords_.OnChange = {};
    finalWords_.OnChange = {};
    childHints_.OnChange = {};
    columnCaptions_.OnChange = {};
    ListBox->OnSelectItem = {};
    ListBox->OnChange = {};
    ListBox->OnChanging = {};
}

// --- properties -------------------------------------------------------------------------

void TSelectPanel::SetBeginWords(const std::vector<std::string>& words) {
    TStringList list;
    for (const auto& w : words) list.Add(w);
    beginWords_.Assign(list);
}

void TSelectPanel::SetFinalWords(const std::vector<std::string>& words) {
    TStringList list;
    for (const auto& w : words) list.Add(w);
    finalWords_.Assign(list);
}

void TSelectPanel::WordsChanged(TStringList& words, TLabel* label) {
    if (trimmingWords_ || !built_) return;
    if (words.Count() > 2) {
        trimmingWords_ = true;
        while (words.Count() > 2) words.Delete(words.Count() - 1);
        trimmingWords_ = false;
    }
    if (words.Count() == 0) return;
    bool second = words.Count() > 1 && style_ == TSelectStyle::sp_UserChoice;
    label->SetCaption(words[second ? 1 : 0]);
    LayoutControls();
}

void TSelectPanel::SetChildHints(const std::vector<std::string>& hints) {
    if (hints.empty()) return;
    TStringList list;
    for (const auto& h : hints) list.Add(h);
    childHints_.Assign(list);
}

void TSelectPanel::HintsChanged() {
    TControl* parts[] = {chkUserChoice, edBegin, btnBegin, edFinal, btnFinal, ListBox, btnList, btnDeleteSelected, btnClearList};
    for (int i = 0; i < 9 && i < childHints_.Count(); ++i) parts[i]->SetHint(childHints_[i]);
}

TStringList& TSelectPanel::ColumnCaptions() {
    rebuildingCaptions_ = true;
    columnCaptions_.Clear();
    for (const auto& caption : ListBox->ColumnCaptions()) columnCaptions_.Add(caption);
    rebuildingCaptions_ = false;
    return columnCaptions_;
}

void TSelectPanel::SetColumnCaptions(const std::vector<std::string>& captions) { ListBox->SetColumnCaptions(captions); }

void TSelectPanel::ColumnCaptionsChanged() {
    if (!rebuildingCaptions_) ListBox->SetColumnCaptions(columnCaptions_.ToVector());
}

void TSelectPanel::SetCanOpenWin(bool value) {
    if (value == canOpenWin_) return;
    canOpenWin_ = value;
    for (TF2Button* b : {btnList, btnBegin, btnFinal}) b->SetVisible(value);
    LayoutControls();
}

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate value) {
    if (value != TCheckDuplicate::cd_None) SetSortListBox(true);
    checkDuplicate_ = value;
    ListBox->SetCheckDuplicate(value);
    if (!IsRangeMode()) ListBox->RemoveAdjacentDuplicates();
}

void TSelectPanel::SetSortListBox(bool value) {
    sortListBox_ = value;
    ListBox->SetSortType(value ? TSortType::stText : TSortType::stNone);
}

void TSelectPanel::SetEditMask(const std::string& mask) {
    editMask_ = mask;
    std::string kept = edBegin->MaskedText();
    edBegin->SetNoChangeEvent(true);
    edBegin->SetMaskedText("");
    edBegin->SetEditMask(mask);
    edFinal->SetEditMask(mask);
    edBegin->SetMaskedText("");  // blanks of an old mask are no text without one
    emptyText_ = edBegin->MaskedText();
    edBegin->SetMaskedText(kept);
    edBegin->SetNoChangeEvent(false);
}

void TSelectPanel::SetGlyphIndex(int value) {
    if (value == glyphIndex_) return;
    try {
        btnBegin->SetGlyphIndex(value);
        btnFinal->SetGlyphIndex(btnBegin->GlyphIndex());
        btnList->SetGlyphIndex(btnBegin->GlyphIndex());
        glyphIndex_ = value;
    } catch (const std::exception&) {
        for (TF2Button* b : {btnBegin, btnFinal, btnList}) b->SetGlyphIndex(0);
    }
}

void TSelectPanel::SetHintWord(const std::string& value) {
    chkUserChoice->SetCaption(value);
    SizeCheckBox();
    hintWord_ = value;
}

void TSelectPanel::SetUserChoice(bool value) {
    if (style_ != TSelectStyle::sp_UserChoice) return;
    chkUserChoice->SetChecked(value);
    TypeClick();
}

void TSelectPanel::SetUseVertical(bool value) {
    if (value == useVertical_ || style_ != TSelectStyle::sp_Range) return;
    useVertical_ = value;
    if (!Loading() && !ParentLoading()) SwapSize();
    LayoutControls();
}

void TSelectPanel::SetStyle(TSelectStyle value) {
    TSelectStyle old = style_;
    TSelectStyle next = value;
    bool accept = true;
    OnStyleChanging(this, old, next, accept);
    if (!accept) return;
    ApplyVisibility(next);
    bool range = old == TSelectStyle::sp_Range || next == TSelectStyle::sp_Range;
    // Layout reads the style; the new one is only stored after OnStyleChange.
    style_ = next;
    if (next != old && range && !useVertical_ && !Loading() && !ParentLoading()) SwapSize();
    LayoutControls();
    style_ = old;
    OnStyleChange(this, old, next);
    style_ = next;
}

void TSelectPanel::UseDateValues(int dateTypeCode, const std::string& separator) {
    valueType_ = TValueType::vt_Date;
    dateSign_ = separator;
    dateType_ = dateTypeCode >= 1 && dateTypeCode <= 5 ? static_cast<TDateType>(dateTypeCode) : TDateType::dt_NoneCare;
}

bool TSelectPanel::ParentLoading() const { return parent_ && parent_->Loading(); }

void TSelectPanel::SwapSize() {
    int w = width_, h = height_;
    SetBounds(left_, top_, otherWidth_, otherHeight_);
    otherWidth_ = w;
    otherHeight_ = h;
}

// --- values -----------------------------------------------------------------------------

bool TSelectPanel::IsRangeMode() const {
    return style_ == TSelectStyle::sp_Range || (style_ == TSelectStyle::sp_UserChoice && userChoice_);
}

Variant TSelectPanel::PanelValue() const {
    if (IsRangeMode()) return Variant::Of({Variant(kRangeMark), Variant(edBegin->MaskedText()), Variant(edFinal->MaskedText())});
    int rows = ListBox->ItemCount();
    Variant value = Variant::Array(0, rows);
    value[0] = Variant(kListMark);
    for (int i = 0; i < rows; ++i) {
        const TListItem& item = *ListBox->Item(i);
        Variant row = Variant::Array(0, item.subItems.Count());
        row[0] = Variant(item.caption);
        for (int k = 0; k < item.subItems.Count(); ++k) row[k + 1] = Variant(item.subItems[k]);
        value[i + 1] = row;
    }
    return value;
}

std::string TSelectPanel::PanelSavedText() const {
    const std::string sep(1, kFieldSep);
    std::string range = edBegin->MaskedText() + sep + edFinal->MaskedText();
    std::string list;
    for (int i = 0; i < ListBox->ItemCount(); ++i) {
        const TListItem& item = *ListBox->Item(i);
        list += item.caption;
        for (int k = 0; k < item.subItems.Count(); ++k) list += std::string(1, kValueSep) + item.subItems[k];
        list += kRowEnd;
    }
    switch (style_) {
        case TSelectStyle::sp_Range: return "sp_Range" + sep + range;
        case TSelectStyle::sp_Discrete: return "sp_Discrete" + sep + list;
        case TSelectStyle::sp_UserChoice:
            return "sp_UserChoice" + sep + (userChoice_ ? "True" + sep + range : "False" + sep + list);
    }
    return {};
}

std::vector<std::string> TSelectPanel::LookupRowTexts(const Variant& row, bool allColumns) {
    std::vector<std::string> out;
    if (!row.IsArray()) {
        out.push_back(row.ToString());
        return out;
    }
    for (int i = row.LowBound(); i <= row.HighBound(); ++i) {
        if (!allColumns && out.size() == 4) break;
        out.push_back(row[i].IsEmpty() || row[i].IsNull() ? std::string() : row[i].ToString());
    }
    return out;
}

std::string TSelectPanel::JoinLookupRow(const Variant& row, bool allColumns) const {
    std::string text;
    std::vector<std::string> values = LookupRowTexts(row, allColumns);
    for (size_t i = 0; i < values.size(); ++i) text += (i ? discard_ : std::string()) + values[i];
    return text;
}

int TSelectPanel::AddLookupRows(const Variant& answer, bool allColumns) {
    if (!answer.IsArray()) return 0;
    int added = 0;
    for (int i = answer.LowBound(); i <= answer.HighBound(); ++i) {
        const Variant& row = answer[i];
        if (useDiscard_) added += AddRow({JoinLookupRow(row, allColumns)});
        else if (row.IsArray()) added += AddRow(LookupRowTexts(row, allColumns));
    }
    return added;
}

bool TSelectPanel::ReadListText(const std::string& text) {
    try {
        ClearRows();
        if (text.empty()) return true;
        std::vector<std::string> rows = SplitFields(text, kRowEnd);
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].empty()) continue;
            // Every row ends with chr(4): a row without it is a cut text, not a value.
            if (i + 1 == rows.size()) return false;
            if (!AddRow(SplitFields(rows[i], kValueSep))) return false;
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool TSelectPanel::RestorePanelSavedText(const std::string& text) {
    std::vector<std::string> fields = SplitFields(text, kFieldSep);
    std::string style = FieldAt(fields, 1);
    if (style == "sp_Range") {
        edBegin->SetMaskedText(FieldAt(fields, 2));
        edFinal->SetMaskedText(FieldAt(fields, 3));
        return true;
    }
    if (style == "sp_Discrete") {
        if (!ReadListText(FieldAt(fields, 2))) throw Exception("parse spSaveValue error");
        return true;
    }
    if (style == "sp_UserChoice") {
        bool range = CompareTextNoCase(FieldAt(fields, 2), "True") == 0;
        SetUserChoice(range);
        if (!range) return ReadListText(FieldAt(fields, 3));
        edBegin->SetMaskedText(FieldAt(fields, 3));
        edFinal->SetMaskedText(FieldAt(fields, 4));
        return true;
    }
    return true;
}

double TSelectPanel::ReadRangeDate(const std::string& text) const {
    std::string t = Trim(text);
    if (t.empty() || t == Trim(emptyText_) || dateSign_.empty()) return 0;
    int signs = 0;
    for (size_t pos = t.find(dateSign_); pos != std::string::npos; pos = t.find(dateSign_, pos + dateSign_.size())) ++signs;
    if (signs == 1) {
        switch (dateType_) {
            case TDateType::dt_YYYYMMDD: case TDateType::dt_YYMMDD: case TDateType::dt_YYYMMDD:
                t += dateSign_ + "01";
                break;
            case TDateType::dt_MMDDYYYY: t = t.substr(0, 2) + dateSign_ + "01" + (t.size() > 2 ? t.substr(2, 5) : ""); break;
            case TDateType::dt_DDMMYYYY: t = "01" + dateSign_ + t; break;
            case TDateType::dt_NoneCare: break;
        }
    } else if (signs != 2) {
        return 0;
    }
    int p[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        size_t pos = i < 2 ? t.find(dateSign_, start) : std::string::npos;
        std::string part = start <= t.size() ? t.substr(start, pos == std::string::npos ? std::string::npos : pos - start)
                                             : std::string();
        p[i] = IntOr(Trim(part), -1);
        if (p[i] == -1) return 0;
        start = pos == std::string::npos ? t.size() + 1 : pos + dateSign_.size();
    }
    switch (dateType_) {
        case TDateType::dt_YYYYMMDD: return EncodeDateOrZero(p[0], p[1], p[2]);
        case TDateType::dt_MMDDYYYY: return EncodeDateOrZero(p[2], p[0], p[1]);
        case TDateType::dt_DDMMYYYY: return EncodeDateOrZero(p[2], p[1], p[0]);
        case TDateType::dt_YYMMDD: case TDateType::dt_YYYMMDD: return EncodeDateOrZero(p[0] + 1911, p[1], p[2]);
        case TDateType::dt_NoneCare: return 0;
    }
    return 0;
}

void TSelectPanel::OrderRange() {
    if (editMask_.empty() || editMask_[0] != '!') {
        for (TTarnMaskEdit* edit : {edBegin, edFinal}) {
            std::string trimmed = Trim(edit->MaskedText());
            if (trimmed != edit->MaskedText()) edit->SetMaskedText(trimmed);
        }
    }
    std::string b = edBegin->MaskedText();
    std::string e = edFinal->MaskedText();
    if (b.empty() || e.empty()) return;
    auto unordered = [&]() {
        return b == emptyText_ || e == emptyText_ || (useDiscard_ && (Trim(b) == discard_ || Trim(e) == discard_));
    };
    bool swap = false;
    switch (valueType_) {
        case TValueType::vt_String:
        case TValueType::vt_Time:
            if (unordered()) return;
            swap = b > e;
            break;
        case TValueType::vt_Number: swap = IntOr(b, 0) > IntOr(e, 0); break;
        case TValueType::vt_Date:
            if (!autoChangeDateSite_ || unordered()) return;
            swap = dateType_ == TDateType::dt_NoneCare ? b > e : ReadRangeDate(b) > ReadRangeDate(e);
            break;
        case TValueType::vt_Float:
            b = NormalFloatText(b);
            e = NormalFloatText(e);
            edBegin->SetMaskedText(b);
            edFinal->SetMaskedText(e);
            swap = std::strtod(b.c_str(), nullptr) > std::strtod(e.c_str(), nullptr);
            break;
        case TValueType::vt_OtherMask: return;
    }
    if (!swap) return;
    edBegin->SetMaskedText(e);
    edFinal->SetMaskedText(b);
}

// --- buttons ----------------------------------------------------------------------------

void TSelectPanel::TypeClick() {
    if (style_ != TSelectStyle::sp_UserChoice) return;
    userChoice_ = chkUserChoice->Checked();
    LayoutControls();
    ApplyVisibility(style_);
    OnTypeClick(this);
}

void TSelectPanel::OpenWinClick(TF2Button* button) {
    TWinControl* target = button == btnBegin ? static_cast<TWinControl*>(edBegin)
                          : button == btnFinal ? static_cast<TWinControl*>(edFinal)
                                               : static_cast<TWinControl*>(ListBox);
    if (target->CanFocus()) target->SetFocus();
    SendLookupMessage(target);
    OnOpenWinClick(this, target);
}

void TSelectPanel::DeleteSelectedRows() {
    bool accept = true;
    OnDeleteClick(this, accept);
    if (!accept) return;
    for (int i = 0; i < ListBox->ItemCount();) {
        if (ListBox->Item(i)->Selected()) ListBox->DeleteItem(i);
        else ++i;
    }
}

void TSelectPanel::ClearList() {
    ClearRows();
    if (ListBox->CanFocus()) ListBox->SetFocus();
    OnClearClick(this);
}

// --- layout -----------------------------------------------------------------------------

void TSelectPanel::SizeCheckBox() {
    const TFont& f = chkUserChoice->Font();
    chkUserChoice->SetBounds(chkUserChoice->Left(), chkUserChoice->Top(),
                             MeasureTextWidth(chkUserChoice->Caption(), f) + 24, MeasureTextHeight(f) + 2);
}

void TSelectPanel::ApplyVisibility(TSelectStyle style) {
    chkUserChoice->SetVisible(style == TSelectStyle::sp_UserChoice);
    bool range = style == TSelectStyle::sp_Range ||
                 (style == TSelectStyle::sp_UserChoice && chkUserChoice->Visible() && chkUserChoice->Checked());
    pnlRange->SetVisible(range);
    pnlList->SetVisible(!range);
}

void TSelectPanel::Resized() {
    TGroupBox::Resized();
    LayoutControls();
}

void TSelectPanel::LayoutControls() {
    if (!built_) return;
    SizeCheckBox();
    int captionHeight = MeasureTextHeight(font_);
    auto place = [](TControl* c, int l, int t, int w, int h) { c->SetBounds(l, t, w, h); };
    if (style_ == TSelectStyle::sp_UserChoice) {
        chkUserChoice->SetVisible(true);
        place(chkUserChoice, 16, captionHeight + 1, chkUserChoice->Width(), chkUserChoice->Height());
        int top = chkUserChoice->Top() + MeasureTextHeight(chkUserChoice->Font()) + 2;
        for (TPanel* p : {pnlRange, pnlList}) place(p, 2, top, width_ - 2 - 2, height_ - top - 2);
        LayoutVertical();
        LayoutList();
        return;
    }
    chkUserChoice->SetVisible(false);
    int top = captionHeight + 3;
    for (TPanel* p : {pnlRange, pnlList})
        place(p, 2, top, width_ - 2 - kSubPanelBevelWidth - 2, height_ - top - kSubPanelBevelWidth - 2);
    if (style_ == TSelectStyle::sp_Range) {
        if (useVertical_) LayoutVertical();
        else LayoutHorizontal();
    } else {
        LayoutList();
    }
}

namespace {

// Entry `index` of the label words; a list of one entry serves both layouts.
void ShowWord(TLabel* label, const TStringList& words, int index) {
    if (words.Count() == 0) return;
    label->SetCaption(words[std::min(index, words.Count() - 1)]);
}

}  // namespace

void TSelectPanel::LayoutHorizontal() {
    int finalWidth = lblFinal->Width();  // before it gets its text below
    ShowWord(lblBegin, beginWords_, 0);
    int areaWidth = pnlRange->Width();
    int top = (pnlRange->Height() - edBegin->Height()) / 2;
    lblBegin->SetBounds(2, top, lblBegin->Width(), lblBegin->Height());
    int rest = areaWidth - lblBegin->Left() - lblBegin->Width() - 2 - finalWidth - 2;
    if (canOpenWin_) rest -= btnBegin->Width() + 2 + btnFinal->Width() + 2;
    int editWidth = rest / 2 - 1;
    edBegin->SetBounds(lblBegin->Left() + lblBegin->Width() + 1, top, editWidth, edBegin->Height());
    int right = edBegin->Left() + edBegin->Width();
    if (canOpenWin_) {
        btnBegin->SetBounds(right + 2, top, btnBegin->Width(), btnBegin->Height());
        right = btnBegin->Left() + btnBegin->Width();
    }
    ShowWord(lblFinal, finalWords_, 0);
    lblFinal->SetBounds(right + (canOpenWin_ ? 2 : 4), top, lblFinal->Width(), lblFinal->Height());
    edFinal->SetBounds(lblFinal->Left() + lblFinal->Width() + 2, top, editWidth, edFinal->Height());
    if (canOpenWin_)
        btnFinal->SetBounds(edFinal->Left() + edFinal->Width() + 2, top, btnFinal->Width(), btnFinal->Height());
}

void TSelectPanel::LayoutVertical() {
    ShowWord(lblBegin, beginWords_, 1);
    int areaWidth = pnlRange->Width();
    int gap = (pnlRange->Height() - edBegin->Height() - edFinal->Height()) / 3;
    lblBegin->SetBounds(2, gap, lblBegin->Width(), lblBegin->Height());
    int editWidth = canOpenWin_ ? areaWidth - lblBegin->Left() - lblBegin->Width() - btnBegin->Width() - 4
                                : areaWidth - lblBegin->Left() - lblBegin->Width() - 2;
    edBegin->SetBounds(lblBegin->Left() + lblBegin->Width() + 2, gap, editWidth, edBegin->Height());
    if (canOpenWin_)
        btnBegin->SetBounds(edBegin->Left() + edBegin->Width() + 1, gap, btnBegin->Width(), btnBegin->Height());
    ShowWord(lblFinal, finalWords_, 1);
    int finalTop = gap + lblBegin->Top() + edBegin->Height();
    lblFinal->SetBounds(lblBegin->Left(), finalTop, lblFinal->Width(), lblFinal->Height());
    edFinal->SetBounds(edBegin->Left(), finalTop, editWidth, edFinal->Height());
    if (canOpenWin_) btnFinal->SetBounds(btnBegin->Left(), finalTop, btnFinal->Width(), btnFinal->Height());
}

void TSelectPanel::LayoutList() {
    ListBox->SetBounds(ListBox->Left(), 0, pnlList->Width() - ListBox->Left() - btnList->Width() - 3, pnlList->Height());
    btnList->SetBounds(ListBox->Width() + 2, ListBox->Top(), btnList->Width(), btnList->Height());
    btnDeleteSelected->SetBounds(btnList->Left(), btnList->Top() + btnList->Height(), btnDeleteSelected->Width(),
                                 btnDeleteSelected->Height());
    btnClearList->SetBounds(btnList->Left(), btnDeleteSelected->Top() + btnDeleteSelected->Height(), btnClearList->Width(),
                            btnClearList->Height());
}

// --- focus and enabling -----------------------------------------------------------------

void TSelectPanel::SetEnabled(bool enabled) {
    lastEnabled_ = enabled;
    TGroupBox::SetEnabled(enabled);
    std::vector<TWinControl*> containers{this};
    while (!containers.empty()) {
        TWinControl* c = containers.back();
        containers.pop_back();
        for (TControl* child : c->ControlList()) {
            child->SetEnabled(enabled);
            if (auto* win = dynamic_cast<TWinControl*>(child)) containers.push_back(win);
        }
    }
}

void TSelectPanel::SetFocus() {
    TGroupBox::SetFocus();
    if (!IsRangeMode() && ListBox->CanFocus()) ListBox->SetFocus();
}

bool TSelectPanel::FocusInside() const {
    TCustomForm* form = ParentForm();
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    return active && (active == this || ContainsControl(active));
}

void TSelectPanel::DoEnter() { SubControlEntered(); }
void TSelectPanel::DoExit() { SubControlLeft(); }

void TSelectPanel::SubControlEntered() {
    if (focusInside_) return;
    focusInside_ = true;
    TGroupBox::DoEnter();
}

void TSelectPanel::SubControlLeft() {
    if (!focusInside_ || FocusInside()) return;
    focusInside_ = false;
    OrderRange();
    TGroupBox::DoExit();
}

}  // namespace vel
