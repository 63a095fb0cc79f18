#include "host/base/Currency.h"

#include <gtest/gtest.h>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"

namespace quil {
namespace {

Currency Raw(int64_t raw) {
  return Currency::FromRaw(raw);
}

TEST(CurrencyTest, FromDoubleRoundsTheDecimalFormHalvesToEven) {
  struct Case {
    double value;
    int64_t raw;
  } cases[] = {
      {0.00025, 2},
      {0.00035, 4},
      {-0.00025, -2},
      {0.000251, 3},
      {1.23455, 12346},
      {1.23465, 12346},
      {2.675, 26750},
      {36.8, 368000},
      {0.1 + 0.2, 3000},
      {-36.79, -367900},
      {1e14, 1000000000000000000},
  };
  for (const Case& c : cases) EXPECT_EQ(Currency::FromDouble(c.value).Raw(), c.raw) << c.value;
}

TEST(CurrencyTest, ProductsAndQuotientsRoundOnceHalvesToEven) {
  struct Case {
    const char* what;
    Currency result;
    int64_t raw;
  } cases[] = {
      {"half of 0.0003", Raw(3) / Currency(2), 2},
      {"half of 0.0001", Raw(1) / int64_t{2}, 0},
      {"half of -0.0003", Raw(-3) / Currency(2), -2},
      {"half of 0.0005", Raw(5) * Currency::FromDouble(0.5), 2},
      {"0.0007 x 0.5", Raw(7) * Currency::FromDouble(0.5), 4},
      {"1 / 3", Currency(1) / Currency(3), 3333},
      {"2 / 3", Currency(2) / Currency(3), 6667},
      {"-2 / 3", Currency(-2) / Currency(3), -6667},
      {"0.0001 x 0.5 as double", Raw(1) * 0.5, 0},
      {"0.0003 / 2.0", Raw(3) / 2.0, 2},
      {"1.5 x 1.5", Currency::FromDouble(1.5) * Currency::FromDouble(1.5), 22500},
      {"large exact product", Currency(3000000) * Currency(3000000), 9000000000000LL * 10000},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result.Raw(), c.raw) << c.what;
}

TEST(CurrencyTest, DivisionByZeroIsAClientError) {
  for (auto divide :
       {+[] { return Currency(1) / Currency(0); }, +[] { return Currency(1) / int64_t{0}; },
        +[] { return Currency(1) / 0.0; }}) {
    try {
      divide();
      ADD_FAILURE() << "no error";
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), "Deling door nul");
    }
  }
}

TEST(CurrencyTest, OverflowIsAnErrorNotAWrap) {
  Currency big = Raw(std::numeric_limits<int64_t>::max() / 2);
  EXPECT_THROW(big * Currency(3), EClientError);
  EXPECT_THROW(Currency::FromDouble(1e300), EClientError);
}

// How a lesson-time check measures planned against required hours: planned / required * 100 in
// currency, compared with the bounds 92 and 100, shown with "%5.2f".
TEST(CurrencyTest, PercentageAtTheBoundsOfALessonTimeCheck) {
  struct Case {
    double planned;
    int required;
    const char* shown;
    bool belowMinimum;
    bool aboveMaximum;
  } cases[] = {
      {36.8, 40, "92,00", false, false},
      {36.79, 40, "91,98", true, false},
      {40, 40, "100,00", false, false},
      {40.01, 40, "100,02", false, true},
      {92, 100, "92,00", false, false},
      // The quotient is rounded to four decimals before the * 100: 0.919999 is 0.9200.
      {91.9999, 100, "92,00", false, false},
      {91.995, 100, "92,00", false, false},
      {91.985, 100, "91,98", true, false},
      {100.0001, 100, "100,00", false, false},
      {100.005, 100, "100,00", false, false},
      {100.015, 100, "100,02", false, true},
  };
  for (const Case& c : cases) {
    Currency planned = Currency::FromDouble(c.planned);
    Currency percentage = planned / Currency(c.required) * Currency(100);
    EXPECT_EQ(Format("%5.2f", percentage), c.shown) << c.planned;
    EXPECT_EQ(percentage < Currency(92), c.belowMinimum) << c.planned;
    EXPECT_EQ(percentage > Currency(100), c.aboveMaximum) << c.planned;
  }
  EXPECT_EQ(Currency(92) * int64_t{100} / int64_t{100}, Currency(92));
  EXPECT_EQ(
      Format("%5.2f", Currency(40) * int64_t{92} / int64_t{100} - Currency::FromDouble(36.79)),
      " 0,01");
  EXPECT_EQ(FormatCurr("0.00", Currency(92) * Currency(100) / Currency(100)), "92,00");
}

}  // namespace
}  // namespace quil
