#pragma once
// The selection panel: a condition given either as a range (begin and end edit) or as a
// list of chosen rows, or, in the user-choice style, either one as a check box decides.
#include <string>
#include <vector>

#include "controls/bit_check_box.h"
#include "controls/f2_button.h"
#include "controls/glyph_owner.h"
#include "controls/gspeed_button.h"
#include "controls/selection_panel_api.h"
#include "platform/ui/listview.h"
#include "platform/ui/mask.h"
#include "platform/ui/stdctrls.h"
#include "platform/variant/variant.h"

namespace vel {

class TSelectPanel;

enum class TSelectStyle { sp_Range, sp_Discrete, sp_UserChoice };
enum class TValueType { vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask };
enum class TDateType { dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD };
enum class TCheckDuplicate { cd_None, cd_CheckCase, cd_CaseInsensitive };

std::string SelectStyleName(TSelectStyle style);

using TOpenWinClickEvent = Handler<TSelectPanel*, TWinControl*>;
using TDeleteClickEvent = Handler<TComponent*, bool&>;
using TStyleChangingEvent = Handler<TComponent*, TSelectStyle, TSelectStyle&, bool&>;
using TStyleChangeEvent = Handler<TComponent*, TSelectStyle, TSelectStyle>;
using TListViewSelectItemEvent = Handler<TComponent*, TListItem*, int, bool>;
using TListViewDataChangeEvent = Handler<TComponent*, TListItem*, TItemChange>;
using TListViewDataChangingEvent = Handler<TComponent*, TListItem*, TItemChange, bool&>;

// The panel's edits: a mask edit whose change notification can be held back.
class TTarnMaskEdit : public TMaskEdit {
    VEL_CLASS(TTarnMaskEdit, TMaskEdit)
public:
    explicit TTarnMaskEdit(TComponent* owner);
    bool NoChangeEvent() const { return noChangeEvent_; }
    void SetNoChangeEvent(bool value) { noChangeEvent_ = value; }
    void DoEnter() override;
    void DoExit() override;

protected:
    void TextChanged() override;

private:
    bool noChangeEvent_ = false;
};

// The panel's check box.
class TTarnCheckBox : public TBitCheckBox {
    VEL_CLASS(TTarnCheckBox, TBitCheckBox)
public:
    using TBitCheckBox::TBitCheckBox;
    void DoEnter() override;
    void DoExit() override;
};

// The panel's list of chosen rows: rows of a caption and sub-items, kept filled up to one
// width, optionally sorted and free of neighbouring duplicates.
class TTarnListView : public TListView {
    VEL_CLASS(TTarnListView, TListView)
public:
    explicit TTarnListView(TComponent* owner);

    bool ColumnAutoSize() const { return columnAutoSize_; }
    void SetColumnAutoSize(bool value) { columnAutoSize_ = value; }
    TCheckDuplicate CheckDuplicate() const { return checkDuplicate_; }
    void SetCheckDuplicate(TCheckDuplicate value) { checkDuplicate_ = value; }
    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return sortAscending_; }

    // Adds a row: values[0] is the caption, the rest its sub-items. Columns grow to one per
    // value ("Data1", "Data2", ...). False for no values or on any failure.
    bool AddRow(const std::vector<std::string>& values);
    void ClearRows() { ClearItems(); }
    // Column k of a row: the caption for 0, sub-item k - 1 after that, empty when missing.
    static std::string ColumnText(const TListItem& item, int column);
    // Row order: column SortColumn without case, ties broken by the captions and column 1.
    int CompareRows(const TListItem& a, const TListItem& b) const;
    // A click on a column header: the same column again turns the order round.
    void SortByColumn(int column);
    void RemoveAdjacentDuplicates();
    void AutoSizeColumns();
    void SetColumnCaptions(const std::vector<std::string>& captions);
    std::vector<std::string> ColumnCaptions() const;
    // A left-button press on row `index`: the list takes the focus first and selects the row
    // only when it really has it (Ctrl adds to the selection).
    void MouseDownOnRow(int index, TShiftState shift = 0);

    void DoEnter() override;
    void DoExit() override;

private:
    bool columnAutoSize_ = true;
    TCheckDuplicate checkDuplicate_ = TCheckDuplicate::cd_None;
    int sortColumn_ = 0;
    bool sortAscending_ = true;
};

class TSelectPanel : public TGroupBox, public ISelectionPanel, public IGlyphButtonOwner {
    VEL_CLASS(TSelectPanel, TGroupBox)
public:
    explicit TSelectPanel(TComponent* owner);
    ~TSelectPanel() override;

