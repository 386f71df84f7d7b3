#pragma once
// TClientDataSet: a small in-memory dataset over a server provider. Open asks the
// application server object for the provider's records (operation kProviderGetRecords with
// the provider name); the answer is [field names, rows], each row an array of values in field
// order. Edits and posts change the local copy only.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/automation/dispatch.h"

namespace vel::net {

// Operation name and answer shape shared with the server side.
inline constexpr const char* kProviderGetRecords = "ProviderGetRecords";

class TSocketConnection;

// How a field is shown: its label, and the conversions of its text on the way to a control
// (get) and back (set). Declared before opening, like a form's persistent fields.
struct TFieldDef {
    std::string name;
    std::string displayLabel;  // empty: the field name
    bool isText = true;        // a string or memo field
    std::function<std::string(const std::string&)> onGetText;
    std::function<std::string(const std::string&)> onSetText;
};

class VEL_API TField {
public:
    TField(std::string name, Variant* value, const TFieldDef* def = nullptr)
        : name_(std::move(name)), value_(value), def_(def) {}
    const std::string& FieldName() const { return name_; }
    const Variant& Value() const { return *value_; }
    std::string AsString() const { return value_->ToString(); }
    int AsInteger() const { return value_->ToInt(); }
    bool IsNull() const { return value_->IsEmpty() || value_->IsNull(); }
    // Only in edit state (the dataset checks).
    void SetValue(const Variant& value) const { *value_ = value; }
    void SetAsString(const std::string& text) const { *value_ = Variant(text); }
    // The text a control shows and the text a control enters, through the field's handlers.
    std::string DisplayText() const;
    void SetText(const std::string& text) const;
    std::string DisplayLabel() const { return def_ && !def_->displayLabel.empty() ? def_->displayLabel : name_; }

private:
    std::string name_;
    Variant* value_;
    const TFieldDef* def_;
};

class VEL_API TClientDataSet {
public:
    enum class State { Inactive, Browse, Edit };

    std::string ProviderName;
    // ";"-separated field names that FindKey searches, e.g. "NCONDITION;CREATOR;PROGRAMME".
    std::string IndexFieldNames;

    // Persistent field definitions, by name; they outlive Open and Close.
    std::vector<TFieldDef> FieldDefs;
    TFieldDef* FindFieldDef(const std::string& name);
    // While disabled, controls bound to the dataset are not refreshed.
    void DisableControls() { ++disabled_; }
    void EnableControls() { if (disabled_ > 0) --disabled_; }
    bool ControlsDisabled() const { return disabled_ > 0; }

    // The server object whose provider is read: a socket connection's AppServer or a local object.
    void SetAppServer(const Variant& appServer) { appServer_ = appServer; }
    void SetRemoteServer(TSocketConnection* connection) { connection_ = connection; }

    void Open();
    void Close();
    bool Active() const { return state_ != State::Inactive; }
    State GetState() const { return state_; }

    void First();
    void Next();
    bool Eof() const;
    int RecordCount() const { return static_cast<int>(rows_.size()); }
    int RecNo() const { return current_ + 1; }
    const std::vector<std::string>& FieldNames() const { return fields_; }

    // Raises vel::Exception when the field does not exist or there is no current record.
    TField FieldByName(const std::string& name);
    // Moves to the first record whose index fields equal keys (texts compare exactly);
    // false leaves the position unchanged.
    bool FindKey(const std::vector<Variant>& keys);
    // Moves to the first record whose named fields (";"-separated) equal values.
    bool Locate(const std::string& fieldNames, const std::vector<Variant>& values);

    void Edit();
    void Post();
    void Cancel();

private:
    void RequireActive() const;
    int FieldIndex(const std::string& name) const;
    std::vector<int> FieldIndexes(const std::string& names) const;
    bool Seek(const std::vector<int>& columns, const std::vector<Variant>& values);

    Variant appServer_;
    TSocketConnection* connection_ = nullptr;
    State state_ = State::Inactive;
    std::vector<std::string> fields_;
    std::vector<std::vector<Variant>> rows_;
    std::vector<Variant> editBuffer_;
    int current_ = 0;
    int disabled_ = 0;
};

}  // namespace vel::net
