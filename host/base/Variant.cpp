// Variant conversions. A conversion either gives a value or raises EClientError naming the value
// it could not read; out-of-range numbers are errors too, never a wrapped or undefined result.
//
// Integer conversions of a double or a currency round halves to even, as the host's variant
// conversion always has (2.5 gives 2, 3.5 gives 4); Currency::Trunc is there for truncation.
#include "host/base/Variant.h"

#include <cmath>
#include <limits>

#include "host/base/DecimalText.h"
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"

namespace quil {
namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

[[noreturn]] void RaiseNotInteger(const std::string& text) {
  RaiseClientError("'" + text + "' is geen geldig geheel getal");
}

int64_t RoundToInt64(double value, const Variant& source, const FormatSettings& fs) {
  double rounded = std::nearbyint(value);
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
    RaiseNotInteger(source.AsString(fs));
  return static_cast<int64_t>(rounded);
}

//! The text a text-like value holds (string or blob bytes), or nullptr.
const std::string* TextOf(const Variant& v) {
  if (v.Type() == VariantType::String) return &v.Get<std::string>();
  if (v.Type() == VariantType::Blob) return &v.Get<Blob>().bytes;
  return nullptr;
}

bool IsNumeric(VariantType t) {
  return t == VariantType::Integer || t == VariantType::Float || t == VariantType::Currency ||
         t == VariantType::DateTime;
}

template <class T>
int Sign(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareText(std::string_view a, std::string_view b, bool ignoreCase) {
  if (!ignoreCase) return Sign(a, b);
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    unsigned char ca = Lower(a[i]), cb = Lower(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return Sign(a.size(), b.size());
}

int CompareNumbers(const Variant& a, const Variant& b) {
  VariantType ta = a.Type(), tb = b.Type();
  // Exact where both sides are exact: integers and currencies compare in ten-thousandths.
  auto exact = [](const Variant& v, detail::Int128& out) {
    if (v.Type() == VariantType::Integer)
      out = detail::Int128{v.Get<int64_t>()} * Currency::kScale;
    else if (v.Type() == VariantType::Currency)
      out = v.Get<Currency>().Raw();
    else
      return false;
    return true;
  };
  detail::Int128 ea, eb;
  if (exact(a, ea) && exact(b, eb)) return Sign(ea, eb);
  auto asDouble = [](const Variant& v, VariantType t) {
    switch (t) {
      case VariantType::Integer:
        return static_cast<double>(v.Get<int64_t>());
      case VariantType::Currency:
        return v.Get<Currency>().ToDouble();
      case VariantType::DateTime:
        return v.Get<TDateTime>().value;
      default:
        return v.Get<double>();
    }
  };
  return Sign(asDouble(a, ta), asDouble(b, tb));
}

}  // namespace

int32_t Variant::AsInteger(const FormatSettings& fs) const {
  int64_t value = AsLargeInt(fs);
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    RaiseNotInteger(AsString(fs));
  return static_cast<int32_t>(value);
}

int64_t Variant::AsLargeInt(const FormatSettings& fs) const {
  switch (Type()) {
    case VariantType::Null:
      return 0;
    case VariantType::Boolean:
      return Get<bool>() ? 1 : 0;
    case VariantType::Integer:
      return Get<int64_t>();
    case VariantType::Float:
      return RoundToInt64(Get<double>(), *this, fs);
    case VariantType::Currency: {
      int64_t raw = Get<Currency>().Raw();
      int64_t units = raw / Currency::kScale;
      int64_t rest = raw % Currency::kScale;
      int64_t twice = 2 * (rest < 0 ? -rest : rest);
      if (twice > Currency::kScale || (twice == Currency::kScale && units % 2 != 0))
        units += raw < 0 ? -1 : 1;
      return units;
    }
    case VariantType::DateTime:
      return RoundToInt64(Get<TDateTime>().value, *this, fs);
    case VariantType::String:
    case VariantType::Blob: {
      int64_t value;
      if (!TryStrToInt(*TextOf(*this), value)) RaiseNotInteger(*TextOf(*this));
      return value;
    }
  }
  return 0;
}

double Variant::AsFloat(const FormatSettings& fs) const {
  switch (Type()) {
    case VariantType::Null:
      return 0;
    case VariantType::Boolean:
      return Get<bool>() ? 1 : 0;
    case VariantType::Integer:
      return static_cast<double>(Get<int64_t>());
    case VariantType::Float:
      return Get<double>();
    case VariantType::Currency:
      return Get<Currency>().ToDouble();
    case VariantType::DateTime:
      return Get<TDateTime>().value;
    case VariantType::String:
    case VariantType::Blob: {
      double value;
      if (!TryStrToFloat(*TextOf(*this), value, fs))
        RaiseClientError("'" + *TextOf(*this) + "' is geen geldig getal");
      return value;
    }
  }
  return 0;
}

Currency Variant::AsCurrency(const FormatSettings& fs) const {
  switch (Type()) {
    case VariantType::Currency:
      return Get<Currency>();
    case VariantType::Integer: {
      detail::Int128 raw = detail::Int128{Get<int64_t>()} * Currency::kScale;
      if (raw > std::numeric_limits<int64_t>::max() || raw < std::numeric_limits<int64_t>::min())
        RaiseClientError("'" + AsString(fs) + "' is geen geldig getal");
      return Currency::FromRaw(static_cast<int64_t>(raw));
    }
    case VariantType::String:
    case VariantType::Blob: {
      Currency value;
      if (!TryStrToCurr(*TextOf(*this), value, fs))
        RaiseClientError("'" + *TextOf(*this) + "' is geen geldig getal");
      return value;
    }
    default:
      return Currency::FromDouble(AsFloat(fs));
  }
}

std::string Variant::AsString(const FormatSettings& fs) const {
  switch (Type()) {
    case VariantType::Null:
      return "";
    case VariantType::Boolean:
      return Get<bool>() ? "True" : "False";
    case VariantType::Integer:
      return IntToStr(Get<int64_t>());
    case VariantType::Float:
      return FloatToStr(Get<double>(), fs);
    case VariantType::Currency:
      return CurrToStr(Get<Currency>(), fs);
    case VariantType::DateTime:
      return DateTimeToStr(Get<TDateTime>(), fs);
    case VariantType::String:
      return Get<std::string>();
    case VariantType::Blob:
      return Get<Blob>().bytes;
  }
  return "";
}

TDateTime Variant::AsDateTime(const FormatSettings& fs) const {
  switch (Type()) {
    case VariantType::Null:
      return TDateTime();
    case VariantType::DateTime:
      return Get<TDateTime>();
    case VariantType::String:
    case VariantType::Blob: {
      TDateTime value;
      if (!TryStrToDateTime(*TextOf(*this), value, fs) && !TryStrToTime(*TextOf(*this), value, fs))
        RaiseClientError("'" + *TextOf(*this) + "' is geen geldige datum");
      return value;
    }
    case VariantType::Boolean:
      RaiseClientError("'" + AsString(fs) + "' is geen geldige datum");
    default: {
      double days = AsFloat(fs);
      if (!std::isfinite(days)) RaiseClientError("'" + AsString(fs) + "' is geen geldige datum");
      return TDateTime(days);
    }
  }
}

bool Variant::AsBoolean() const {
  switch (Type()) {
    case VariantType::Null:
      return false;
    case VariantType::Boolean:
      return Get<bool>();
    case VariantType::Integer:
      return Get<int64_t>() != 0;
    case VariantType::Float:
      return Get<double>() != 0;
    case VariantType::Currency:
      return Get<Currency>().Raw() != 0;
    case VariantType::DateTime:
      return Get<TDateTime>().value != 0;
    case VariantType::String:
    case VariantType::Blob:
      break;
  }
  const std::string& text = *TextOf(*this);
  for (const char* yes : {"+", "True", "T", "1", "Y", "J"})
    if (EqualsIgnoreCase(text, yes)) return true;
  for (const char* no : {"-", "", "False", "0", "F", "N"})
    if (EqualsIgnoreCase(text, no)) return false;
  RaiseClientError("'" + text + "' is geen geldige booleaanse waarde");
}

int CompareVariants(const Variant& a, const Variant& b, bool ignoreCase) {
  VariantType ta = a.Type(), tb = b.Type();
  if (ta == VariantType::Null || tb == VariantType::Null)
    return Sign(ta != VariantType::Null, tb != VariantType::Null);
  // Same-kind fast paths: sorting and locating compare millions of these.
  if (ta == tb) {
    switch (ta) {
      case VariantType::String:
        return CompareText(a.Get<std::string>(), b.Get<std::string>(), ignoreCase);
      case VariantType::Integer:
        return Sign(a.Get<int64_t>(), b.Get<int64_t>());
      case VariantType::DateTime:
        return Sign(a.Get<TDateTime>().value, b.Get<TDateTime>().value);
      default:
        break;
    }
  }
  if (IsNumeric(ta) && IsNumeric(tb)) return CompareNumbers(a, b);
  if (ta == VariantType::Boolean && tb == VariantType::Boolean)
    return Sign(a.Get<bool>(), b.Get<bool>());
  return CompareText(a.AsString(), b.AsString(), ignoreCase);
}

const char* VariantTypeName(VariantType t) {
  switch (t) {
    case VariantType::Null:
      return "Null";
    case VariantType::Boolean:
      return "Boolean";
    case VariantType::Integer:
      return "Integer";
    case VariantType::Float:
      return "Float";
    case VariantType::Currency:
      return "Currency";
    case VariantType::String:
      return "String";
    case VariantType::DateTime:
      return "DateTime";
    case VariantType::Blob:
      return "Blob";
  }
  return "?";
}

}  // namespace quil