    // Sub-controls, owned by the panel and named as these fields.
    TTarnCheckBox* chkUserChoice = nullptr;
    TPanel* pnlRange = nullptr;
    TLabel* lblBegin = nullptr;
    TTarnMaskEdit* edBegin = nullptr;
    TF2Button* btnBegin = nullptr;
    TLabel* lblFinal = nullptr;
    TTarnMaskEdit* edFinal = nullptr;
    TF2Button* btnFinal = nullptr;
    TPanel* pnlList = nullptr;
    TF2Button* btnList = nullptr;
    TGSpeedButton* btnDeleteSelected = nullptr;
    TGSpeedButton* btnClearList = nullptr;
    TTarnListView* ListBox = nullptr;

    // Properties.
    bool AutoChangeDateSite() const { return autoChangeDateSite_; }
    void SetAutoChangeDateSite(bool v) { autoChangeDateSite_ = v; }
    TStringList& BeginWords() { return beginWords_; }
    void SetBeginWords(const std::vector<std::string>& words);
    TStringList& FinalWords() { return finalWords_; }
    void SetFinalWords(const std::vector<std::string>& words);
    bool ColumnsAutoSize() const { return ListBox->ColumnAutoSize(); }
    void SetColumnsAutoSize(bool v) { ListBox->SetColumnAutoSize(v); }
    bool CanOpenWin() const { return canOpenWin_; }
    void SetCanOpenWin(bool value);
    TCheckDuplicate CheckDuplicate() const { return checkDuplicate_; }
    void SetCheckDuplicate(TCheckDuplicate value);
    TStringList& ChildHints() { return childHints_; }
    void SetChildHints(const std::vector<std::string>& hints);
    // Rebuilt from the list's columns on every read; writing it replaces the columns.
    TStringList& ColumnCaptions();
    void SetColumnCaptions(const std::vector<std::string>& captions);
    std::vector<TListColumn>& Columns() { return ListBox->Columns(); }
    TDateType DateType() const { return dateType_; }
    void SetDateType(TDateType v) { dateType_ = v; }
    const std::string& DateSign() const { return dateSign_; }
    void SetDateSign(const std::string& v) { dateSign_ = v; }
    const std::string& Discard() const { return discard_; }
    void SetDiscard(const std::string& v) { discard_ = v; }
    const std::string& EditMaskText() const { return editMask_; }
    void SetEditMask(const std::string& mask);
    int GlyphIndex() const { return glyphIndex_; }
    void SetGlyphIndex(int value);
    const std::string& HintWord() const { return hintWord_; }
    void SetHintWord(const std::string& value);
    bool HideSelection() const { return ListBox->HideSelection(); }
    void SetHideSelection(bool v) { ListBox->SetHideSelection(v); }
    int OtherHeight() const { return otherHeight_; }
    void SetOtherHeight(int v) { otherHeight_ = v; }
    int OtherWidth() const { return otherWidth_; }
    void SetOtherWidth(int v) { otherWidth_ = v; }
    bool ShowColumnHeader() const { return ListBox->ShowColumnHeaders(); }
    void SetShowColumnHeader(bool v) { ListBox->SetShowColumnHeaders(v); }
    bool SortListBox() const { return sortListBox_; }
    void SetSortListBox(bool value);
    TSelectStyle Style() const { return style_; }
    void SetStyle(TSelectStyle value);
    bool UseDiscard() const { return useDiscard_; }
    void SetUseDiscard(bool v) { useDiscard_ = v; }
    bool UserChoice() const { return userChoice_; }
    void SetUserChoice(bool value);
    bool UseVertical() const { return useVertical_; }
    void SetUseVertical(bool value);
    TValueType ValueType() const { return valueType_; }
    void SetValueType(TValueType v) { valueType_ = v; }

    const std::string& EmptyText() const { return emptyText_; }
    int SortColumn() const { return ListBox->SortColumn(); }
    bool SortAscending() const { return ListBox->SortAscending(); }

