// Filter expressions run against a small fixed table: each case lists the ids of the rows that
// pass, so one string shows the whole outcome of a filter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/base/Errors.h"
#include "host/data/FilterExpression.h"
#include "host/data/FilterParser.h"
#include "host/data/LikeMatcher.h"

namespace quil {
namespace {

class TableSchema : public IFilterSchema {
 public:
  explicit TableSchema(const DataPacket& packet) : packet_(packet) {}
  int FilterFieldIndex(std::string_view name) const override { return packet_.FieldIndex(name); }
  FieldType FilterFieldType(int index) const override { return packet_.fields[index].type; }

 private:
  const DataPacket& packet_;
};

// Odd columns come through the scratch value, as calculated and lookup fields do.
class RowRecord : public IFilterRecord {
 public:
  explicit RowRecord(const Row& row) : row_(row) {}
  const Variant& FilterValue(int index, Variant& scratch) const override {
    if (index % 2 == 0) return row_[index];
    scratch = row_[index];
    return scratch;
  }

 private:
  const Row& row_;
};

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
  return EncodeDate(year, month, day) + EncodeTime(hour, minute).value;
}

DataPacket Lessons() {
  DataPacket p;
  p.fields = {{"ID", FieldType::Integer},
              {"VOM_CODE", FieldType::String},
              {"VOM_OMSCHRIJVING", FieldType::String},
              {"FK", FieldType::Integer},
              {"DATUM", FieldType::DateTime},
              {"AFGELAST", FieldType::Boolean},
              {"GEANN", FieldType::String},
              {"VO_CODE", FieldType::String},
              {"VAN", FieldType::Date},
              {"BEDRAG", FieldType::Currency},
              {"UUR", FieldType::Float},
              {"NR", FieldType::LargeInt},
              {"UUR_VAN", FieldType::Time}};
  const Variant null;
  p.rows = {
      {1, "AB1", "Nederlands basis", 12, At(2025, 9, 1), false, "-", "25", At(2025, 9, 1),
       Currency::FromDouble(12.5), 1.5, int64_t{9007199254740993}, EncodeTime(8, 30)},
      {2, "xab", "Frans élémentaire", 14, At(2025, 8, 31, 23, 59), true, "+", "31", At(2026, 1, 31),
       Currency(0), 2.0, int64_t{9007199254740992}, EncodeTime(13, 0)},
      {3, "CD", "Wiskunde ÉCOLE", 13, At(2025, 9, 2, 10), null, "", "A25", null, null, null, 3,
       null},
      {4, null, "", null, null, false, null, "", At(2025, 8, 31), Currency(-3), 0.25, null, null},
      {5, "c'd_1", "100% zeker", 3, At(2024, 1, 1), true, "True", "221", At(2024, 1, 1),
       Currency(1), 3.0, 5, null},
  };
  return p;
}

std::string PassingIds(std::string_view filter, const FilterOptions& options = {},
                       const FormatSettings& fs = DefaultFormatSettings()) {
  const DataPacket table = Lessons();
  const TableSchema schema(table);
  const auto compiled = CompileFilter(filter, schema, options, fs);
  std::string ids;
  for (const Row& row : table.rows) {
    if (!compiled->Matches(RowRecord(row))) continue;
    if (!ids.empty()) ids += ",";
    ids += row[0].AsString();
  }
  return ids;
}

struct FilterCase {
  const char* filter;
  const char* ids;
};

void ExpectRows(const std::vector<FilterCase>& cases, const FilterOptions& options = {}) {
  for (const FilterCase& c : cases) {
    EXPECT_EQ(PassingIds(c.filter, options), c.ids) << c.filter;
  }
}

TEST(FilterExpression, Comparisons) {
  ExpectRows({
      {"FK = 12", "1"},
      {"FK <> 12", "2,3,5"},
      {"FK < 13", "1,5"},
      {"FK <= 13", "1,3,5"},
      {"FK > 13", "2"},
      {"FK >= 13", "2,3"},
      {"13 > FK", "1,5"},
      {"12 = fk", "1"},
      {"UUR = 1.5", "1"},
      {"UUR > -1", "1,2,4,5"},
      {"BEDRAG = 12.5", "1"},
      {"BEDRAG < 0", "4"},
      {"NR = 9007199254740993", "1"},
      {"VOM_CODE = 'ab1'", "1"},
      {"VOM_CODE > 'c'", "2,3,5"},
      {"VOM_OMSCHRIJVING = ''", "4"},
      {"FK = NULL", ""},
      {"ID = NR", "3,5"},
      {"1 = 1", "1,2,3,4,5"},
      // Two-character operators without blanks around them; tabs and line breaks are blanks.
      {"FK<>12", "2,3,5"},
      {"FK!=12", "2,3,5"},
      {"FK<=13", "1,3,5"},
      {"FK>=13", "2,3"},
      {"FK\t=\r\n12", "1"},
  });
}

TEST(FilterParser, AStringMayEndTheTextWhateverFollowsInMemory) {
  // The text is a view: a quote right after it is not part of the filter.
  const std::string buffer = "VOM_CODE = 'ab1''";
  const auto tree = ParseFilter(std::string_view(buffer).substr(0, buffer.size() - 1));
  ASSERT_EQ(tree->kind, FilterNodeKind::Compare);
  EXPECT_EQ(tree->children[1]->text, "ab1");
}

TEST(FilterExpression, LogicAndPrecedence) {
  ExpectRows({
      {"FK=12 OR FK=14", "1,2"},
      {"(FK=12) AND (GEANN = '-') AND (VOM_CODE = 'AB1')", "1"},
      {"FK = 12 OR FK = 14 AND AFGELAST = FALSE", "1"},
      {"(FK = 12 OR FK = 14) AND AFGELAST = TRUE", "2"},
      {"NOT (FK = 12)", "2,3,4,5"},
      {"not FK = 12 and ID < 4", "2,3"},
      {"NOT NOT (FK = 12)", "1"},
      {"1 = 2 OR FK = 3", "5"},
      {"(((FK = 3)))", "5"},
      {"FK = 3 OR 1 = 1", "1,2,3,4,5"},
      {"FK = 3 AND 1 = 2", ""},
      {"FALSE OR FK = 3", "5"},
      {"TRUE AND NOT FALSE AND FK = 3", "5"},
  });
}

TEST(FilterExpression, Like) {
  ExpectRows({
      {"VOM_CODE LIKE '%ab%'", "1,2"},
      {"VOM_CODE LIKE 'ab%'", "1"},
      {"VOM_CODE LIKE '%ab'", "2"},
      {"VOM_CODE LIKE 'cd'", "3"},
      {"VOM_CODE LIKE 'c_'", "3"},
      {"VOM_CODE LIKE 'c%_1'", "5"},
      {"VOM_CODE LIKE 'c''d%'", "5"},
      {"VOM_CODE LIKE '%'", "1,2,3,5"},
      {"VOM_CODE LIKE '%%b%%'", "1,2"},
      {"VOM_CODE NOT LIKE '%ab%'", "3,5"},
      {"VOM_OMSCHRIJVING LIKE '100%'", "5"},
      {"VOM_OMSCHRIJVING LIKE '%ÉLÉ%'", "2"},
      {"VOM_OMSCHRIJVING LIKE '%école'", "3"},
      {"VOM_OMSCHRIJVING LIKE 'frans _l_mentaire'", "2"},
      {"VOM_OMSCHRIJVING LIKE '%s%b%s'", "1"},
      {"VOM_OMSCHRIJVING LIKE ''", "4"},
      {"VOM_CODE LIKE VOM_CODE", "1,2,3,5"},
  });
}

TEST(FilterExpression, UpperAndLower) {
  ExpectRows({
      {"(VOM_CODE LIKE '%ab%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%ab%'))", "1,2"},
      {"(VOM_CODE LIKE '%ne%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%ne%'))", "1"},
      {"UPPER(VOM_CODE) = 'AB1'", "1"},
      {"LOWER(VOM_OMSCHRIJVING) = 'wiskunde école'", "3"},
  });
  FilterOptions exact;
  exact.caseInsensitive = false;
  ExpectRows(
      {
          {"VOM_CODE LIKE '%ab%'", "2"},
          {"VOM_CODE = 'ab1'", ""},
          {"UPPER(VOM_CODE) LIKE '%AB%'", "1,2"},
          {"UPPER(VOM_CODE) LIKE '%ab%'", ""},
          {"UPPER(VOM_CODE) = UPPER('ab1')", "1"},
          {"LOWER(VOM_OMSCHRIJVING) LIKE '%école'", "3"},
          {"UPPER(VOM_OMSCHRIJVING) = 'FRANS ÉLÉMENTAIRE'", "2"},
          {"UPPER(VOM_CODE) = UPPER(VOM_CODE)", "1,2,3,5"},
          {"LOWER(VOM_CODE) > 'c'", "2,3,5"},
      },
      exact);
}

TEST(FilterExpression, InLists) {
  ExpectRows({
      {"FK in (12, 14)", "1,2"},
      {"FK NOT IN (12, 14)", "3,5"},
      {"FK IN ('12', 13)", "1,3"},
      {"VO_Code in (25, 31, 59, 221)", "1,2,5"},
      {"VO_CODE NOT IN (25)", "2,5"},
      {"VOM_CODE IN ('ab1', 'cd')", "1,3"},
      {"NR IN (9007199254740993, 5)", "1,5"},
      {"UUR IN (1.5, 3)", "1,5"},
      {"FK IN (NULL)", ""},
  });
}

TEST(FilterExpression, NullsAndEmptyTexts) {
  ExpectRows({
      {"VOM_CODE IS NULL", "4"},
      {"VOM_CODE IS NOT NULL", "1,2,3,5"},
      {"VOM_OMSCHRIJVING IS NULL", "4"},
      {"GEANN IS NULL", "3,4"},
      {"FK is null", "4"},
      {"AFGELAST IS NOT NULL", "1,2,4,5"},
  });
}

TEST(FilterExpression, BooleansAndPlusMinusTexts) {
  ExpectRows({
      {"AFGELAST = FALSE", "1,4"},
      {"(AFGELAST = True)", "2,5"},
      {"AFGELAST", "2,5"},
      {"NOT AFGELAST", "1,3,4"},
      {"AFGELAST <> TRUE", "1,4"},
      {"AFGELAST = '+'", "2,5"},
      {"AFGELAST = 1", "2,5"},
      {"GEANN = TRUE", "2,5"},
      {"GEANN = FALSE", "1,3"},
      {"GEANN = '-'", "1"},
      {"FK=12 AND (AFGELAST = FALSE)", "1"},
  });
}

TEST(FilterExpression, Dates) {
  ExpectRows({
      {"DATUM >= '01/09/2025'", "1,3"},
      {"DATUM < '01/09/2025'", "2,5"},
      {"DATUM > '01/09/2025 12:00'", "3"},
      {"(VAN <= '31/01/2026') AND (VAN >= '01/09/2025')", "1,2"},
      {"VAN = '31/08/2025'", "4"},
      {"UUR_VAN < '10:00'", "1"},
      {"UUR_VAN >= '13:00'", "2"},
  });
}

TEST(FilterExpression, LiteralsReadWithTheGivenSettings) {
  FormatSettings us;
  us.ShortDateFormat = "mm/dd/yyyy";
  EXPECT_EQ(PassingIds("DATUM >= '09/01/2025'", {}, us), "1,3");
}

TEST(FilterExpression, NumbersAgainstTexts) {
  ExpectRows({
      {"VO_CODE = 25", "1"},
      {"VO_CODE > 30", "2,5"},
      {"VO_CODE <> 25", "2,5"},
      {"VO_CODE = '25'", "1"},
      {"UUR = '1,5'", "1"},
      {"UUR = '1.5'", "1"},
  });
}

TEST(FilterExpression, ErrorsNameTheExpression) {
  const std::string deep = std::string(250, '(') + "FK = 1" + std::string(250, ')');
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"(FK = 12", "Ongeldige filter: '(FK = 12': verwacht ')' op positie 9"},
      {"FK = ", "Ongeldige filter: 'FK = ': onverwacht einde op positie 6"},
      {"", "Ongeldige filter: '': onverwacht einde op positie 1"},
      {"FK = 'abc", "Ongeldige filter: 'FK = 'abc': tekst niet afgesloten op positie 6"},
      {"FK # 1", "Ongeldige filter: 'FK # 1': ongeldig teken '#' op positie 4"},
      {"FK = 1 FK = 2", "Ongeldige filter: 'FK = 1 FK = 2': onverwacht 'FK' op positie 8"},
      {"FK NOT = 1", "Ongeldige filter: 'FK NOT = 1': verwacht LIKE of IN op positie 8"},
      {"FK IS 1", "Ongeldige filter: 'FK IS 1': verwacht NULL op positie 7"},
      {"FK IN 1", "Ongeldige filter: 'FK IN 1': verwacht '(' op positie 7"},
      {"FK", "Ongeldige filter: 'FK': verwacht een voorwaarde op positie 1"},
      {"FK = 1 AND 5", "Ongeldige filter: 'FK = 1 AND 5': verwacht een voorwaarde op positie 12"},
      {"UPPER(FK = 1) = 'A'",
       "Ongeldige filter: 'UPPER(FK = 1) = 'A'': verwacht een waarde op positie 7"},
      {"FK IN (1, ID)", "Ongeldige filter: 'FK IN (1, ID)': verwacht een constante op positie 11"},
      {"FK = 1 AND NOT", "Ongeldige filter: 'FK = 1 AND NOT': onverwacht einde op positie 15"},
      // A condition where a value belongs is reported where the condition starts.
      {"UPPER(FK LIKE 'a') = 'A'",
       "Ongeldige filter: 'UPPER(FK LIKE 'a') = 'A'': verwacht een waarde op positie 7"},
      {"UPPER(FK IN (1)) = 'A'",
       "Ongeldige filter: 'UPPER(FK IN (1)) = 'A'': verwacht een waarde op positie 7"},
      {"UPPER(FK = 1 AND ID = 2) = 'A'",
       "Ongeldige filter: 'UPPER(FK = 1 AND ID = 2) = 'A'': verwacht een waarde op positie 7"},
      {"UPPER(FK = 1 OR ID = 2) = 'A'",
       "Ongeldige filter: 'UPPER(FK = 1 OR ID = 2) = 'A'': verwacht een waarde op positie 7"},
      {"UPPER( FK IS NULL) = 'A'",
       "Ongeldige filter: 'UPPER( FK IS NULL) = 'A'': verwacht een waarde op positie 8"},
      {"TRIM(FK) = 1", "Ongeldige filter: 'TRIM(FK) = 1': onbekende functie 'TRIM' op positie 1"},
      {"DATUM >= '32/13/2025'",
       "Ongeldige filter: 'DATUM >= '32/13/2025'': ongeldige datum '32/13/2025' op positie 10"},
      {"FK = 'twaalf'", "Ongeldige filter: 'FK = 'twaalf'': ongeldig getal 'twaalf' op positie 6"},
      {"AFGELAST = 'soms'",
       "Ongeldige filter: 'AFGELAST = 'soms'': ongeldige logische waarde 'soms' op positie 12"},
      {"ONBEKEND = 1", "Veld 'ONBEKEND' niet gevonden"},
      {"UPPER(ONBEKEND) LIKE 'x'", "Veld 'ONBEKEND' niet gevonden"},
      {deep, "Ongeldige filter: '" + deep + "': te diep genest op positie 202"},
  };
  for (const auto& [filter, message] : cases) {
    try {
      PassingIds(filter);
      ADD_FAILURE() << "no error for " << filter;
    } catch (const EClientError& e) {
      EXPECT_EQ(e.what(), message);
    }
  }
}

