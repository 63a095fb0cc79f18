// TDescription: what a control or a form shows, as a tree of named properties.
//
// A renderer draws a form without knowing its screens: every control describes itself
// (TControl::Describe) into a TDescription, a value that is null, a flag, a whole number, a
// number, a text, a list of values, or a set of named properties (kept in the order they were
// set). The host knows no drawing format; the web host turns a description into JSON one to one
// (web/FormRenderer.h), so a new kind of control is described in one place: its own Describe.
//
// The vocabulary of descriptions (field types, dataset states, colours, choice lists) is here so
// every control uses the same words; docs/api.md lists what each kind describes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "host/data/ClientDataSet.h"

namespace quil {

class TField;
class TDataSource;

//! Choice lists (lookups, the municipality chooser) describe at most this many choices.
inline constexpr int kMaxChoices = 1000;

class TDescription {
 public:
  using List = std::vector<TDescription>;
  using Properties = std::vector<std::pair<std::string, TDescription>>;

  TDescription() = default;  //!< null
  TDescription(std::nullptr_t) {}
  TDescription(bool value) : value_(value) {}
  TDescription(int value) : value_(int64_t{value}) {}
  TDescription(int64_t value) : value_(value) {}
  TDescription(double value) : value_(value) {}
  TDescription(std::string value) : value_(std::move(value)) {}
  TDescription(std::string_view value) : value_(std::string(value)) {}
  TDescription(const char* value) : value_(std::string(value)) {}
  TDescription(List items) : value_(std::move(items)) {}
  //! A list of texts.
  TDescription(const std::vector<std::string>& texts);

  //! An empty set of properties.
  static TDescription Object() { return TDescription(Properties{}); }

  //! Sets a property (replacing one of the same name); turns null into a set of properties.
  TDescription& Set(std::string_view name, TDescription value);
  //! Appends to a list; turns null into a list.
  TDescription& Add(TDescription item);
  //! The property of that name; nullptr when there is none or this is no set of properties.
  const TDescription* Find(std::string_view name) const;

  bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }
  //! For whoever turns a description into a format of its own.
  const auto& Value() const { return value_; }

 private:
  explicit TDescription(Properties properties) : value_(std::move(properties)) {}

  std::variant<std::monostate, bool, int64_t, double, std::string, List, Properties> value_;
};

//! "string", "integer", "largeint", "float", "currency", "boolean", "date", "time", "datetime",
//! "memo", "blob".
const char* FieldTypeKey(FieldType type);
//! "inactive", "browse", "edit", "insert", "calc".
const char* StateName(DataSetState state);
//! "#rrggbb" of a control colour (0xRRGGBB, or a system colour in the host's palette); null for
//! clDefault. Colours stored in records go through ColorToHtml (Colors.h).
TDescription ControlColor(int32_t color);
//! {name, label, type, size, required, readOnly} of a field.
TDescription DescribeField(const TField& field);
//! Up to kMaxChoices records of a list as [{key, text}]; the text is `shownFields`
//! (";"-separated) joined with " - ". Empty while the list is closed or has no `keyField`.
TDescription DescribeChoices(TDataSource* list, const std::string& keyField,
                             const std::string& shownFields);

//! What a screen's own rule (QuilDBFormCanEdit, a calculated field) answers; `fallback` when it
//! throws: a rule must not break the drawing.
template <class Fn>
auto Safely(Fn fn, decltype(fn()) fallback) -> decltype(fn()) {
  try {
    return fn();
  } catch (const std::exception&) {
    return fallback;
  }
}

}  // namespace quil
