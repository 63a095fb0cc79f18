// Variant: one value as it lives in a dataset field, a parameter or job data.
//
// A Variant is null or holds exactly one of bool, int64, double, Currency, UTF-8 text,
// TDateTime or a blob. The As* conversions follow the host dataset rules: null reads as 0, "",
// false or day 0; text is parsed with the given FormatSettings, and text that does not parse
// raises EClientError naming the value (a conversion never has undefined behaviour).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "host/base/Currency.h"
#include "host/base/DateTime.h"
#include "host/base/FormatSettings.h"

namespace quil {

//! Binary content (memo or blob columns); kept apart from text so that it is never reformatted.
struct Blob {
  std::string bytes;
  bool operator==(const Blob&) const = default;
};

enum class VariantType { Null, Boolean, Integer, Float, Currency, String, DateTime, Blob };

class Variant {
 public:
  Variant() = default;
  Variant(std::nullptr_t) {}
  Variant(bool v) : v_(v) {}
  Variant(int v) : v_(int64_t{v}) {}
  Variant(long v) : v_(int64_t{v}) {}
  Variant(long long v) : v_(int64_t{v}) {}
  Variant(double v) : v_(v) {}
  Variant(Currency v) : v_(v) {}
  Variant(TDateTime v) : v_(v) {}
  Variant(const char* v) : v_(std::string(v)) {}
  Variant(std::string v) : v_(std::move(v)) {}
  Variant(std::string_view v) : v_(std::string(v)) {}
  Variant(Blob v) : v_(std::move(v)) {}

  VariantType Type() const { return static_cast<VariantType>(v_.index()); }
  bool IsNull() const { return v_.index() == 0; }

  int32_t AsInteger(const FormatSettings& fs = DefaultFormatSettings()) const;
  int64_t AsLargeInt(const FormatSettings& fs = DefaultFormatSettings()) const;
  double AsFloat(const FormatSettings& fs = DefaultFormatSettings()) const;
  Currency AsCurrency(const FormatSettings& fs = DefaultFormatSettings()) const;
  //! Text form: numbers with the decimal separator, dates in the short date format (with the
  //! time when there is one), booleans "True"/"False".
  std::string AsString(const FormatSettings& fs = DefaultFormatSettings()) const;
  TDateTime AsDateTime(const FormatSettings& fs = DefaultFormatSettings()) const;
  //! Text "+", "True", "T", "1", "Y", "J" (any case) are true; "-", "", "False", "0" false.
  bool AsBoolean() const;
  const Blob* AsBlob() const { return std::get_if<Blob>(&v_); }

  //! Direct access for callers that switched on Type().
  template <class T>
  const T& Get() const { return std::get<T>(v_); }

  //! Same type and same value; null equals only null. Used by change tracking.
  bool operator==(const Variant& o) const { return v_ == o.v_; }

 private:
  std::variant<std::monostate, bool, int64_t, double, Currency, std::string, TDateTime, Blob> v_;
};

//! Three-way comparison across numeric kinds (integer, float, currency, date compare by value),
//! text by bytes (or case-insensitively), booleans false < true. Null sorts before everything.
//! Values of unrelated kinds compare by their text form.
int CompareVariants(const Variant& a, const Variant& b, bool ignoreCase = false);

const char* VariantTypeName(VariantType t);

}  // namespace quil
