// Currency arithmetic. Products and quotients of currencies and integers are computed exactly in
// 128 bits and rounded once to four decimals, halves to the even neighbour. The double overloads
// compute in double and round the result's 15-digit decimal form the same way.
#include "host/base/Currency.h"

#include <cmath>
#include <limits>

#include "host/base/DecimalText.h"
#include "host/base/Errors.h"

namespace quil {
namespace {

using detail::Int128;

[[noreturn]] void RaiseOverflow() {
  RaiseClientError("Getal buiten bereik");
}

int64_t CheckedRaw(Int128 value) {
  if (value > std::numeric_limits<int64_t>::max() || value < std::numeric_limits<int64_t>::min())
    RaiseOverflow();
  return static_cast<int64_t>(value);
}

//! numerator / denominator rounded to the nearest integer, halves to even.
Int128 DivideHalfEven(Int128 numerator, Int128 denominator) {
  Int128 quotient = numerator / denominator;
  Int128 remainder = numerator % denominator;
  if (remainder == 0) return quotient;
  Int128 twiceRemainder = remainder < 0 ? -2 * remainder : 2 * remainder;
  Int128 absDenominator = denominator < 0 ? -denominator : denominator;
  bool awayFromZero =
      twiceRemainder > absDenominator || (twiceRemainder == absDenominator && quotient % 2 != 0);
  if (awayFromZero) quotient += ((numerator < 0) != (denominator < 0)) ? -1 : 1;
  return quotient;
}

//! A double through its 15-digit decimal form, rounded to four decimals with halves to even.
int64_t RawFromDouble(double value) {
  if (!std::isfinite(value)) RaiseOverflow();
  int64_t raw = 0;
  if (!detail::ScaledFromRounded(
          detail::RoundDecimal(detail::DecimalFromDouble(value), 4, detail::HalfRounding::kEven),
          raw))
    RaiseOverflow();
  return raw;
}

}  // namespace

Currency Currency::FromDouble(double value) {
  // Rounding the decimal form and not value * 10000 keeps 0.00025 a half (binary 0.00025 is a
  // hair above it), so it goes to the even 0.0002 as a reader of the value expects.
  return FromRaw(RawFromDouble(value));
}

Currency Currency::operator*(Currency o) const {
  return FromRaw(CheckedRaw(DivideHalfEven(Int128{raw_} * o.raw_, kScale)));
}

Currency Currency::operator*(int64_t factor) const {
  return FromRaw(CheckedRaw(Int128{raw_} * factor));
}

Currency Currency::operator*(double factor) const {
  return FromRaw(RawFromDouble(ToDouble() * factor));
}

Currency Currency::operator/(Currency o) const {
  if (o.raw_ == 0) RaiseClientError("Deling door nul");
  return FromRaw(CheckedRaw(DivideHalfEven(Int128{raw_} * kScale, o.raw_)));
}

Currency Currency::operator/(int64_t divisor) const {
  if (divisor == 0) RaiseClientError("Deling door nul");
  return FromRaw(CheckedRaw(DivideHalfEven(raw_, divisor)));
}

Currency Currency::operator/(double divisor) const {
  if (divisor == 0) RaiseClientError("Deling door nul");
  return FromRaw(RawFromDouble(ToDouble() / divisor));
}

}  // namespace quil
