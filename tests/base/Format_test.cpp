#include <gtest/gtest.h>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"

namespace quil {
namespace {

TEST(FormatTest, Directives) {
  struct Case {
    std::string actual;
    const char* expected;
  } cases[] = {
      {Format("%5.2f", 3.14159), " 3,14"},
      {Format("%5.2f", 123.456), "123,46"},
      {Format("%-6.1f|", 2.25), "2,3   |"},
      {Format("%f", 2.0), "2,00"},
      {Format("%.2f", 2.675), "2,68"},
      {Format("%.2f", 2.665), "2,67"},
      {Format("%.2f", -2.675), "-2,68"},
      {Format("%.2f", -0.001), "0,00"},
      {Format("%.0f", 0.5), "1"},
      {Format("%.3f", Currency::FromRaw(1234565)), "123,456"},
      {Format("%.3f", Currency::FromRaw(1234575)), "123,458"},
      {Format("%.2f", 7), "7,00"},
      {Format("%.10x", 255), "00000000FF"},
      {Format("%x", 0xabc), "ABC"},
      {Format("%.4d", 2025), "2025"},
      {Format("%.4d", 7), "0007"},
      {Format("%.4d", -7), "-0007"},
      {Format("%5d|%-5d|", 42, 42), "   42|42   |"},
      {Format("%s en %s", "één", 3.5), "één en 3,5"},
      {Format("%6s|%-6s|", "één", "ab"), "   één|ab    |"},
      {Format("%.2s", "één"), "éé"},
      {Format("%s", Currency::FromDouble(2.5)), "2,5"},
      {Format("(VOM_CODE LIKE '%%%s%%')", "AB"), "(VOM_CODE LIKE '%AB%')"},
      {Format("%d", 1, "extra"), "1"},
      {Format("geen"), "geen"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(FormatTest, MismatchRaisesAnErrorNamingTheFormat) {
  struct Case {
    const char* what;
    std::string (*format)();
  } cases[] = {
      {"%d of a double", [] { return Format("Er zijn %d uren", 2.5); }},
      {"%d of text", [] { return Format("Er zijn %d uren", "twee"); }},
      {"%x of a currency", [] { return Format("Er zijn %x uren", Currency(2)); }},
      {"%f of text", [] { return Format("Er zijn %f uren", "2"); }},
      {"too few arguments", [] { return Format("Er zijn %d uren van %d", 2); }},
      {"unknown directive", [] { return Format("Er zijn %q uren", 2); }},
      {"lone percent at the end", [] { return Format("Er zijn uren %", 2); }},
  };
  for (const Case& c : cases) {
    try {
      c.format();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EClientError& e) {
      EXPECT_NE(std::string(e.what()).find("\"Er zijn "), std::string::npos) << e.what();
    }
  }
}

TEST(FormatTest, NumberPatterns) {
  FormatSettings en;
  en.DecimalSeparator = '.';
  en.ThousandSeparator = ',';
  struct Case {
    std::string actual;
    const char* expected;
  } cases[] = {
      {FormatFloat("0.##", 0), "0"},
      {FormatFloat("0.##", 2.5), "2,5"},
      {FormatFloat("0.##", 150.5), "150,5"},
      {FormatFloat("0.##", 3), "3"},
      {FormatFloat("0.##", 2.675), "2,68"},
      {FormatFloat("0.##", -0.004), "0"},
      {FormatFloat("#.##", 0), ""},
      {FormatFloat("#.##", 0.5), ",5"},
      {FormatFloat("#.##", 12.345), "12,35"},
      {FormatFloat("0.00", 2), "2,00"},
      {FormatFloat("0.00", -1.005), "-1,01"},
      {FormatFloat("#,##0.00", 1234567.891), "1.234.567,89"},
      {FormatFloat("#,##0.00", 12.5), "12,50"},
      {FormatFloat("#,##0.00", 1234.5, en), "1,234.50"},
      {FormatFloat("000", 7), "007"},
      {FormatFloat("0.0 'uur'", 1.25), "1,3 uur"},
      {FormatFloat("0.0;(0.0);nul", -1.25), "(1,3)"},
      {FormatFloat("0.0;(0.0);nul", 0.01), "nul"},
      {FormatCurr("0.00", Currency::FromRaw(1234565)), "123,46"},
      {FormatCurr("0.00", Currency::FromRaw(1234550)), "123,46"},
      {FormatCurr("0.00", Currency::FromRaw(1234450)), "123,44"},
      {FormatCurr("#.##", Currency()), ""},
      {FormatCurr("0.##", Currency(100)), "100"},
      {FloatToStr(2.5), "2,5"},
      {FloatToStr(3), "3"},
      {FloatToStr(0.1 + 0.2), "0,3"},
      {FloatToStr(-0.0001), "-0,0001"},
      {FloatToStr(1.5e20), "1,5E20"},
      {CurrToStr(Currency::FromRaw(-1)), "-0,0001"},
      {CurrToStr(Currency::FromRaw(std::numeric_limits<int64_t>::min())), "-922337203685477,5808"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

}  // namespace
}  // namespace quil
