#include <gtest/gtest.h>

#include "PlanningFixture.h"
#include "planning/vwochecks.h"

namespace kavel::testing {
namespace {

class LesTijdenTest : public PlanningTest {
 protected:
  void SetUp() override {
    PlanningTest::SetUp();
    server.AddProvider("DSPVWOGetGeplandeKlasLesTijden",
                       {{"VWK_ID", FieldType::Integer},
                        {"IMV_AFKORTING", FieldType::String, 10},
                        {"VOM_CODE", FieldType::String, 8},
                        {"VOM_OMSCHRIJVING", FieldType::String, 150},
                        {"IMV_TOTAALUREN", FieldType::Currency, 18, 3},
                        {"LESTIJDENCONTACTONDERWIJSORG", FieldType::LargeInt},
                        {"LESTIJDENCONTACTONDERWIJSINSG", FieldType::LargeInt}},
                       "VWK_ID");
    server.Provider("DSPVWOGetGeplandeKlasLesTijden").paramNames = {"VWK_ID"};
    list.SetProvName("DSPVWOGetGeplandeKlasLesTijden");
  }

  void AddModule(int klas, const char* module, const char* planned, int required) {
    server.Provider("DSPVWOGetGeplandeKlasLesTijden")
        .rows.push_back({Variant(klas), Variant(module), Variant("M"), Variant("Module"),
                         Variant(StrToCurrDef(planned, Currency())), Variant(required),
                         Variant(required)});
  }

  //! The check as a screen runs it: inside an event of the session.
  bool Check(int id) {
    bool ok = false;
    EXPECT_EQ(app.Run([&] { ok = CheckVWOLesTijden(list, id); }), TEventResult::Done);
    return ok;
  }

  TQuilClientDataSet list{&dm, "CDSGetlesTijden"};
};

// Each case: one module, the block and verdict it must produce, and whether it is in order.
TEST_F(LesTijdenTest, EachModuleGetsTheVerdictOfItsPercentage) {
  struct Case {
    const char* planned;
    int required;
    bool ok;
    const char* report;
  } cases[] = {
      {"36,8", 40, true,  // exactly 92 percent
       "*** Module M1 ***\r\nEr zijn 36,80 uren ingevuld van de 40,00.\r\nDit is 92,00% van het "
       "benodigde aantal.\r\n--> Het benodigde aantal uren is bereikt.\r\n"},
      {"36,79", 40, false,
       "*** Module M1 ***\r\nEr zijn 36,79 uren ingevuld van de 40,00.\r\nDit is 91,98% van het "
       "benodigde aantal, er moeten nog  0,01 uren gepland worden.\r\n--> Het benodigde aantal "
       "uren is niet correct.\r\n"},
      {"40", 40, true,
       "*** Module M1 ***\r\nEr zijn 40,00 uren ingevuld van de 40,00.\r\nDit is 100,00% van het "
       "benodigde aantal.\r\n--> Het benodigde aantal uren is bereikt.\r\n"},
      {"40,01", 40, false,
       "*** Module M1 ***\r\nEr zijn 40,01 uren ingevuld van de 40,00.\r\nDit is 100,02% van het "
       "benodigde aantal, er zijn  0,01 uren te veel gepland.\r\n--> Het benodigde aantal uren "
       "is niet correct.\r\n"},
      {"12", 0, true,
       "*** Module M1 ***\r\nEr dienen geen lestijden meer ingevuld te worden\r\n--> Het "
       "benodigde aantal uren is bereikt.\r\n"},
      {"1", 1, true,  // one lesson time required, planned in full
       "*** Module M1 ***\r\nEr zijn  1,00 uren ingevuld van de  1,00.\r\nDit is 100,00% van het "
       "benodigde aantal.\r\n--> Het benodigde aantal uren is bereikt.\r\n"},
      {"0,5", 1, false,
       "*** Module M1 ***\r\nEr zijn  0,50 uren ingevuld van de  1,00.\r\nDit is 50,00% van het "
       "benodigde aantal, er moeten nog  0,42 uren gepland worden.\r\n--> Het benodigde aantal "
       "uren is niet correct.\r\n"},
      {"5", -10, false,
       "*** Module M1 ***\r\nHet aantal lestijden afstand/deliberatie/Individuele Arbeidservaring "
       "overschrijdt het benodigd aantal lestijden.\r\nEr zijn 15,00 uren te veel gepland.\r\n--> "
       "Het benodigde aantal uren is niet correct.\r\n"},
  };
  int klas = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.planned);
    AddModule(++klas, "M1", c.planned, c.required);
    dialogs.Clear();
    EXPECT_EQ(Check(klas), c.ok);
    ASSERT_EQ(dialogs.Entries().size(), 1u);
    EXPECT_EQ(dialogs.Entries()[0].kind, c.ok ? "message" : "warning");
    EXPECT_EQ(dialogs.Entries()[0].text, c.report);
    EXPECT_FALSE(list.Active());
  }
}

