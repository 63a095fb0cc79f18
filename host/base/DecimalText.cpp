#include "host/base/DecimalText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace quil::detail {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

void Normalise(Decimal& value) {
  size_t leading = value.digits.find_first_not_of('0');
  if (leading == std::string::npos) {
    value.digits.clear();
    value.pointPos = 0;
    value.negative = false;
    return;
  }
  value.digits.erase(0, leading);
  value.pointPos -= static_cast<int>(leading);
  value.digits.erase(value.digits.find_last_not_of('0') + 1);
}

//! Adds one unit in the last place of a digit string; may grow it by a leading '1'.
void Increment(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits = '1' + digits;
}

}  // namespace

bool RoundedDecimal::IsZero() const {
  return intPart.empty() && fracPart.find_first_not_of('0') == std::string::npos;
}

Decimal DecimalFromDouble(double value) {
  Decimal result;
  if (value == 0 || !std::isfinite(value)) return result;
  char buffer[40];
  // "d.dddddddddddddde+XX": 15 significant digits.
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::abs(value),
                                 std::chars_format::scientific, 14);
  std::string_view text(buffer, end - buffer);
  size_t exponentAt = text.find('e');
  result.negative = value < 0;
  result.digits.push_back(text[0]);
  result.digits.append(text.substr(2, exponentAt - 2));
  int exponent = 0;
  std::string_view exponentText = text.substr(exponentAt + 1);
  if (exponentText.front() == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  result.pointPos = exponent + 1;
  Normalise(result);
  return result;
}

Decimal DecimalFromScaled(int64_t scaled, int scaleDigits) {
  Decimal result;
  result.negative = scaled < 0;
  // Through unsigned so that the most negative value has a magnitude too.
  uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : scaled;
  result.digits = std::to_string(magnitude);
  result.pointPos = static_cast<int>(result.digits.size()) - scaleDigits;
  Normalise(result);
  return result;
}

RoundedDecimal RoundDecimal(const Decimal& value, int fracDigits, HalfRounding halves) {
  RoundedDecimal result;
  int keep = value.pointPos + fracDigits;  // digits of `value.digits` that survive
  std::string kept;
  if (keep > 0) {
    kept = value.digits.substr(0, std::min<size_t>(keep, value.digits.size()));
    kept.append(keep - kept.size(), '0');
  }
  if (keep >= 0 && static_cast<size_t>(keep) < value.digits.size()) {
    char next = value.digits[keep];
    // Digits are normalised, so anything after `next` is non-zero exactly when there is any.
    bool moreAfter = static_cast<size_t>(keep) + 1 < value.digits.size();
    bool keptOdd = !kept.empty() && (kept.back() - '0') % 2 != 0;
    bool up = next > '5' ||
              (next == '5' && (moreAfter || halves == HalfRounding::kAwayFromZero || keptOdd));
    if (up) {
      if (kept.empty()) kept.push_back('0');
      Increment(kept);
    }
  }
  if (kept.size() < static_cast<size_t>(fracDigits))
    kept = std::string(fracDigits - kept.size(), '0') + kept;
  result.intPart = kept.substr(0, kept.size() - fracDigits);
  result.fracPart = kept.substr(kept.size() - fracDigits);
  size_t leading = result.intPart.find_first_not_of('0');
  result.intPart.erase(0, leading == std::string::npos ? result.intPart.size() : leading);
  result.negative = value.negative && !result.IsZero();
  return result;
}

bool ParseDecimal(std::string_view text, char decimalSeparator, Decimal& out) {
  Decimal result;
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    result.negative = text[pos] == '-';
    ++pos;
  }
  int digitsBeforePoint = 0;
  bool seenPoint = false;
  bool anyDigit = false;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (IsDigit(c)) {
      anyDigit = true;
      result.digits.push_back(c);
      if (!seenPoint) ++digitsBeforePoint;
    } else if (c == decimalSeparator && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return false;
  int exponent = 0;
  if (pos < text.size()) {
    if (text[pos] != 'e' && text[pos] != 'E') return false;
    ++pos;
    bool negativeExponent = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
      negativeExponent = text[pos] == '-';
      ++pos;
    }
    if (pos == text.size()) return false;
    for (; pos < text.size(); ++pos) {
      if (!IsDigit(text[pos])) return false;
      // Far beyond any representable value; keeps the arithmetic below from overflowing.
      if (exponent > 9999) return false;
      exponent = exponent * 10 + (text[pos] - '0');
    }
    if (negativeExponent) exponent = -exponent;
  }
  result.pointPos = digitsBeforePoint + exponent;
  Normalise(result);
  out = result;
  return true;
}

bool ScaledFromRounded(const RoundedDecimal& value, int64_t& out) {
  UInt128 magnitude = 0;
  for (char c : value.intPart + value.fracPart) {
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > static_cast<UInt128>(std::numeric_limits<int64_t>::max()) + 1) return false;
  }
  if (!value.negative) {
    if (magnitude > static_cast<UInt128>(std::numeric_limits<int64_t>::max())) return false;
    out = static_cast<int64_t>(magnitude);
  } else {
    out = static_cast<int64_t>(0 - static_cast<uint64_t>(magnitude));
  }
  return true;
}

}  // namespace quil::detail
