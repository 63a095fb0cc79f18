#include <gtest/gtest.h>

#include "PlanningFixture.h"

namespace kavel::testing {
namespace {

// Each boolean field is its own bit of VWL_FLAGS; two of them are named differently in the list
// of a class.
TEST_F(PlanningTest, LessonFlagsAreBooleanFieldsNamedPerList) {
  AddDailyLessons(1, EncodeDate(2026, 1, 5), 1);
  AddVWOLesBitFields(lessons, VWOLesList::ModuleVariant);
  TQuilClientDataSet klasLessons{&dm, "CDSKlasLessen"};
  klasLessons.SetProvName("DSPLessen");
  AddVWOLesBitFields(klasLessons, VWOLesList::Klas);
  lessons.Open();
  klasLessons.Open();
  struct Case {
    const char* moduleVariantField;
    const char* klasField;
    int value;
  } cases[] = {
      {"VWL_BUITENSCHOOLS", "VWL_BUITENSCHOOLS", 1},
      {"VWL_VERVALT", "VWL_VERVALT", 2},
      {"VWL_GEENSTANDAARLES", "VWL_GEENSTANDAARDLES", 4},
      {"VWL_AFSTANDSLESMOMENT", "VWL_AFSTANDSLESMOMENT", 8},
      {"VWL_VervaltVoorEducVerlof", "VWL_VervaltVrEducVerlof", 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.moduleVariantField);
    for (TQuilClientDataSet* list : {&lessons, &klasLessons}) {
      const char* name = list == &lessons ? c.moduleVariantField : c.klasField;
      list->Edit();
      list->FieldByName("VWL_FLAGS").SetAsInteger(0);
      list->FieldByName(name).SetAsBoolean(true);
      EXPECT_EQ(list->FieldByName("VWL_FLAGS").AsInteger(), c.value) << name;
      list->FieldByName("VWL_FLAGS").SetAsInteger(31 - c.value);
      EXPECT_FALSE(list->FieldByName(name).AsBoolean()) << name;
      list->Cancel();
    }
  }
  EXPECT_EQ(lessons.FieldByName("VWL_VERVALT").DisplayLabel, "Vervalt");
}

TEST(LessonTimes, FiftyMinutesMinusThePause) {
  struct Case {
    int fromH, fromM, toH, toM, pause;
    const char* text;
  } cases[] = {
      {18, 0, 20, 30, 0, "3"}, {18, 0, 20, 0, 0, "2,4"},  {18, 0, 20, 30, 15, "2,7"},
      {9, 0, 9, 50, 0, "1"},   {9, 0, 10, 0, 0, "1,2"},   {18, 0, 18, 45, 0, "0,9"},
      {13, 10, 14, 0, 0, "1"}, {20, 0, 18, 0, 0, "-2,4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(LestijdenText(
                  LestijdenTussen(EncodeTime(c.fromH, c.fromM), EncodeTime(c.toH, c.toM), c.pause)),
              c.text);
  }
  EXPECT_EQ(FormatDateTime("hh:nn", VoorgesteldEindUur(EncodeTime(18, 15))), "20:15");
}

}  // namespace
}  // namespace kavel::testing
