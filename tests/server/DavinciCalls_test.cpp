// The Davinci calls of one object on the demo database: what each provider lists for a key, and
// the calls dialog driven through its request as a user would.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ServerTestUtil.h"
#include "host/data/DMQuil.h"
#include "host/domain/DavinciCommunicatie.h"
#include "host/forms/Dlgdepartementcalls.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"
#include "server/AppServer.h"
#include "server/db/Schema.h"
#include "server/seed/DemoData.h"

namespace quil::server {
namespace {

class DavinciCallsTest : public ::testing::Test {
 protected:
  DavinciCallsTest() {
    auto db = testdb::FreshDatabase(testdb::Content::Demo);
    AppServerOptions options;
    options.clock = testing::FixedNow;
    server = std::make_unique<AppServer>(std::move(db), 1, options);
  }

  int64_t Scalar(const std::string& sql) {
    auto stmt = server->db().Prepare(sql);
    EXPECT_TRUE(stmt->Step()) << sql;
    return stmt->ColumnInt64(0);
  }

  //! The calls a provider lists: "type state" per call, in the order given.
  std::string Listed(const std::string& provider, const Params& params) {
    DataPacket packet = server->GetRecords(provider, params);
    const int type = packet.FieldIndex("WC_CALLTYPE"), state = packet.FieldIndex("WC_CALLSTATUS");
    std::string out;
    for (const Row& row : packet.rows) {
      if (!out.empty()) out += ", ";
      out += row[type].AsString() + " " + row[state].AsString();
    }
    return out;
  }

  std::unique_ptr<AppServer> server;
};

Params Key(std::initializer_list<std::pair<const char*, int64_t>> pairs) {
  Params params;
  for (const auto& [name, id] : pairs) params.Add(name, FieldType::LargeInt).value = Variant(id);
  return params;
}

TEST_F(DavinciCallsTest, EachProviderListsTheCallsOfExactlyItsObjectNewestFirst) {
  const int64_t cio = Scalar("SELECT CIO_DAVINCIID FROM VWOINGOPLEIDINGSVARIANT WHERE CIO_ID = 1");
  const int64_t transfer =
      Scalar("SELECT RO_DAVINCIOVERDRACHTID FROM REGISTEROVERDRACHT WHERE RO_ID = 1");
  const int64_t imv1 = Scalar("SELECT IMV_DAVINCIID FROM VWOINGMODULEVARIANT WHERE IMV_ID = 1");
  const int64_t lesson = Scalar(
      "SELECT MIN(VWL_ID) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 2 AND VWL_DAVINCIID IS "
      "NOT NULL");
  const int64_t lessonRecord =
      Scalar("SELECT VWL_DAVINCIID FROM VWOLES WHERE VWL_ID = " + std::to_string(lesson));
  struct Case {
    const char* provider;
    Params key;
    const char* expected;
  };
  const Case cases[] = {
      // A change that met an outage, after the accepted report.
      {"DSPDavinciModuleVar", Key({{"IMV_ID", 1}}), "202 H, 201 V"},
      {"DSPDavinciModuleVar", Key({{"IMV_ID", 8}}), "201 M"},
      {"DSPDavinciModuleVar", Key({{"IMV_ID", 12}}), ""},
      {"DSPDavinciLes", Key({{"VWL_ID", lesson}}), "302 G, 301 V"},
      {"DSPDavinciModuleVarCursisten", Key({{"IMV_ID", 1}, {"SC_ID", 1}}),
       "501 G, 501 V, 501 V, 501 V"},
      {"DSPDavinciModuleVarCursisten", Key({{"IMV_ID", 1}, {"SC_ID", 2}}), ""},
      {"DSPDavinciKlas", Key({{"VWK_ID", 1}}), "401 V"},
      {"DSPDavinciKlasCursisten", Key({{"VWK_ID", 1}, {"SC_ID", 1}}),
       "501 W, 501 G, 501 V, 501 V, 501 V"},
      {"DSPDavinciOpleidingsVar", Key({{"ID_ID", cio}, {"SC_ID", 1}}), "101 V"},
      {"DSPDavinciOpleidingsVar", Key({{"ID_ID", cio}, {"SC_ID", 2}}), ""},
      // The id of a record of another kind lists nothing.
      {"DSPDavinciOpleidingsVar", Key({{"ID_ID", imv1}, {"SC_ID", 1}}), ""},
      {"DSPDavinciRegistreeroverdrachten", Key({{"ID_ID", transfer}, {"SC_ID", 1}}), "601 V"},
      {"DSPDavinciSyncModuleVar", Key({{"ID_ID", imv1}, {"IS_ID", 1}}), "202 H, 201 V"},
      {"DSPDavinciSyncModuleVar", Key({{"ID_ID", imv1}, {"IS_ID", 2}}), ""},
      {"DSPDavinciSyncLessen", Key({{"ID_ID", lessonRecord}, {"IS_ID", 1}}), "302 G, 301 V"},
      {"DSPDavinciSyncLessen", Key({{"ID_ID", imv1}, {"IS_ID", 1}}), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Listed(c.provider, c.key), c.expected) << c.provider;
  }
}

TEST_F(DavinciCallsTest, DemoHasCallsInEveryStateAndWaitingOnesInSendingOrder) {
  EXPECT_EQ(Scalar("SELECT COUNT(DISTINCT WC_CALLSTATUS) FROM WEBSERVICECALL"), 5);
  // Every record of De Linde's known objects matches the id the object keeps.
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM VWOINGMODULEVARIANT M JOIN ZIDEZUZOID I ON I.ID_ID = "
                   "M.IMV_DAVINCIID WHERE I.ID_TYPE <> 2 OR I.ID_DATA_FK <> M.IMV_ID"),
            0);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM VWOLES L JOIN ZIDEZUZOID I ON I.ID_ID = "
                   "L.VWL_DAVINCIID WHERE I.ID_TYPE <> 3 OR I.ID_DATA_FK <> L.VWL_ID"),
            0);
}

