// The client-side filter language of the datasets.
//
// A filter text is parsed once and compiled into a tree bound to field indices, then evaluated per
// record. Syntax: comparisons = <> < > <= >=, AND OR NOT (any case), parentheses, LIKE with % and _,
// IN (...), UPPER() and LOWER(), IS NULL, IS NOT NULL, numbers, 'strings' ('' escapes a quote),
// TRUE/FALSE, field names (case-insensitive). A string compared with a date field is read as a
// date in the short date format; a string compared with a number field as a number; a boolean
// compared with a text field reads the text as yes/no ("+" is true). With CaseInsensitive (the
// default) text comparisons and LIKE ignore case.
//
// A malformed text raises EClientError naming the expression; an unknown field raises
// EClientError naming the field. Nothing in here crashes on any input.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/base/FormatSettings.h"
#include "host/base/Variant.h"
#include "host/data/Packet.h"

namespace quil {

struct FilterOptions {
  bool caseInsensitive = true;
  bool noPartialCompare = false;  //!< reserved: a trailing '*' is literal either way
};

//! What a filter may refer to: the fields of one dataset.
class IFilterSchema {
 public:
  virtual ~IFilterSchema() = default;
  //! Index of the field (case-insensitive), -1 when absent.
  virtual int FilterFieldIndex(std::string_view name) const = 0;
  virtual FieldType FilterFieldType(int index) const = 0;
};

//! One record as the filter reads it.
class IFilterRecord {
 public:
  virtual ~IFilterRecord() = default;
  //! The value of field `index`: a reference to the stored value, or `scratch` filled with a
  //! computed one (calculated, lookup and bit fields).
  virtual const Variant& FilterValue(int index, Variant& scratch) const = 0;
};

class CompiledFilter {
 public:
  virtual ~CompiledFilter() = default;
  virtual bool Matches(const IFilterRecord& record) const = 0;
  //! The text it was compiled from.
  virtual const std::string& Text() const = 0;
};

//! Parses and binds `text`. An empty or blank text is not a filter: callers test for it first.
std::unique_ptr<CompiledFilter> CompileFilter(std::string_view text, const IFilterSchema& schema,
                                              const FilterOptions& options = {},
                                              const FormatSettings& fs = DefaultFormatSettings());

}  // namespace quil