    // Values.
    bool IsRangeMode() const override;
    // [chr(4), begin, end] in range mode, else [chr(5), row 1, ..., row N] with each row
    // [caption, sub-items...].
    Variant PanelValue() const;
    void PanelValue(Variant& parameters, int position) const { parameters[position] = PanelValue(); }
    // The panel as a condition scheme keeps it: the style name and chr(3)-separated fields.
    std::string PanelSavedText() const;
    // Reads PanelSavedText back; false when a list part cannot be read. For the discrete
    // style that failure raises "parse spSaveValue error" instead. Rows read before the
    // failure stay.
    bool RestorePanelSavedText(const std::string& text);
    bool AddRow(const std::vector<std::string>& values) { return ListBox->AddRow(values); }
    void ClearRows() { ListBox->ClearRows(); }
    // The rows of a multi-row lookup answer (an array of rows, each an array of field values)
    // added with AddRow: the first four values of each row unless `allColumns`; with
    // UseDiscard each row becomes one text joined with Discard. Other elements are skipped.
    // Returns the number of rows added.
    int AddLookupRows(const Variant& answer, bool allColumns);
    // The values of one answer row as texts (at most four unless `allColumns`).
    static std::vector<std::string> LookupRowTexts(const Variant& row, bool allColumns);
    // Those texts joined, Discard before every one but the first.
    std::string JoinLookupRow(const Variant& row, bool allColumns) const;

    // Puts the two bounds in order as ValueType says (run when the focus leaves the panel).
    void OrderRange();
    // A date text of the range under DateType and DateSign, as days since 30 Dec 1899; 0
    // when it cannot be read.
    double ReadRangeDate(const std::string& text) const;

    // What the buttons do.
    void TypeClick();
    void OpenWinClick(TF2Button* button);
    void DeleteSelectedRows();
    void ClearList();

    // ISelectionPanel.
    TWinControl* BeginEdit() override { return edBegin; }
    TWinControl* FinalEdit() override { return edFinal; }
    TWinControl* ListControl() override { return ListBox; }
    int ListRowCount() const override { return ListBox->ItemCount(); }
    void SetPanelEditMask(const std::string& mask) override { SetEditMask(mask); }
    void UseDateValues(int dateTypeCode, const std::string& separator) override;
    // IGlyphButtonOwner.
    std::vector<TSpeedButton*> GlyphButtons() override { return {btnBegin, btnFinal, btnList}; }

    // Lays the sub-controls out for the current style.
    void LayoutControls();

    void SetEnabled(bool enabled) override;
    // The panel takes the focus; out of range mode the list takes it from there.
    void SetFocus() override;
    void DoEnter() override;
    void DoExit() override;
    // Told by the sub-controls when they gain or lose the focus.
    void SubControlEntered();
    void SubControlLeft();

    TOpenWinClickEvent OnOpenWinClick;
    TNotifyEvent OnClearClick;
    TDeleteClickEvent OnDeleteClick;
    TNotifyEvent OnTypeClick;
    TStyleChangingEvent OnStyleChanging;
    TStyleChangeEvent OnStyleChange;
    TListViewSelectItemEvent OnItemSelect;
    TListViewDataChangeEvent OnItemChange;
    TListViewDataChangingEvent OnItemChanging;

protected:
    void Resized() override;
    void FontChanged() override { LayoutControls(); }

private:
    bool ParentLoading() const;
    void SwapSize();
    void ApplyVisibility(TSelectStyle style);
    void LayoutHorizontal();
    void LayoutVertical();
    void LayoutList();
    void SizeCheckBox();
    void WordsChanged(TStringList& words, TLabel* label);
    void HintsChanged();
    void ColumnCaptionsChanged();
    bool ReadListText(const std::string& text);
    bool FocusInside() const;

    bool autoChangeDateSite_ = true;
    TStringList beginWords_;
    TStringList finalWords_;
    bool canOpenWin_ = true;
    TCheckDuplicate checkDuplicate_ = TCheckDuplicate::cd_None;
    TStringList childHints_;
    TStringList columnCaptions_;
    bool rebuildingCaptions_ = false;
    bool trimmingWords_ = false;
    TDateType dateType_ = TDateType::dt_NoneCare;
    std::string dateSign_ = "/";
    std::string discard_;
    std::string editMask_;
    int glyphIndex_ = 8;
    std::string hintWord_;
    int otherHeight_ = 105;
    int otherWidth_ = 200;
    bool sortListBox_ = false;
    TSelectStyle style_ = TSelectStyle::sp_Range;
    bool useDiscard_ = false;
    bool userChoice_ = true;
    bool useVertical_ = false;
    TValueType valueType_ = TValueType::vt_String;
    std::string emptyText_;
    bool lastEnabled_ = true;
    bool focusInside_ = false;
    bool built_ = false;
};

}  // namespace vel
