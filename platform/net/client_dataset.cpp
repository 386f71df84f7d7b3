#include "platform/net/client_dataset.h"

#include <strings.h>

#include "platform/net/socket_connection.h"

namespace vel::net {
namespace {

std::vector<std::string> SplitNames(const std::string& names) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= names.size()) {
        size_t semi = names.find(';', start);
        std::string part = names.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
        size_t b = part.find_first_not_of(' '), e = part.find_last_not_of(' ');
        if (b != std::string::npos) out.push_back(part.substr(b, e - b + 1));
        if (semi == std::string::npos) break;
        start = semi + 1;
    }
    return out;
}

bool SameValue(const Variant& a, const Variant& b) {
    if (a.IsText() || b.IsText()) {
        try {
            return a.ToString() == b.ToString();
        } catch (const Exception&) {
            return false;
        }
    }
    if (a.IsNumeric() && b.IsNumeric()) return a.ToDouble() == b.ToDouble();
    return a == b;
}

}  // namespace

void TClientDataSet::Open() {
    if (Active()) return;
    Variant server = connection_ ? connection_->AppServer() : appServer_;
    if (!server.IsDispatch()) throw Exception("TClientDataSet: missing remote server");
    if (ProviderName.empty()) throw Exception("TClientDataSet: missing provider name");
    Variant answer = server.Call(kProviderGetRecords, {Variant(ProviderName)});
    if (!answer.IsArray() || answer.DimCount() != 1 || answer.ArrayData().items.size() != 2)
        throw Exception("Provider " + ProviderName + " answered no record set");
    const Variant& names = answer.ArrayData().items[0];
    const Variant& rows = answer.ArrayData().items[1];
    if (!names.IsArray() || !rows.IsArray()) throw Exception("Provider " + ProviderName + " answered no record set");
    std::vector<std::string> fields;
    for (const Variant& n : names.ArrayData().items) fields.push_back(n.ToString());
    std::vector<std::vector<Variant>> data;
    for (const Variant& row : rows.ArrayData().items) {
        if (!row.IsArray() || row.ArrayData().items.size() != fields.size())
            throw Exception("Provider " + ProviderName + " answered a record of the wrong width");
        data.push_back(row.ArrayData().items);
    }
    fields_ = std::move(fields);
    rows_ = std::move(data);
    current_ = 0;
    state_ = State::Browse;
}

void TClientDataSet::Close() {
    state_ = State::Inactive;
    fields_.clear();
    rows_.clear();
    editBuffer_.clear();
    current_ = 0;
}

void TClientDataSet::RequireActive() const {
    if (!Active()) throw Exception("Cannot perform this operation on a closed dataset");
}

void TClientDataSet::First() {
    RequireActive();
    if (state_ == State::Edit) Post();
    current_ = 0;
}

void TClientDataSet::Next() {
    RequireActive();
    if (state_ == State::Edit) Post();
    if (current_ < static_cast<int>(rows_.size())) ++current_;
}

bool TClientDataSet::Eof() const { return !Active() || current_ >= static_cast<int>(rows_.size()); }

int TClientDataSet::FieldIndex(const std::string& name) const {
    for (size_t i = 0; i < fields_.size(); ++i)
        if (strcasecmp(fields_[i].c_str(), name.c_str()) == 0) return static_cast<int>(i);
    throw Exception("Field '" + name + "' not found");
}

std::vector<int> TClientDataSet::FieldIndexes(const std::string& names) const {
    std::vector<int> out;
    for (const std::string& n : SplitNames(names)) out.push_back(FieldIndex(n));
    return out;
}

std::string TField::DisplayText() const {
    std::string text = AsString();
    return def_ && def_->onGetText ? def_->onGetText(text) : text;
}

void TField::SetText(const std::string& text) const {
    SetAsString(def_ && def_->onSetText ? def_->onSetText(text) : text);
}

TFieldDef* TClientDataSet::FindFieldDef(const std::string& name) {
    for (TFieldDef& def : FieldDefs)
        if (strcasecmp(def.name.c_str(), name.c_str()) == 0) return &def;
    return nullptr;
}

TField TClientDataSet::FieldByName(const std::string& name) {
    RequireActive();
    int column = FieldIndex(name);
    const TFieldDef* def = FindFieldDef(fields_[column]);
    if (state_ == State::Edit) return TField(fields_[column], &editBuffer_[column], def);
    if (Eof()) throw Exception("No current record");
    return TField(fields_[column], &rows_[current_][column], def);
}

bool TClientDataSet::Seek(const std::vector<int>& columns, const std::vector<Variant>& values) {
    RequireActive();
    if (values.size() != columns.size())
        throw Exception("Search needs " + std::to_string(columns.size()) + " values, got " + std::to_string(values.size()));
    if (state_ == State::Edit) Post();
    for (size_t r = 0; r < rows_.size(); ++r) {
        bool match = true;
        for (size_t i = 0; i < columns.size() && match; ++i) match = SameValue(rows_[r][columns[i]], values[i]);
        if (match) {
            current_ = static_cast<int>(r);
            return true;
        }
    }
    return false;
}

bool TClientDataSet::FindKey(const std::vector<Variant>& keys) {
    RequireActive();
    std::vector<int> columns = FieldIndexes(IndexFieldNames);
    if (columns.empty()) throw Exception("No index fields to search");
    // A shorter key matches on the leading index fields.
    if (keys.size() < columns.size()) columns.resize(keys.size());
    return Seek(columns, keys);
}

bool TClientDataSet::Locate(const std::string& fieldNames, const std::vector<Variant>& values) {
    RequireActive();
    return Seek(FieldIndexes(fieldNames), values);
}

void TClientDataSet::Edit() {
    RequireActive();
    if (state_ == State::Edit) return;
    if (Eof()) throw Exception("No current record to edit");
    editBuffer_ = rows_[current_];
    state_ = State::Edit;
}

void TClientDataSet::Post() {
    if (state_ != State::Edit) return;
    rows_[current_] = std::move(editBuffer_);
    editBuffer_.clear();
    state_ = State::Browse;
}

void TClientDataSet::Cancel() {
    if (state_ != State::Edit) return;
    editBuffer_.clear();
    state_ = State::Browse;
}

}  // namespace vel::net