TEST_F(LesTijdenTest, TwoModulesAreSeparatedByAnEmptyLineAndOneErrorDecides) {
  AddModule(7, "M1", "40", 40);
  AddModule(7, "M2", "10", 40);
  EXPECT_FALSE(Check(7));
  const std::string& report = dialogs.Entries().at(0).text;
  EXPECT_NE(report.find("bereikt.\r\n\r\n*** Module M2 ***"), std::string::npos) << report;
  EXPECT_EQ(dialogs.Entries()[0].kind, "warning");
}

TEST_F(LesTijdenTest, AClassWithoutModuleVariantsIsInOrder) {
  EXPECT_TRUE(Check(8));
  EXPECT_EQ(dialogs.Transcript(),
            "message: Er zijn geen ingerichte modulevarianten aan de klas gekoppeld.\n");
}

TEST_F(LesTijdenTest, OutsideAnEventThereIsNoUserToReportTo) {
  EXPECT_THROW(CheckVWOLesTijden(list, 8), std::logic_error);
  EXPECT_EQ(dialogs.Transcript(), "");
}

TEST(CheckDuurtijdLes, ThreeLessonTimesFitFrom1800To2030) {
  const TDateTime van = EncodeTime(18, 0), tot = EncodeTime(20, 30);
  EXPECT_NO_THROW(CheckDuurtijdLes(3, van, tot));
  EXPECT_NO_THROW(CheckDuurtijdLes(3.001, van, tot));  // 0.05 minute over: within the margin
  try {
    CheckDuurtijdLes(3.01, van, tot);
    FAIL();
  } catch (const EClientError& e) {
    EXPECT_STREQ(e.what(),
                 "Lestijd van de les in minuten (150,5)\r\nmag niet groter zijn dan minuten "
                 "tussen eintijd en aanvangstijd (150).\r\nLestijden mag maximaal 3 zijn met deze "
                 "aanvangstijd en eindtijd.");
  }
  EXPECT_NO_THROW(CheckDuurtijdLes(3, tot, van));      // the span counts either way
  EXPECT_NO_THROW(CheckDuurtijdLes(0.002, van, van));  // exactly 0.1 minute over still fits
}

// Each of the six bounds in turn lies on the lesson date (it passes) or one day past it (it
// does not); the other periods hold the date well inside.
TEST(CheckDatumsLesmomenten, EveryBoundIsInclusive) {
  const TDateTime datum = EncodeDate(2026, 3, 20);
  for (int bound = 0; bound < 6; ++bound) {
    SCOPED_TRACE(bound);
    const bool isStart = bound % 2 == 0;
    TDateTime bounds[6];
    for (int i = 0; i < 6; ++i) bounds[i] = datum + (i % 2 == 0 ? -10 : 10);
    bounds[bound] = datum;
    EXPECT_TRUE(CheckDatumsLesmomenten(datum, bounds[0], bounds[1], bounds[2], bounds[3], bounds[4],
                                       bounds[5]));
    bounds[bound] = datum + (isStart ? 1 : -1);
    EXPECT_FALSE(CheckDatumsLesmomenten(datum, bounds[0], bounds[1], bounds[2], bounds[3],
                                        bounds[4], bounds[5]));
  }
}

}  // namespace
}  // namespace kavel::testing
