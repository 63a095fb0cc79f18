// The cancellation dialog of an organised module variant, opened from the module variant screen:
// its counts per kind of Davinci record, the run with one job 393 call per record in the order of
// the kinds, its progress texts, and what the server then did in the keep and delete modes.
#include "modulevariants/dlgVWOAnnuleerIMV.h"

#include "module/KlasMaster.h"

namespace kavel::testing {
namespace {

using namespace quil;

class AnnuleerIMVTest : public IngModuleVariantScreenTest {
 protected:
  //! The module variant of the example: known at Davinci, with Davinci records for one
  //! participation and two lessons (the first known, the second not) besides its own.
  void SetUp() override {
    imv = NotReported();
    const std::string id = std::to_string(imv);
    lesson1 =
        std::stoi(Value("SELECT MIN(VWL_ID) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = " + id));
    lesson2 = lesson1 + 1;
    server->db().ExecuteScript(
        "DELETE FROM WEBSERVICECALL; DELETE FROM ZIDEZUZOID WHERE ID_TYPE IN (2, 3) AND "
        "ID_DATA_FK IN (SELECT VWL_ID FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = " +
        id + ") OR ID_DATA_FK = " + id +
        ";"
        "INSERT INTO VWOPARTICIPATIE (VPA_ID, VPA_VWOLES_FK, VPA_CURSIST, VPA_VERANDERDDOOR, "
        "VPA_VERANDERDOP) VALUES (9001, " +
        std::to_string(lesson1) +
        ", 'Cursist A', 1, "
        "'2025-09-01 00:00:00'), (9002, " +
        std::to_string(lesson2) +
        ", 'Cursist A', 1, "
        "'2025-09-01 00:00:00');"
        "INSERT INTO ZIDEZUZOID (ID_ID, ID_DAVINCIID, ID_DATA_FK, ID_TYPE, ID_ID2, "
        "ID_STATUSOBJECT) VALUES (8001, 'DVM-8001', " +
        id +
        ", 2, NULL, 1), "
        "(8002, 'DVP-8002', 9001, 8, " +
        id +
        ", 1), "
        "(8003, 'DVL-8003', " +
        std::to_string(lesson1) +
        ", 3, NULL, 2), "
        "(8004, NULL, " +
        std::to_string(lesson2) +
        ", 3, NULL, 0);"
        "UPDATE VWOINGMODULEVARIANT SET IMV_DAVINCIID = 8001, IMV_DAVINCIKLAAR = '+' "
        "WHERE IMV_ID = " +
        id +
        ";"
        "UPDATE VWOKLAS SET VWK_FLAGS = 2048 WHERE VWK_ID = " +
        std::to_string(KlasOf(imv)));
  }

  //! Opens the dialog from the screen and lets `act` work in it.
  void InDialog(const std::function<void(TVWOAnnuleerIMVForm&)>& act) {
    auto& screen = OpenAt(imv);
    dialogs.AnswerModal("TVWOAnnuleerIMVForm", [&](TQuilForm& shown) {
      auto& dialog = dynamic_cast<TVWOAnnuleerIMVForm&>(shown);
      act(dialog);
      EXPECT_EQ(app.Click(dialog, "BtnSluiten"), TEventResult::Done);
    });
    ASSERT_EQ(Press(screen, "AAnnuleerIMV"), TEventResult::Done) << Messages();
  }

  std::string Counts(const TVWOAnnuleerIMVForm& dialog) {
    std::string counts;
    for (int row = 1; row < dialog.SGAantallen.RowCount(); ++row) {
      counts += dialog.SGAantallen.Cell(0, row) + " " + dialog.SGAantallen.Cell(1, row) + " " +
                dialog.SGAantallen.Cell(2, row) + "\n";
    }
    return counts;
  }

  //! One job 393 call as the log shows it.
  std::string Call(int jobId, int callType, int record, int own, int type, const char* first,
                   const char* mode) {
    auto integer = [](int64_t v) {
      return "{\"type\":\"Integer\",\"value\":" + std::to_string(v) + "}";
    };
    auto text = [](const char* v) {
      return std::string("{\"type\":\"String\",\"value\":\"") + v + "\"}";
    };
    return "393 | " + std::to_string(jobId) + " | Execute | [" + integer(1) + "," +
           integer(callType) + "," + text("1") + "," + integer(record) + "," + integer(own) + "," +
           integer(type) + "," + text(first) + "," + text(mode) + "]\n";
  }

