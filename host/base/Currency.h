// Currency: the host's fixed-point decimal for hours, lesson times and money.
//
// A value is a 64-bit integer counting ten-thousandths, so sums and differences are exact.
// Conversion from a double and every multiplication or division rounds to four decimals with
// halves going to the even neighbour (half of 0.0003 is 0.0002). Values are plain data: cheap to
// copy, no shared state, safe to use from any thread.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace quil {

class Currency {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr Currency() = default;
  //! Whole units: Currency(3) is 3.0000.
  constexpr Currency(int units) : raw_(int64_t{units} * kScale) {}
  static constexpr Currency FromRaw(int64_t raw) {
    Currency c;
    c.raw_ = raw;
    return c;
  }
  //! Rounds to four decimals, halves to even.
  static Currency FromDouble(double value);

  constexpr int64_t Raw() const { return raw_; }
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }
  //! Truncates toward zero, as an integer conversion of the value does.
  constexpr int64_t Trunc() const { return raw_ / kScale; }

  constexpr Currency operator+(Currency o) const { return FromRaw(raw_ + o.raw_); }
  constexpr Currency operator-(Currency o) const { return FromRaw(raw_ - o.raw_); }
  constexpr Currency operator-() const { return FromRaw(-raw_); }
  Currency& operator+=(Currency o) { raw_ += o.raw_; return *this; }
  Currency& operator-=(Currency o) { raw_ -= o.raw_; return *this; }
  Currency operator*(Currency o) const;
  Currency operator*(int64_t factor) const;
  Currency operator*(int factor) const { return *this * int64_t{factor}; }
  Currency operator*(double factor) const;
  //! Division by zero throws EClientError("Deling door nul").
  Currency operator/(Currency o) const;
  Currency operator/(int64_t divisor) const;
  Currency operator/(int divisor) const { return *this / int64_t{divisor}; }
  Currency operator/(double divisor) const;

  constexpr auto operator<=>(const Currency&) const = default;

 private:
  int64_t raw_ = 0;
};

}  // namespace quil