TEST(FilterExpression, NestingUpToTheLimitAndLongChainsWork) {
  EXPECT_EQ(PassingIds(std::string(150, '(') + "FK = 12" + std::string(150, ')')), "1");
  std::string chain = "FK = 3";
  for (int i = 0; i < 20000; ++i) chain += " OR FK = 1000";
  EXPECT_EQ(PassingIds(chain), "5");
}

TEST(LikeMatcher, FoldsLatinOneLettersAndLeavesBrokenUtf8Alone) {
  EXPECT_EQ(FoldText("àéëçÿ×÷ß abc", CaseFold::Upper), "ÀÉËÇÿ×÷ß ABC");
  EXPECT_EQ(FoldText("ÀÉËÇ×Þ ABC", CaseFold::Lower), "àéëç×þ abc");
  EXPECT_EQ(FoldText("a\xC3", CaseFold::Upper), "A\xC3");
  EXPECT_EQ(FoldText("\xA9\xC3\xA9", CaseFold::Upper), "\xA9\xC3\x89");
  EXPECT_TRUE(LikeMatcher("_").Match("\xC3", CaseFold::Upper));
  EXPECT_FALSE(LikeMatcher("__").Match("\xC3\xA9", CaseFold::Upper));
}

TEST(LikeMatcher, ManyPercentsDoNotBacktrackExponentially) {
  const std::string subject(5000, 'a');
  EXPECT_FALSE(LikeMatcher("%a%a%a%a%a%a%a%a%a%a%a%a%b").Match(subject, CaseFold::None));
  EXPECT_TRUE(LikeMatcher("%a%a%a%a%a%a%a%a%a%a%a%a%").Match(subject, CaseFold::None));
}

}  // namespace
}  // namespace quil
