// Storage forms of dates, times and decimals, and field types from declared column types.
#include <gtest/gtest.h>

#include "ServerTestUtil.h"

namespace quil::server::testing {
namespace {

TEST(ValueCodecTest, DeclaredTypesGiveFieldTypes) {
  struct Case {
    const char* declared;
    FieldType type;
    int size, scale;
  };
  const Case cases[] = {
      {"INTEGER", FieldType::Integer, 0, 0}, {"smallint", FieldType::Integer, 0, 0},
      {"BIGINT", FieldType::LargeInt, 0, 0}, {"VARCHAR(50)", FieldType::String, 50, 0},
      {"CHAR(1)", FieldType::String, 1, 0},  {"NUMERIC(9, 3)", FieldType::Currency, 9, 3},
      {"TEXT", FieldType::Memo, 0, 0},       {"DATE", FieldType::Date, 0, 0},
      {"TIME", FieldType::Time, 0, 0},       {"TIMESTAMP", FieldType::DateTime, 0, 0},
      {"REAL", FieldType::Float, 0, 0}};
  for (const Case& c : cases) {
    FieldDef def;
    ASSERT_TRUE(FieldDefFromDeclType(c.declared, def)) << c.declared;
    EXPECT_EQ(def.type, c.type) << c.declared;
    EXPECT_EQ(def.size, c.size) << c.declared;
    EXPECT_EQ(def.scale, c.scale) << c.declared;
  }
  FieldDef def;
  EXPECT_FALSE(FieldDefFromDeclType("", def));
  EXPECT_FALSE(FieldDefFromDeclType("JSON", def));
}

TEST(ValueCodecTest, DateTextsRoundTrip) {
  const char* const texts[] = {"2025-09-01", "1899-12-30", "2000-02-29", "2999-12-31"};
  for (const char* text : texts) {
    TDateTime date;
    ASSERT_TRUE(SqlToDateTime(text, date)) << text;
    EXPECT_EQ(DateToSql(date), text);
  }
  TDateTime moment;
  ASSERT_TRUE(SqlToDateTime("2025-09-01 18:30:15", moment));
  EXPECT_EQ(DateTimeToSql(moment), "2025-09-01 18:30:15");
  ASSERT_TRUE(SqlToDateTime("21:30:00", moment));
  EXPECT_EQ(TimeToSql(moment), "21:30:00");
  for (const char* bad : {"", "2025-02-30", "01/09/2025", "2025-09-01x", "25:00:00", "12:3"}) {
    EXPECT_FALSE(SqlToDateTime(bad, moment)) << bad;
  }
}

TEST(ValueCodecTest, DecimalTextsAreReadExactlyAndRoundHalfToEven) {
  const std::pair<const char*, int64_t> cases[] = {
      {"12.5", 125000}, {"-0.35", -3500}, {"7", 70000},       {"0.00005", 0},
      {"0.00015", 2},   {"0.000151", 2},  {"1.23456", 12346}, {"-1.00025", -10002}};
  for (const auto& [text, raw] : cases) {
    Currency value;
    ASSERT_TRUE(SqlToCurrency(text, value)) << text;
    EXPECT_EQ(value.Raw(), raw) << text;
  }
  Currency value;
  EXPECT_FALSE(SqlToCurrency("12,5", value));
  EXPECT_FALSE(SqlToCurrency("", value));
}

}  // namespace
}  // namespace quil::server::testing
