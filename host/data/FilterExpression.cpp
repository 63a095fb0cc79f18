// Compiling a parsed filter into a tree of small evaluator nodes.
//
// Every choice that depends on a field's type is made here, once: field names become indices,
// UPPER/LOWER of constants are folded, a string compared with a date field becomes a day number,
// with a number field a number, with a boolean field a boolean, and LIKE patterns become matchers
// of the right shape. Per record a node reads its field by index (by reference, no copy) and runs
// one typed test, so filtering allocates nothing on the common paths.
//
// Semantics worth knowing:
// - A comparison, LIKE or IN with a null value is false, and so is its NOT LIKE / NOT IN form; NOT
//   in front of it turns that into true: with x null, `x = 1` and `x <> 1` are both false while
//   `NOT (x = 1)` is true. IS NULL is the test for a missing value; a text field holding the
//   empty string is null for IS NULL too (datasets store an empty text as null), but compares as
//   the empty text.
// - A number compared with a text field reads the text as a number (with the settings' decimal
//   separator); a text that is not a number matches neither = nor <> nor IN nor NOT IN.
// - TRUE/FALSE compared with a text field read the text as yes/no: "+", "True", "T", "1", "Y",
//   "J" are true, "-", "", "False", "F", "0", "N" false, any other text matches nothing.
// - A DateTime value is compared whole, so `D >= '01/09/2025'` includes 01/09/2025 00:00.
// - With caseInsensitive, text comparisons and LIKE fold both sides to upper case (ASCII and the
//   Latin-1 letters); otherwise only an explicit UPPER or LOWER folds.
// - Anything the fast nodes do not cover (two fields compared, a field as LIKE pattern, values
//   of an unexpected type) goes through CompareVariants on copies: correct, just slower.
#include "host/data/FilterExpression.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/data/FilterParser.h"
#include "host/data/LikeMatcher.h"