class DavinciDialogTest : public DavinciCallsTest {
 protected:
  TDMQuil dm{*server};
  ScriptedDialogs dialogs;
  TQuilApplication app{dm, dialogs};
  TQuilDBForm screen{app, "TVWOIngModuleVarForm"};
};

TEST_F(DavinciDialogTest, ShowsTheObjectsCallsInWordsAndMarksAFailedCallAgain) {
  std::string header, rows;
  TEventResult onAccepted = TEventResult::Done, onFailed = TEventResult::Refused;
  dialogs.AnswerModal("TDepartementCallsDialog", [&](TQuilForm& form) {
    auto& dialog = static_cast<TDepartementCallsDialog&>(form);
    header = dialog.LHeader.Caption;
    TQuilClientDataSet& calls = *dialog.CDSCalls();
    for (calls.First(); !calls.Eof(); calls.Next()) {
      rows += calls.FieldByName("SOORT").AsString() + " | " +
              calls.FieldByName("STATUS").AsString() + " | " +
              calls.FieldByName("RESULTAAT").AsString() + " | " +
              calls.FieldByName("VERZENDER").AsString() + " | " +
              calls.FieldByName("WC_FOUT").AsString() + "\n";
    }
    calls.First();
    onAccepted = app.Execute(dialog, "AOpnieuwVersturen");
    form.SetModalResult(mrOk);
  });
  DavinciCommunicatieRequest(screen, "Davinci communicatie voor ing. modulevariant %s %s",
                             {"NT2R11", "Nederlands"}, "DSPDavinciModuleVar", "IMV_ID=1");
  EXPECT_EQ(header, "Davinci communicatie voor ing. modulevariant NT2R11 Nederlands");
  EXPECT_EQ(rows,
            "Modulevariant wijzigen | Opnieuw te versturen | Davinci niet beschikbaar | "
            "Carine Dierckx | DV-503: Davinci is tijdelijk niet beschikbaar\n"
            "Modulevariant aanmelden | Verzonden | Aanvaard | Carine Dierckx | \n");
  EXPECT_EQ(onAccepted, TEventResult::Refused) << "a call that is not refused or failed";

  dialogs.AnswerModal("TDepartementCallsDialog", [&](TQuilForm& form) {
    onFailed = app.Execute(form, "AOpnieuwVersturen");
    form.SetModalResult(mrOk);
  });
  DavinciCommunicatieRequest(screen, "%s", {"x"}, "DSPDavinciModuleVar", "IMV_ID=8");
  EXPECT_EQ(onFailed, TEventResult::Done);
  auto stored = server->db().Prepare(
      "SELECT W.WC_CALLSTATUS, W.WC_POGINGEN, W.WC_VOLGENDEPOGING IS NULL FROM WEBSERVICECALL W "
      "JOIN ZIDEZUZOID I ON I.ID_ID = W.WC_ZIDEZUZOID_FK WHERE I.ID_TYPE = 2 AND "
      "I.ID_DATA_FK = 8");
  ASSERT_TRUE(stored->Step());
  EXPECT_EQ(stored->ColumnText(0), "H");
  EXPECT_EQ(stored->ColumnInt64(1), 0);
  EXPECT_EQ(stored->ColumnInt64(2), 1);
}

TEST_F(DavinciDialogTest, AMalformedKeyIsRefusedBeforeTheDialogShows) {
  for (const char* key : {"IMV_ID=1;DROP", "IMV_ID=", "FOO=1"}) {
    const TEventResult result = app.Run(
        [&] { DavinciCommunicatieRequest(screen, "%s", {"x"}, "DSPDavinciModuleVar", key); });
    EXPECT_EQ(result, TEventResult::ClientError) << key;
  }
  // No modal dialog was scripted: showing one would have failed the test.
  EXPECT_EQ(dialogs.Transcript(),
            "error: Ongeldige sleutel 'IMV_ID=1;DROP' voor DSPDavinciModuleVar: 'IMV_ID=1;DROP' "
            "is geen paar NAAM=nummer (paren gescheiden door een komma, zonder spaties)\n"
            "error: Ongeldige sleutel 'IMV_ID=' voor DSPDavinciModuleVar: 'IMV_ID=' is geen paar "
            "NAAM=nummer (paren gescheiden door een komma, zonder spaties)\n"
            "error: Ongeldige sleutel 'FOO=1' voor DSPDavinciModuleVar: 'FOO' is geen sleutelveld "
            "(toegelaten: IMV_ID)\n");
}

}  // namespace
}  // namespace quil::server
