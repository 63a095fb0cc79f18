#include <gtest/gtest.h>

#include "PlanningFixture.h"

namespace kavel::testing {
namespace {

TEST_F(PlanningTest, LessonFlagsAreBooleanFieldsNamedPerList) {
  AddDailyLessons(1, EncodeDate(2026, 1, 5), 1);
  AddVWOLesBitFields(lessons, VWOLesList::ModuleVariant);
  TQuilClientDataSet klasLessons{&dm, "CDSKlasLessen"};
  klasLessons.SetProvName("DSPLessen");
  AddVWOLesBitFields(klasLessons, VWOLesList::Klas);
  lessons.Open();
  klasLessons.Open();
  EXPECT_NE(lessons.FindField("VWL_GEENSTANDAARLES"), nullptr);
  EXPECT_NE(lessons.FindField("VWL_VervaltVoorEducVerlof"), nullptr);
  EXPECT_NE(klasLessons.FindField("VWL_GEENSTANDAARDLES"), nullptr);
  EXPECT_NE(klasLessons.FindField("VWL_VervaltVrEducVerlof"), nullptr);

  lessons.Edit();
  lessons.FieldByName("VWL_AFSTANDSLESMOMENT").SetAsBoolean(true);
  lessons.FieldByName("VWL_VervaltVoorEducVerlof").SetAsBoolean(true);
  EXPECT_EQ(lessons.FieldByName("VWL_FLAGS").AsInteger(), 8 + 16);
  EXPECT_FALSE(lessons.FieldByName("VWL_BUITENSCHOOLS").AsBoolean());
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