namespace quil {
namespace {

bool ApplyOp(CompareOp op, int cmp) {
  switch (op) {
    case CompareOp::Equal:
      return cmp == 0;
    case CompareOp::NotEqual:
      return cmp != 0;
    case CompareOp::Less:
      return cmp < 0;
    case CompareOp::LessEqual:
      return cmp <= 0;
    case CompareOp::Greater:
      return cmp > 0;
    case CompareOp::GreaterEqual:
      return cmp >= 0;
  }
  return false;
}

CompareOp Mirror(CompareOp op) {
  switch (op) {
    case CompareOp::Less:
      return CompareOp::Greater;
    case CompareOp::LessEqual:
      return CompareOp::GreaterEqual;
    case CompareOp::Greater:
      return CompareOp::Less;
    case CompareOp::GreaterEqual:
      return CompareOp::LessEqual;
    default:
      return op;
  }
}

template <class T>
int ThreeWay(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

bool ReadBooleanText(std::string_view text, bool& out) {
  for (std::string_view yes : {"+", "TRUE", "T", "1", "Y", "J"}) {
    if (SameText(text, yes)) {
      out = true;
      return true;
    }
  }
  for (std::string_view no : {"-", "", "FALSE", "F", "0", "N"}) {
    if (SameText(text, no)) {
      out = false;
      return true;
    }
  }
  return false;
}

//! The value as a number, for comparison with a number or a date; false when it has none.
bool NumericValue(const Variant& v, const FormatSettings& fs, double& out) {
  switch (v.Type()) {
    case VariantType::Integer:
      out = static_cast<double>(v.Get<int64_t>());
      break;
    case VariantType::Float:
      out = v.Get<double>();
      break;
    case VariantType::Currency:
      out = v.Get<Currency>().ToDouble();
      break;
    case VariantType::DateTime:
      out = v.Get<TDateTime>().value;
      break;
    case VariantType::Boolean:
      out = v.Get<bool>() ? 1 : 0;
      break;
    case VariantType::String:
      if (!TryStrToFloat(v.Get<std::string>(), out, fs)) return false;
      break;
    default:
      return false;
  }
  return !std::isnan(out);
}

//! A copy of the value as text folded as asked; nullopt for a blob.
std::optional<std::string> FoldedString(const Variant& v, CaseFold fold, const FormatSettings& fs) {
  if (v.Type() == VariantType::Blob) return std::nullopt;
  if (v.Type() == VariantType::String) return FoldText(v.Get<std::string>(), fold);
  return FoldText(v.AsString(fs), fold);
}

// ---- Tests of one non-null value ------------------------------------------------------------

class ValueTest {
 public:
  virtual ~ValueTest() = default;
  virtual bool Test(const Variant& value) const = 0;
};

struct NumberTest final : ValueTest {
  CompareOp op;
  double number;
  bool hasInteger;
  int64_t integer;
  const FormatSettings* fs;

  NumberTest(CompareOp op, double number, bool hasInteger, int64_t integer,
             const FormatSettings* fs)
      : op(op), number(number), hasInteger(hasInteger), integer(integer), fs(fs) {}

  bool Test(const Variant& value) const override {
    if (hasInteger && value.Type() == VariantType::Integer) {
      return ApplyOp(op, ThreeWay(value.Get<int64_t>(), integer));
    }
    double d;
    return NumericValue(value, *fs, d) && ApplyOp(op, ThreeWay(d, number));
  }
};

class NumberInTest final : public ValueTest {
 public:
  NumberInTest(const std::vector<const NumberTest*>& items, bool negated, const FormatSettings* fs)
      : negated_(negated), fs_(fs) {
    for (const NumberTest* item : items) {
      numbers_.push_back(item->number);
      if (item->hasInteger) integers_.push_back(item->integer);
    }
    std::sort(numbers_.begin(), numbers_.end());
    std::sort(integers_.begin(), integers_.end());
  }

  bool Test(const Variant& value) const override {
    if (value.Type() == VariantType::Integer) {
      return std::binary_search(integers_.begin(), integers_.end(), value.Get<int64_t>()) !=
             negated_;
    }
    double d;
    if (!NumericValue(value, *fs_, d)) return false;
    return std::binary_search(numbers_.begin(), numbers_.end(), d) != negated_;
  }

 private:
  std::vector<double> numbers_;
  std::vector<int64_t> integers_;
  bool negated_;
  const FormatSettings* fs_;
};

class TextTest final : public ValueTest {
 public:
  //! `folded` is the constant as the subject reads after `fold`.
  TextTest(CompareOp op, std::string folded, CaseFold fold, Variant constant, bool ignoreCase)
      : op_(op),
        folded_(std::move(folded)),
        fold_(fold),
        constant_(std::move(constant)),
        ignoreCase_(ignoreCase) {}

  bool Test(const Variant& value) const override {
    if (value.Type() != VariantType::String) {
      return ApplyOp(op_, CompareVariants(value, constant_, ignoreCase_));
    }
    const std::string& s = value.Get<std::string>();
    if (op_ == CompareOp::Equal || op_ == CompareOp::NotEqual) {
      const bool same = s.size() == folded_.size() && CompareFolded(s, fold_, folded_) == 0;
      return same == (op_ == CompareOp::Equal);
    }
    return ApplyOp(op_, CompareFolded(s, fold_, folded_));
  }

 private:
  CompareOp op_;
  std::string folded_;
  CaseFold fold_;
  Variant constant_;
  bool ignoreCase_;
};

class BooleanTest final : public ValueTest {
 public:
  BooleanTest(CompareOp op, bool constant) : op_(op), constant_(constant) {}

  bool Test(const Variant& value) const override {
    bool b = false;
    switch (value.Type()) {
      case VariantType::Boolean:
        b = value.Get<bool>();
        break;
      case VariantType::Integer:
        b = value.Get<int64_t>() != 0;
        break;
      case VariantType::String:
        if (!ReadBooleanText(value.Get<std::string>(), b)) return false;
        break;
      default:
        return false;
    }
    return ApplyOp(op_, ThreeWay(int{b}, int{constant_}));
  }

 private:
  CompareOp op_;
  bool constant_;
};

class LikeTest final : public ValueTest {
 public:
  LikeTest(std::string_view foldedPattern, CaseFold fold, bool negated, const FormatSettings* fs)
      : matcher_(foldedPattern), fold_(fold), negated_(negated), fs_(fs) {}

  bool Test(const Variant& value) const override {
    if (value.Type() == VariantType::String) {
      return matcher_.Match(value.Get<std::string>(), fold_) != negated_;
    }
    const auto text = FoldedString(value, CaseFold::None, *fs_);
    return text && matcher_.Match(*text, fold_) != negated_;
  }

 private:
  LikeMatcher matcher_;
  CaseFold fold_;
  bool negated_;
  const FormatSettings* fs_;
};

class AnyOfTest final : public ValueTest {
 public:
  AnyOfTest(std::vector<std::unique_ptr<ValueTest>> tests, bool negated)
      : tests_(std::move(tests)), negated_(negated) {}

  bool Test(const Variant& value) const override {
    for (const auto& test : tests_) {
      if (test->Test(value)) return !negated_;
    }
    return negated_;
  }

 private:
  std::vector<std::unique_ptr<ValueTest>> tests_;
  bool negated_;
};

//! A value of a field of no particular type, or under UPPER/LOWER where no fast test applies.
class GenericTest final : public ValueTest {
 public:
  GenericTest(CompareOp op, Variant constant, CaseFold fold, bool ignoreCase,
              const FormatSettings* fs)
      : op_(op), constant_(std::move(constant)), fold_(fold), ignoreCase_(ignoreCase), fs_(fs) {}

  bool Test(const Variant& value) const override {
    if (fold_ == CaseFold::None)
      return ApplyOp(op_, CompareVariants(value, constant_, ignoreCase_));
    const auto text = FoldedString(value, fold_, *fs_);
    return text && ApplyOp(op_, CompareVariants(Variant(*text), constant_, ignoreCase_));
  }

 private:
  CompareOp op_;
  Variant constant_;
  CaseFold fold_;
  bool ignoreCase_;
  const FormatSettings* fs_;
};

// ---- Conditions on a record -----------------------------------------------------------------

class Condition {
 public:
  virtual ~Condition() = default;
  virtual bool Eval(const IFilterRecord& record) const = 0;
  //! The outcome when it does not depend on the record.
  virtual std::optional<bool> Constant() const { return std::nullopt; }
};

class ConstantCondition final : public Condition {
 public:
  explicit ConstantCondition(bool value) : value_(value) {}
  bool Eval(const IFilterRecord&) const override { return value_; }
  std::optional<bool> Constant() const override { return value_; }

 private:
  bool value_;
};

class FieldCondition final : public Condition {
 public:
  FieldCondition(int index, std::unique_ptr<ValueTest> test)
      : index_(index), test_(std::move(test)) {}

  bool Eval(const IFilterRecord& record) const override {
    Variant scratch;
    const Variant& value = record.FilterValue(index_, scratch);
    return !value.IsNull() && test_->Test(value);
  }

 private:
  int index_;
  std::unique_ptr<ValueTest> test_;
};

class IsNullCondition final : public Condition {
 public:
  IsNullCondition(int index, bool negated) : index_(index), negated_(negated) {}

  bool Eval(const IFilterRecord& record) const override {
    Variant scratch;
    const Variant& value = record.FilterValue(index_, scratch);
    const bool missing =
        value.IsNull() || (value.Type() == VariantType::String && value.Get<std::string>().empty());
    return missing != negated_;
  }

 private:
  int index_;
  bool negated_;
};

class AndCondition final : public Condition {
 public:
  explicit AndCondition(std::vector<std::unique_ptr<Condition>> parts) : parts_(std::move(parts)) {}
  bool Eval(const IFilterRecord& record) const override {
    for (const auto& part : parts_) {
      if (!part->Eval(record)) return false;
    }
    return true;
  }

 private:
  std::vector<std::unique_ptr<Condition>> parts_;
};

class OrCondition final : public Condition {
 public:
  explicit OrCondition(std::vector<std::unique_ptr<Condition>> parts) : parts_(std::move(parts)) {}
  bool Eval(const IFilterRecord& record) const override {
    for (const auto& part : parts_) {
      if (part->Eval(record)) return true;
    }
    return false;
  }

 private:
  std::vector<std::unique_ptr<Condition>> parts_;
};

class NotCondition final : public Condition {
 public:
  explicit NotCondition(std::unique_ptr<Condition> inner) : inner_(std::move(inner)) {}
  bool Eval(const IFilterRecord& record) const override { return !inner_->Eval(record); }

 private:
  std::unique_ptr<Condition> inner_;
};

//! One side of a comparison: a field (perhaps under UPPER/LOWER) or a constant.
struct Operand {
  bool isField = false;
  int index = -1;
  FieldType type = FieldType::String;
  CaseFold fold = CaseFold::None;
  FilterNodeKind kind = FilterNodeKind::Null;  //!< of a constant: Number, String, Boolean or Null
  Variant constant;
  std::string text;  //!< a constant as text: the string, or the number as written
  double number = 0;
  bool hasInteger = false;
  int64_t integer = 0;
  int position = 0;

  bool IsNullConstant() const { return !isField && kind == FilterNodeKind::Null; }
};

//! Comparison or LIKE between two operands of which at least one is a field, on copies.
class OperandsCondition final : public Condition {
 public:
  OperandsCondition(Operand left, Operand right, CompareOp op, bool like, bool negated,
                    bool ignoreCase, const FormatSettings* fs)
      : left_(std::move(left)),
        right_(std::move(right)),
        op_(op),
        like_(like),
        negated_(negated),
        ignoreCase_(ignoreCase),
        fs_(fs) {}

  bool Eval(const IFilterRecord& record) const override {
    Variant leftScratch;
    Variant rightScratch;
    const Variant& a = Read(left_, record, leftScratch);
    const Variant& b = Read(right_, record, rightScratch);
    if (a.IsNull() || b.IsNull()) return false;
    if (like_) {
      const CaseFold subjectFold = ignoreCase_ ? CaseFold::Upper : left_.fold;
      const auto subject = FoldedString(a, CaseFold::None, *fs_);
      const auto pattern = FoldedString(b, ignoreCase_ ? CaseFold::Upper : right_.fold, *fs_);
      return subject && pattern && LikeMatcher(*pattern).Match(*subject, subjectFold) != negated_;
    }
    if (left_.fold == CaseFold::None && right_.fold == CaseFold::None) {
      return ApplyOp(op_, CompareVariants(a, b, ignoreCase_));
    }
    const auto x = FoldedString(a, left_.fold, *fs_);
    const auto y = FoldedString(b, right_.fold, *fs_);
    return x && y && ApplyOp(op_, CompareVariants(Variant(*x), Variant(*y), ignoreCase_));
  }

 private:
  static const Variant& Read(const Operand& operand, const IFilterRecord& record,
                             Variant& scratch) {
    return operand.isField ? record.FilterValue(operand.index, scratch) : operand.constant;
  }

  Operand left_;
  Operand right_;
  CompareOp op_;
  bool like_;
  bool negated_;
  bool ignoreCase_;
  const FormatSettings* fs_;
};

// ---- The compiler ---------------------------------------------------------------------------

class FilterCompiler {
 public:
  FilterCompiler(std::string_view text, const IFilterSchema& schema, const FilterOptions& options,
                 const FormatSettings* fs)
      : text_(text), schema_(schema), ignoreCase_(options.caseInsensitive), fs_(fs) {}

  std::unique_ptr<Condition> CompileCondition(const FilterNode& node) {
    switch (node.kind) {
      case FilterNodeKind::And:
      case FilterNodeKind::Or:
        return CompileChain(node);
      case FilterNodeKind::Not: {
        auto inner = CompileCondition(*node.children[0]);
        if (auto constant = inner->Constant()) return Const(!*constant);
        return std::make_unique<NotCondition>(std::move(inner));
      }
      case FilterNodeKind::Compare:
        return CompileCompare(node);
      case FilterNodeKind::Like:
        return CompileLike(node);
      case FilterNodeKind::In:
        return CompileIn(node);
      case FilterNodeKind::IsNull: {
        const Operand operand = CompileOperand(*node.children[0]);
        if (operand.isField) return std::make_unique<IsNullCondition>(operand.index, node.negated);
        const bool missing = operand.IsNullConstant() ||
                             (operand.kind == FilterNodeKind::String && operand.text.empty());
        return Const(missing != node.negated);
      }
      default:
        return CompileTruth(node);
    }
  }

 private:
  static std::unique_ptr<Condition> Const(bool value) {
    return std::make_unique<ConstantCondition>(value);
  }

  [[noreturn]] void Fail(const std::string& what, int position) {
    RaiseFilterError(text_, what + " op positie " + std::to_string(position));
  }

  Operand CompileOperand(const FilterNode& node) {
    Operand operand;
    operand.position = node.position;
    operand.kind = node.kind;
    switch (node.kind) {
      case FilterNodeKind::Field:
        operand.isField = true;
        operand.index = schema_.FilterFieldIndex(node.text);
        if (operand.index < 0) RaiseClientError("Veld '" + node.text + "' niet gevonden");
        operand.type = schema_.FilterFieldType(operand.index);
        return operand;
      case FilterNodeKind::Number:
        operand.text = node.text;
        operand.number = node.number;
        operand.hasInteger = node.hasInteger;
        operand.integer = node.integer;
        operand.constant = node.hasInteger ? Variant(node.integer) : Variant(node.number);
        return operand;
      case FilterNodeKind::String:
        operand.text = node.text;
        operand.constant = Variant(node.text);
        return operand;
      case FilterNodeKind::Boolean:
        operand.text = node.boolean ? "True" : "False";
        operand.constant = Variant(node.boolean);
        return operand;
      case FilterNodeKind::Null:
        return operand;
      case FilterNodeKind::Upper:
      case FilterNodeKind::Lower: {
        const CaseFold fold =
            node.kind == FilterNodeKind::Upper ? CaseFold::Upper : CaseFold::Lower;
        Operand inner = CompileOperand(*node.children[0]);
        if (inner.isField) {
          inner.fold = fold;
          return inner;
        }
        if (inner.IsNullConstant()) return inner;
        operand.kind = FilterNodeKind::String;
        operand.text = FoldText(inner.text, fold);
        operand.constant = Variant(operand.text);
        return operand;
      }
      default:
        Fail("verwacht een waarde", node.position);
    }
  }

  //! A value standing where a condition belongs: a boolean field, a yes/no text field, TRUE/FALSE.
  std::unique_ptr<Condition> CompileTruth(const FilterNode& node) {
    const Operand operand = CompileOperand(node);
    if (operand.isField && operand.fold == CaseFold::None &&
        (operand.type == FieldType::Boolean || IsTextType(operand.type))) {
      return std::make_unique<FieldCondition>(
          operand.index, std::make_unique<BooleanTest>(CompareOp::Equal, true));
    }
    if (!operand.isField && operand.kind == FilterNodeKind::Boolean) {
      return Const(operand.constant.Get<bool>());
    }
    Fail("verwacht een voorwaarde", node.position);
  }

  std::unique_ptr<Condition> CompileChain(const FilterNode& node) {
    const bool isAnd = node.kind == FilterNodeKind::And;
    std::vector<std::unique_ptr<Condition>> parts;
    for (const auto& child : node.children) {
      auto part = CompileCondition(*child);
      if (auto constant = part->Constant()) {
        if (*constant != isAnd) return Const(*constant);  // false in AND, true in OR decides
        continue;
      }
      parts.push_back(std::move(part));
    }
    if (parts.empty()) return Const(isAnd);
    if (parts.size() == 1) return std::move(parts[0]);
    if (isAnd) return std::make_unique<AndCondition>(std::move(parts));
    return std::make_unique<OrCondition>(std::move(parts));
  }

  std::unique_ptr<Condition> CompileCompare(const FilterNode& node) {
    Operand left = CompileOperand(*node.children[0]);
    Operand right = CompileOperand(*node.children[1]);
    CompareOp op = node.op;
    if (left.IsNullConstant() || right.IsNullConstant()) return Const(false);
    if (!left.isField && !right.isField) {
      return Const(ApplyOp(op, CompareVariants(left.constant, right.constant, ignoreCase_)));
    }
    if (!left.isField) {
      std::swap(left, right);
      op = Mirror(op);
    }
    if (right.isField) {
      return std::make_unique<OperandsCondition>(std::move(left), std::move(right), op, false,
                                                 false, ignoreCase_, fs_);
    }
    return std::make_unique<FieldCondition>(left.index, BuildTest(left, op, right));
  }

  std::unique_ptr<ValueTest> BuildTest(const Operand& field, CompareOp op, const Operand& c) {
    const FieldType type = field.type;
    if (IsTextType(type)) {
      switch (c.kind) {
        case FilterNodeKind::Number:
          return MakeNumberTest(op, c);
        case FilterNodeKind::Boolean:
          return std::make_unique<BooleanTest>(op, c.constant.Get<bool>());
        default: {
          // The constant is folded already where it stood under UPPER/LOWER.
          const CaseFold constantFold = ignoreCase_ ? CaseFold::Upper : CaseFold::None;
          return std::make_unique<TextTest>(op, FoldText(c.text, constantFold),
                                            ignoreCase_ ? CaseFold::Upper : field.fold, c.constant,
                                            ignoreCase_);
        }
      }
    }
    if (field.fold != CaseFold::None) {
      return std::make_unique<GenericTest>(op, c.constant, field.fold, ignoreCase_, fs_);
    }
    if (type == FieldType::Boolean) {
      bool b = false;
      if (c.kind == FilterNodeKind::Boolean) {
        b = c.constant.Get<bool>();
      } else if (c.kind == FilterNodeKind::Number) {
        b = c.number != 0;
      } else if (!ReadBooleanText(c.text, b)) {
        Fail("ongeldige logische waarde '" + c.text + "'", c.position);
      }
      return std::make_unique<BooleanTest>(op, b);
    }
    if (IsNumericType(type) || IsDateType(type)) {
      if (c.kind == FilterNodeKind::Number) return MakeNumberTest(op, c);
      if (c.kind == FilterNodeKind::Boolean) {
        const int b = c.constant.Get<bool>() ? 1 : 0;
        return std::make_unique<NumberTest>(op, b, true, b, fs_);
      }
      const double value = IsDateType(type) ? ParseDate(type, c) : ParseNumber(c);
      const bool whole = std::floor(value) == value && std::fabs(value) < 9.2e18;
      return std::make_unique<NumberTest>(op, value, whole, whole ? static_cast<int64_t>(value) : 0,
                                          fs_);
    }
    return std::make_unique<GenericTest>(op, c.constant, CaseFold::None, ignoreCase_, fs_);
  }

  std::unique_ptr<ValueTest> MakeNumberTest(CompareOp op, const Operand& c) {
    return std::make_unique<NumberTest>(op, c.number, c.hasInteger, c.integer, fs_);
  }

  double ParseNumber(const Operand& c) {
    double value = 0;
    FormatSettings pointDecimal = *fs_;
    pointDecimal.DecimalSeparator = '.';
    if (!TryStrToFloat(c.text, value, *fs_) && !TryStrToFloat(c.text, value, pointDecimal)) {
      Fail("ongeldig getal '" + c.text + "'", c.position);
    }
    return value;
  }

  double ParseDate(FieldType type, const Operand& c) {
    TDateTime value;
    const bool ok =
        type == FieldType::Time
            ? TryStrToTime(c.text, value, *fs_) || TryStrToDateTime(c.text, value, *fs_)
            : TryStrToDateTime(c.text, value, *fs_) || TryStrToDate(c.text, value, *fs_);
    if (!ok) Fail("ongeldige datum '" + c.text + "'", c.position);
    return value.value;
  }

  std::unique_ptr<Condition> CompileLike(const FilterNode& node) {
    Operand subject = CompileOperand(*node.children[0]);
    Operand pattern = CompileOperand(*node.children[1]);
    if (subject.IsNullConstant() || pattern.IsNullConstant()) return Const(false);
    const CaseFold subjectFold = ignoreCase_ ? CaseFold::Upper : subject.fold;
    const CaseFold constantFold = ignoreCase_ ? CaseFold::Upper : CaseFold::None;
    if (!subject.isField && !pattern.isField) {
      const std::string folded = FoldText(pattern.text, constantFold);
      return Const(LikeMatcher(folded).Match(subject.text, subjectFold) != node.negated);
    }
    if (subject.isField && !pattern.isField) {
      const std::string folded = FoldText(pattern.text, constantFold);
      return std::make_unique<FieldCondition>(
          subject.index, std::make_unique<LikeTest>(folded, subjectFold, node.negated, fs_));
    }
    return std::make_unique<OperandsCondition>(std::move(subject), std::move(pattern),
                                               CompareOp::Equal, true, node.negated, ignoreCase_,
                                               fs_);
  }

  std::unique_ptr<Condition> CompileIn(const FilterNode& node) {
    const Operand subject = CompileOperand(*node.children[0]);
    std::vector<Operand> items;
    for (size_t i = 1; i < node.children.size(); ++i) {
      Operand item = CompileOperand(*node.children[i]);
      if (item.isField) Fail("verwacht een constante", item.position);
      if (!item.IsNullConstant()) items.push_back(std::move(item));
    }
    if (subject.IsNullConstant()) return Const(false);
    if (!subject.isField) {
      bool found = false;
      for (const Operand& item : items) {
        found = found || CompareVariants(subject.constant, item.constant, ignoreCase_) == 0;
      }
      return Const(found != node.negated);
    }
    std::vector<std::unique_ptr<ValueTest>> tests;
    std::vector<const NumberTest*> numbers;
    for (const Operand& item : items) {
      tests.push_back(BuildTest(subject, CompareOp::Equal, item));
      if (auto* number = dynamic_cast<const NumberTest*>(tests.back().get())) {
        numbers.push_back(number);
      }
    }
    std::unique_ptr<ValueTest> test;
    if (!tests.empty() && numbers.size() == tests.size()) {
      test = std::make_unique<NumberInTest>(numbers, node.negated, fs_);
    } else {
      test = std::make_unique<AnyOfTest>(std::move(tests), node.negated);
    }
    return std::make_unique<FieldCondition>(subject.index, std::move(test));
  }

  std::string_view text_;
  const IFilterSchema& schema_;
  bool ignoreCase_;
  const FormatSettings* fs_;
};

class CompiledFilterTree final : public CompiledFilter {
 public:
  CompiledFilterTree(std::string_view text, const FormatSettings& fs) : text_(text), fs_(fs) {}

  void Compile(const IFilterSchema& schema, const FilterOptions& options) {
    const auto tree = ParseFilter(text_);
    root_ = FilterCompiler(text_, schema, options, &fs_).CompileCondition(*tree);
  }

  bool Matches(const IFilterRecord& record) const override { return root_->Eval(record); }
  const std::string& Text() const override { return text_; }

 private:
  std::string text_;
  FormatSettings fs_;  //!< the nodes point here
  std::unique_ptr<Condition> root_;
};

}  // namespace

std::unique_ptr<CompiledFilter> CompileFilter(std::string_view text, const IFilterSchema& schema,
                                              const FilterOptions& options,
                                              const FormatSettings& fs) {
  auto filter = std::make_unique<CompiledFilterTree>(text, fs);
  filter->Compile(schema, options);
  return filter;
}

}  // namespace quil
