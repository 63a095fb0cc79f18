// The planned lesson count check: when it may fetch, the job it sends (its own id, cleaned
// before a second fetch and when the screen closes), the rows of the demo institution and the
// colours of the rows around the 92 and 100 percent bounds.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "ScreenTest.h"
#include "host/base/SysUtils.h"
#include "host/forms/Description.h"
#include "planning/frmVWOCheckLesmomenten.h"

namespace kavel::testing {
namespace {

using namespace quil;

class CheckLesmomentenTest : public ScreenTest {
 protected:
  TVWOCheckAantalLesmomentenForm& OpenScreen() {
    return Open<TVWOCheckAantalLesmomentenForm>("TVWOCheckAantalLesmomentenForm");
  }

  //! Per row: class, module variant's module, total, required, percentage, to plan, and the
  //! background the browser paints ("-" for none).
  std::string Rows(TVWOCheckAantalLesmomentenForm& screen) {
    std::string out;
    app.Run([&] {
      TDescription described = screen.GridResultaat.DescribeRows(0, kMaxPageSize);
      const auto& rows = std::get<TDescription::List>(described.Find("rows")->Value());
      TQuilClientDataSet& cds = screen.CDSResultaat;
      int recNo = 0;
      for (const TDescription& row : rows) {
        cds.SetRecNo(++recNo);
        const TDescription* background = row.Find("background");
        out += cds.FieldByName("VKL_CODE").AsString() + " " +
               cds.FieldByName("IMV_TOTAALUREN").DisplayText() + " " +
               cds.FieldByName("IMV_VEREISTEUREN").DisplayText() + " " +
               cds.FieldByName("IMV_PERCENTAGE").DisplayText() + " " +
               cds.FieldByName("IMV_NOGTEPLANNEN").DisplayText() + " " +
               (background ? std::get<std::string>(background->Value()) : "-") + "\n";
      }
    });
    return out;
  }
};

TEST_F(CheckLesmomentenTest, FetchesOnceAnInstitutionAndAPeriodAreChosen) {
  auto& screen = OpenScreen();
  EXPECT_EQ(screen.DEBegin.ValueText(), "01/09/2025");
  EXPECT_EQ(screen.DEEinde.ValueText(), "31/08/2026");
  EXPECT_EQ(screen.InstellingID(), -1);
  EXPECT_EQ(screen.JobID(), -1);
  EXPECT_FALSE(screen.AFetch.Enabled) << "no institution";
  EXPECT_FALSE(screen.CDSResultaat.Active()) << "opened only by a fetch";

  struct Case {
    const char* instelling;
    const char* begin;
    const char* einde;
    bool enabled;
  };
  const Case cases[] = {
      {"2", "01/09/2025", "31/08/2026", true},
      {"1", "15/09/2025", "15/09/2025", true},
      {"1", "15/09/2025", "14/09/2025", false},
      {"1", "", "14/09/2025", false},
      // The first day after the empty date is a date like any other.
      {"1", "31/12/1899", "31/12/1899", true},
      {"", "01/09/2025", "31/08/2026", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.instelling) + " " + c.begin + " " + c.einde);
    Fill(screen, {{"LCInstelling", c.instelling}, {"DEBegin", c.begin}, {"DEEinde", c.einde}});
    EXPECT_EQ(screen.AFetch.Enabled, c.enabled);
  }
  EXPECT_EQ(screen.InstellingID(), -1);
  EXPECT_EQ(JobLog(), "");
}

//! The job log line of job 320 for institution 1 over the demo's school year.
std::string Execute320(int id, const char* begin = "2025-09-01", const char* end = "2026-08-31") {
  return Format(
      "320 | %d | Execute | "
      "[{\"type\":\"Integer\",\"value\":1},{\"type\":\"Integer\",\"value\":-1},"
      "{\"type\":\"DateTime\",\"value\":\"%s 00:00:00\"},"
      "{\"type\":\"DateTime\",\"value\":\"%s 00:00:00\"}]\n",
      id, begin, end);
}

// The demo institution's classes of the working year: one row per organised module variant,
// red below 92 percent, orange above 100; ENGA11 sits exactly at 100 and keeps the grid's colour.
TEST_F(CheckLesmomentenTest, FetchingAgainCleansTheFirstRowsAndReusesTheId) {
  auto& screen = OpenScreen();
  Fill(screen, {{"LCInstelling", "1"}});
  ASSERT_TRUE(screen.BtnOphalen.Default);
  ASSERT_EQ(Press(screen, "AFetch"), TEventResult::Done) << Messages();
  const int id = screen.JobID();
  ASSERT_NE(id, -1);
  EXPECT_FALSE(screen.BtnOphalen.Default) << "no longer the default button";
  EXPECT_EQ(JobLog(), Execute320(id));
  EXPECT_EQ(Rows(screen),
            "LIN-BOEKH1-2 72,00 60,00 120,00 0,00 #ff8040\n"
            "LIN-BOEKH1-2 84,00 80,00 105,00 0,00 #ff8040\n"
            "LIN-ENGA1-1 80,00 80,00 100,00 0,00 -\n"
            "LIN-ENGA1-1 72,00 100,00 72,00 20,00 #ff0000\n"
            "LIN-FRAA1-1 72,00 80,00 90,00 1,60 #ff0000\n"
            "LIN-FRAA1-1 80,00 100,00 80,00 12,00 #ff0000\n"
            "LIN-ICTBAS-2 84,00 40,00 210,00 0,00 #ff8040\n"
            "LIN-ICTBAS-2 72,00 60,00 120,00 0,00 #ff8040\n"
            "LIN-NT2R2-1 72,00 120,00 60,00 38,40 #ff0000\n"
            "LIN-NT2R2-1 80,00 140,00 57,14 48,80 #ff0000\n"
            "LIN-SPAA1-2 84,00 80,00 105,00 0,00 #ff8040\n"
            "LIN-SPAA1-2 75,60 100,00 75,60 16,40 #ff0000\n");

  // The second semester only: the first run's rows are cleaned before the second, same id.
  Fill(screen, {{"DEBegin", "01/01/2026"}});
  ASSERT_EQ(Press(screen, "AFetch"), TEventResult::Done) << Messages();
  EXPECT_EQ(screen.JobID(), id);
  EXPECT_EQ(JobLog(),
            Execute320(id) + Format("320 | %d | Clean | []\n", id) + Execute320(id, "2026-01-01"));
  EXPECT_EQ(screen.CDSResultaat.RecordCount(), 6);
  EXPECT_EQ(Stored(Format("SELECT COUNT(*) FROM JOBDATA WHERE J_JOBID = %d", id)), "6\n");

  TPrintParams params;
  ASSERT_EQ(app.Run([&] { params = screen.GetPrintParams(TReportDef{}); }), TEventResult::Done);
  EXPECT_EQ(params.Value("IS_ID"), "1");
  EXPECT_EQ(params.Value("JOBID"), std::to_string(id));

  // Closing the screen cleans its rows.
  ASSERT_TRUE(app.CloseForm(screen)) << Messages();
  EXPECT_EQ(Stored(Format("SELECT COUNT(*) FROM JOBDATA WHERE J_JOBID = %d", id)), "0\n");
  EXPECT_THAT(JobLog(), ::testing::EndsWith(Format("320 | %d | Clean | []\n", id)));
}

// The bounds: exactly 92.00 and 100.00 percent keep the grid's colour, a hundredth beyond is
// coloured. Four module variants of 100 required lesson times with one given lesson each.
TEST_F(CheckLesmomentenTest, RowsAreColouredJustBeyondTheBoundsOnly) {
  server->db().ExecuteScript(R"sql(
    UPDATE VWOMODULEVARIANT SET VMV_LESTIJDENORGANISATIE = 100 WHERE VMV_ID IN
      (SELECT IMV_VWOMODULEVARIANT_FK FROM VWOINGMODULEVARIANT WHERE IMV_ID IN (3, 4, 5, 6));
    UPDATE VWOLES SET VWL_FLAGS = 2 WHERE VWL_INGMODULEVARIANT_FK IN (3, 4, 5, 6);
    UPDATE VWOLES SET VWL_FLAGS = 0, VWL_LESUREN = CASE VWL_INGMODULEVARIANT_FK
        WHEN 3 THEN 92 WHEN 4 THEN 91.99 WHEN 5 THEN 100 ELSE 100.01 END
      WHERE VWL_ID IN (SELECT MIN(VWL_ID) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK IN (3, 4, 5, 6)
        GROUP BY VWL_INGMODULEVARIANT_FK);
  )sql");
  auto& screen = OpenScreen();
  // The English and French classes (3 and 4 in class 2, 5 and 6 in class 3) start on the same day.
  Fill(screen, {{"LCInstelling", "1"}, {"DEBegin", "15/09/2025"}, {"DEEinde", "15/09/2025"}});
  ASSERT_EQ(Press(screen, "AFetch"), TEventResult::Done) << Messages();
  std::string rows = Rows(screen);
  EXPECT_NE(rows.find("LIN-ENGA1-1 92,00 100,00 92,00 0,00 -\n"), std::string::npos) << rows;
  EXPECT_NE(rows.find("LIN-ENGA1-1 91,99 100,00 91,99 0,01 #ff0000\n"), std::string::npos) << rows;
  EXPECT_NE(rows.find("LIN-FRAA1-1 100,00 100,00 100,00 0,00 -\n"), std::string::npos) << rows;
  EXPECT_NE(rows.find("LIN-FRAA1-1 100,01 100,00 100,01 0,00 #ff8040\n"), std::string::npos)
      << rows;
}

}  // namespace
}  // namespace kavel::testing
