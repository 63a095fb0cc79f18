// The syntax tree of a filter text and the recursive-descent parser that builds it.
//
// The parser knows nothing of fields or types: it checks the grammar only, and CompileFilter
// (FilterExpression.cpp) binds and checks the tree. Precedence, lowest first: OR, AND, NOT, then
// one predicate (comparison, LIKE, IN, IS NULL) between operands. Nesting of parentheses, NOT and
// function calls is limited to kMaxFilterDepth so that no input can exhaust the stack; AND and OR
// chains are kept flat, so their length is not limited.
//
// Positions are 1-based byte offsets in the filter text, as the error messages show them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quil {

inline constexpr int kMaxFilterDepth = 200;

enum class FilterNodeKind {
  Field,
  Number,
  String,
  Boolean,
  Null,
  Upper,  //!< children: the argument
  Lower,
  Compare,  //!< children: left, right
  Like,     //!< children: subject, pattern
  In,       //!< children: subject, then the list
  IsNull,   //!< children: the operand
  And,      //!< children: two or more conditions
  Or,
  Not,
};

enum class CompareOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

struct FilterNode {
  FilterNodeKind kind = FilterNodeKind::Null;
  int position = 0;
  std::string text;  //!< field name, string value or the number as written
  double number = 0;
  bool hasInteger = false;  //!< the number is whole and `integer` holds it exactly
  int64_t integer = 0;
  bool boolean = false;
  bool negated = false;  //!< NOT LIKE, NOT IN, IS NOT NULL
  CompareOp op = CompareOp::Equal;
  std::vector<std::unique_ptr<FilterNode>> children;
};

//! Raises EClientError "Ongeldige filter: '<text>': <detail>".
[[noreturn]] void RaiseFilterError(std::string_view text, const std::string& detail);

//! Parses the whole text; raises EClientError naming the text and the position of the fault.
std::unique_ptr<FilterNode> ParseFilter(std::string_view text);

}  // namespace quil
