// Decimal digit strings: the common ground of Currency rounding, Format's %f, FormatFloat and the
// number parsers.
//
// A double is read as its 15-significant-digit decimal form before any rounding, so a value the
// user typed as 2.675 rounds as 2.675 and not as the binary 2.67499999... Currency values are
// exact decimals already. Internal to host/base.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quil::detail {

// 128-bit integers for exact products of ten-thousandths (a compiler extension, hence the marker).
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

//! value = 0.digits x 10^pointPos, sign aside. Zero has no digits.
struct Decimal {
  bool negative = false;
  std::string digits;  //!< significant digits, no leading or trailing zeros
  int pointPos = 0;
};

enum class HalfRounding { kEven, kAwayFromZero };

struct RoundedDecimal {
  bool negative = false;  //!< never set for a value that rounded to zero
  std::string intPart;    //!< no leading zeros; empty when the integer part is zero
  std::string fracPart;   //!< exactly the requested number of digits
  bool IsZero() const;
};

//! The 15-significant-digit decimal form of a finite double.
Decimal DecimalFromDouble(double value);
//! The exact decimal form of an integer counting 10^-scaleDigits units.
Decimal DecimalFromScaled(int64_t scaled, int scaleDigits);
RoundedDecimal RoundDecimal(const Decimal& value, int fracDigits, HalfRounding halves);
//! Optional sign, digits with at most one decimal separator, optional exponent (e or E, signed).
//! No blanks, no thousand separators; at least one digit before the exponent.
bool ParseDecimal(std::string_view text, char decimalSeparator, Decimal& out);
//! intPart and fracPart read as one integer of 10^-fracPart.size() units; false on overflow.
bool ScaledFromRounded(const RoundedDecimal& value, int64_t& out);

}  // namespace quil::detail
