#include "host/base/Variant.h"

#include <gtest/gtest.h>

#include "host/base/Errors.h"
#include "host/base/IDList.h"

namespace quil {
namespace {

TEST(VariantTest, NullReadsAsEmpty) {
  Variant null;
  EXPECT_EQ(null.AsInteger(), 0);
  EXPECT_EQ(null.AsFloat(), 0);
  EXPECT_EQ(null.AsCurrency(), Currency());
  EXPECT_EQ(null.AsString(), "");
  EXPECT_FALSE(null.AsBoolean());
  EXPECT_EQ(null.AsDateTime().value, 0);
}

TEST(VariantTest, Conversions) {
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
  EXPECT_EQ(Variant(Currency::FromDouble(2.5)).AsInteger(), 2);
  EXPECT_EQ(Variant(Currency::FromDouble(-3.5)).AsInteger(), -4);
  EXPECT_EQ(Variant(Currency::FromDouble(2.5001)).AsInteger(), 3);
  EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
  EXPECT_EQ(Variant("$1A").AsInteger(), 26);
  EXPECT_EQ(Variant("36,79").AsCurrency().Raw(), 367900);
  EXPECT_EQ(Variant(7).AsCurrency(), Currency(7));
  EXPECT_EQ(Variant(0.00025).AsCurrency().Raw(), 2);
  EXPECT_EQ(Variant("01/09/2025").AsDateTime().value, 45901);
  EXPECT_EQ(Variant(2.5).AsString(), "2,5");
  EXPECT_EQ(Variant(true).AsString(), "True");
  EXPECT_EQ(Variant(Currency(3)).AsString(), "3");
  EXPECT_EQ(Variant(TDateTime(45901)).AsString(), "01/09/2025");
  EXPECT_EQ(Variant(TDateTime(45901.75)).AsString(), "01/09/2025 18:00:00");
  for (const char* yes : {"+", "true", "T", "1", "y", "J"}) EXPECT_TRUE(Variant(yes).AsBoolean());
  for (const char* no : {"-", "", "FALSE", "0"}) EXPECT_FALSE(Variant(no).AsBoolean());
}

TEST(VariantTest, TextThatDoesNotConvertNamesTheValue) {
  struct Case {
    const char* what;
    void (*convert)();
    const char* message;
  } cases[] = {
      {"integer", [] { Variant("abc").AsInteger(); }, "'abc' is geen geldig geheel getal"},
      {"float", [] { Variant("abc").AsFloat(); }, "'abc' is geen geldig getal"},
      {"currency", [] { Variant("abc").AsCurrency(); }, "'abc' is geen geldig getal"},
      {"date", [] { Variant("abc").AsDateTime(); }, "'abc' is geen geldige datum"},
      {"date 31/02", [] { Variant("31/02/2025").AsDateTime(); },
       "'31/02/2025' is geen geldige datum"},
      {"int32 range", [] { Variant(int64_t{1} << 40).AsInteger(); },
       "'1099511627776' is geen geldig geheel getal"},
      {"huge double", [] { Variant(1e300).AsLargeInt(); }, "'1E300' is geen geldig geheel getal"},
  };
  for (const Case& c : cases) {
    try {
      c.convert();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.what;
    }
  }
}

TEST(VariantTest, CompareAcrossKinds) {
  struct Case {
    Variant a;
    Variant b;
    int expected;
    bool ignoreCase = false;
  } cases[] = {
      {Variant(), Variant(), 0},
      {Variant(), Variant(int64_t{-5}), -1},
      {Variant(""), Variant(), 1},
      {Variant(2), Variant(Currency(2)), 0},
      {Variant(Currency::FromRaw(20001)), Variant(2), 1},
      {Variant(2.5), Variant(Currency::FromDouble(2.5)), 0},
      {Variant(TDateTime(45901)), Variant(45900), 1},
      {Variant(int64_t{9007199254740993}), Variant(int64_t{9007199254740992}), 1},
      {Variant(false), Variant(true), -1},
      {Variant("abc"), Variant("ABD"), 1},
      {Variant("abc"), Variant("ABD"), -1, true},
      {Variant("ABC"), Variant("abc"), 0, true},
      {Variant("10"), Variant(9), -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareVariants(c.a, c.b, c.ignoreCase), c.expected)
        << c.a.AsString() << " vs " << c.b.AsString();
  }
}

TEST(IDListTest, JoinsWithoutBlanks) {
  TIDList ids;
  EXPECT_EQ(ids.GetAsString(), "");
  for (int64_t id : {12, 7, 30}) ids.Add(id);
  EXPECT_EQ(ids.GetAsString(), "12,7,30");
  EXPECT_TRUE(ids.Contains(7));
  EXPECT_FALSE(ids.Contains(8));
}

}  // namespace
}  // namespace quil