  int imv = 0;
  int lesson1 = 0;
  int lesson2 = 0;
};

TEST_F(AnnuleerIMVTest, TheRunGoesKindByKindWithItsProgressAndKeepsTheRecords) {
  int jobId = -1;
  std::vector<std::string> progress;
  InDialog([&](TVWOAnnuleerIMVForm& dialog) {
    EXPECT_EQ(dialog.LblAfkorting.Caption.rfind("Afkorting: ", 0), 0u);
    EXPECT_EQ(Counts(dialog),
              "Studiebewijzen: 0 0\nParticipaties: 1 1\nPlaatsingen Huizen van het Nederlands: 0 "
              "0\nPlaatsingen: 0 0\nLessen: 1 2\nIngerichte modulevariant: 1 1\nTotaal aantal te "
              "annuleren / verwijderen records: 3 4\n");
    EXPECT_FALSE(dialog.AExecute.Enabled) << "no choice made yet";
    app.OnProcessMessages = [&] {
      progress.push_back(dialog.PBSub.Caption + " / " + dialog.PBTotaal.Caption);
    };
    ASSERT_EQ(Set(dialog, "CBBehouden", "1"), TEventResult::Done);
    ASSERT_EQ(Press(dialog, "AExecute"), TEventResult::Done) << Messages();
    app.OnProcessMessages = nullptr;
    jobId = dialog.JobID();
    EXPECT_NE(jobId, -1);
    // Reloaded, choices cleared: a second run needs a new choice.
    EXPECT_FALSE(dialog.CBBehouden.Checked());
    EXPECT_FALSE(dialog.AExecute.Enabled);
    EXPECT_FALSE(dialog.PBTotaal.Visible);
  });
  EXPECT_EQ(progress,
            (std::vector<std::string>{
                "Verwijdering Participaties: record 1 van 1 / Totale voortgang: record 1 van 4",
                "Verwijdering Lessen: record 1 van 2 / Totale voortgang: record 2 van 4",
                "Verwijdering Lessen: record 2 van 2 / Totale voortgang: record 3 van 4",
                "Verwijdering Ingerichte modulevariant: record 1 van 1 / Totale voortgang: "
                "record 4 van 4"}));
  EXPECT_EQ(JobLog(), Call(jobId, 1027, 8002, 9001, 1006, "+", "+") +
                          Call(jobId, 1010, 8003, lesson1, 1003, "+", "+") +
                          Call(jobId, 1010, 8004, lesson2, 1003, "-", "+") +
                          Call(jobId, 1006, 8001, imv, 1002, "+", "+") + "393 | " +
                          std::to_string(jobId) + " | Clean | []\n");
  // Calls to cancel what Davinci knows; the records stay, not ready, the class closed.
  EXPECT_EQ(Stored("SELECT WC_CALLTYPE, WC_ZIDEZUZOID_FK, WC_CALLSTATUS, WC_SCHOOL_FK FROM "
                   "WEBSERVICECALL ORDER BY WC_ID"),
            "803 | 8002 | W | 1\n303 | 8003 | W | 1\n203 | 8001 | W | 1\n");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOPARTICIPATIE WHERE VPA_ID IN (9001, 9002)"), "2\n");
  EXPECT_EQ(Stored("SELECT IMV_DAVINCIKLAAR FROM VWOINGMODULEVARIANT WHERE IMV_ID = " +
                   std::to_string(imv)),
            "-\n");
  EXPECT_EQ(Stored("SELECT VWK_FLAGS FROM VWOKLAS WHERE VWK_ID = " + std::to_string(KlasOf(imv))),
            "0\n");
}

TEST_F(AnnuleerIMVTest, DeletingRemovesTheLessonsAndTheModuleVariantWithWhatHangsFromIt) {
  const int klas = KlasOf(imv);
  InDialog([&](TVWOAnnuleerIMVForm& dialog) {
    ASSERT_EQ(Set(dialog, "CBBehouden", "1"), TEventResult::Done);
    ASSERT_EQ(Set(dialog, "CBVerwijderen", "1"), TEventResult::Done);
    EXPECT_FALSE(dialog.CBBehouden.Checked()) << "one choice at a time";
    ASSERT_EQ(Press(dialog, "AExecute"), TEventResult::Done) << Messages();
    EXPECT_EQ(Counts(dialog).find("Totaal aantal te annuleren / verwijderen records: 3 4"),
              std::string::npos);
  });
  EXPECT_EQ(
      Stored("SELECT COUNT(*) FROM VWOINGMODULEVARIANT WHERE IMV_ID = " + std::to_string(imv)),
      "0\n");
  EXPECT_EQ(
      Stored("SELECT COUNT(*) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = " + std::to_string(imv)),
      "0\n");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOPARTICIPATIE WHERE VPA_ID IN (9001, 9002)"), "0\n");
  EXPECT_EQ(Stored("SELECT VWK_FLAGS FROM VWOKLAS WHERE VWK_ID = " + std::to_string(klas)), "0\n");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM WEBSERVICECALL"), "3\n");
}

TEST_F(AnnuleerIMVTest, AModuleVariantWithoutDavinciRecordsCannotBeRun) {
  server->db().ExecuteScript(
      "DELETE FROM WEBSERVICECALL WHERE WC_ZIDEZUZOID_FK >= 8001; DELETE FROM ZIDEZUZOID WHERE "
      "ID_ID >= 8002");
  server->db().ExecuteScript("UPDATE ZIDEZUZOID SET ID_DATA_FK = -1 WHERE ID_ID = 8001");
  InDialog([&](TVWOAnnuleerIMVForm& dialog) {
    EXPECT_EQ(dialog.CDSSelectIMVAnnulatieData.RecordCount(), 0);
    ASSERT_EQ(Set(dialog, "CBVerwijderen", "1"), TEventResult::Done);
    EXPECT_EQ(Press(dialog, "AExecute"), TEventResult::Refused);
  });
  EXPECT_EQ(JobLog(), "393 | -1 | Clean | []\n");
}

}  // namespace
}  // namespace kavel::testing
