// The absence codes screen as a user meets it: the offer of the standard codes when an
// institution has none, new codes, and the colour button; checked against what the server stores.
#include <cstdio>

#include "host/forms/AdminPrefs.h"
#include "host/forms/BrowseVWOInstellingForm.h"
#include "module/ModuleFixture.h"
#include "reference/frmVWOAfwezigheidscodes.h"

namespace kavel::testing {
namespace {

using quil::TDataSetCommand;
using quil::TEventResult;

constexpr const char* kVraag =
    "confirmation: Er zijn nog geen afwezigheidscodes gedefinieerd.\r\nWilt U de standaard codes "
    "laten genereren ?";

//! The participation statuses of the site, and a code of another list that must not be taken.
constexpr const char* kStatussen = R"sql(
  INSERT INTO PARAM (P_ID, P_TYPE, P_CODE, P_OMSCHRIJVING, P_VOLGORDE) VALUES
    (101, 'VWPA', 'AANWEZIG', 'Aanwezig', 1),
    (102, 'VWPA', 'AFWEZIG', 'Afwezig', 2),
    (103, 'VWPA', 'VERANTW_AFWEZIG', 'Verantwoord afwezig', 3),
    (104, 'VWPA', 'GEWETTIGD_AFWEZIG', 'Gewettigd afwezig', 4),
    (109, 'VWKM', 'AFWEZIG', 'Andere lijst', 1);
)sql";

constexpr const char* kStatussenZonderAfwezig = R"sql(
  INSERT INTO PARAM (P_ID, P_TYPE, P_CODE, P_OMSCHRIJVING, P_VOLGORDE) VALUES
    (101, 'VWPA', 'AANWEZIG', 'Aanwezig', 1),
    (103, 'VWPA', 'VERANTW_AFWEZIG', 'Verantwoord afwezig', 3),
    (109, 'VWKM', 'AFWEZIG', 'Andere lijst', 1);
)sql";

//! Institution 2 has two codes of its own: red "A" and "X" in the window colour.
constexpr const char* kCodesVanInstelling2 = R"sql(
  INSERT INTO VWOAFWEZIGHEIDSCODE (VAC_ID, VAC_INSTELLING_FK, VAC_CODE, VAC_OMSCHRIJVING,
      VAC_KLEUR, VAC_PARTICIPATIESTATUS_FK, VAC_PARTICIPATIESTATUSBEV_FK, VAC_FLAGS,
      VAC_VERANDERDDOOR, VAC_VERANDERDOP) VALUES
    (501, 2, 'X', 'Aanwezig', -16777211, 101, 101, 0, 1, '2025-09-01 08:00:00'),
    (502, 2, 'A', 'Afwezig', 255, 102, 102, 2, 1, '2025-09-01 08:00:00');
)sql";

//! The application server of the session, counting the applies that reach it per provider.
class CountingServer : public quil::IAppServer {
 public:
  explicit CountingServer(quil::IAppServer& server) : server_(server) {}

  //! "provider:rows" per apply, in order.
  std::vector<std::string> applies;

  quil::DataPacket GetRecords(std::string_view provider, const quil::Params& params) override {
    return server_.GetRecords(provider, params);
  }
  quil::Params FetchParams(std::string_view provider) override {
    return server_.FetchParams(provider);
  }
  quil::ApplyResult ApplyUpdates(std::string_view provider, const quil::Delta& delta, int maxErrors,
                                 const quil::Params& params) override {
    applies.push_back(std::string(provider) + ":" + std::to_string(delta.rows.size()));
    return server_.ApplyUpdates(provider, delta, maxErrors, params);
  }
  int64_t GetNewID(std::string_view generator) override { return server_.GetNewID(generator); }
  quil::TDateTime GetServerDatum() override { return server_.GetServerDatum(); }
  std::string PrepareJob(int type, int id, const quil::JobData& data) override {
    return server_.PrepareJob(type, id, data);
  }
  std::string ExecuteJob(int type, int id, const quil::JobData& data) override {
    return server_.ExecuteJob(type, id, data);
  }
  std::string CleanJob(int type, int id, const quil::JobData& data) override {
    return server_.CleanJob(type, id, data);
  }
  int GetJobID() override { return server_.GetJobID(); }
  int GetUserID() override { return server_.GetUserID(); }
  quil::TQuildminDBParams GetQuilDBParams() override { return server_.GetQuilDBParams(); }
  std::string ReadSettings(std::string_view key) override { return server_.ReadSettings(key); }
  void WriteSettings(std::string_view key, std::string_view text) override {
    server_.WriteSettings(key, text);
  }
  int GetFormRights(std::string_view formClass) override {
    return server_.GetFormRights(formClass);
  }

 private:
  quil::IAppServer& server_;
};

//! A user's session on a site seeded with the two institutions and `seed`.
struct Site {
  explicit Site(std::initializer_list<const char*> seed) {
    for (const char* sql : seed) server->db().ExecuteScript(sql);
    quil::server::SyncGenerators(server->db());
    app.SetAdminPrefs(prefs);
  }

  //! The codes stored, one line per code: institution, code, description, colour (hex),
  //! flags, both statuses, changed by.
  std::string Stored() {
    auto stmt = server->db().Prepare(
        "SELECT VAC_INSTELLING_FK, VAC_CODE, VAC_OMSCHRIJVING, VAC_KLEUR, VAC_FLAGS, "
        "VAC_PARTICIPATIESTATUS_FK, VAC_PARTICIPATIESTATUSBEV_FK, VAC_VERANDERDDOOR "
        "FROM VWOAFWEZIGHEIDSCODE ORDER BY VAC_INSTELLING_FK, VAC_CODE");
    std::string out;
    while (stmt->Step()) {
      auto text = [&](int column) {
        return stmt->ColumnStorage(column) == quil::server::StorageClass::Null
                   ? std::string("null")
                   : std::string(stmt->ColumnText(column));
      };
      char kleur[16];
      std::snprintf(kleur, sizeof kleur, "%08X", static_cast<uint32_t>(stmt->ColumnInt64(3)));
      out += text(0) + " " + text(1) + " " + text(2) + " " + kleur + " " + text(4) + " " + text(5) +
             " " + text(6) + " " + text(7) + "\n";
    }
    return out;
  }

  TVWOAfwezigheidsCodesForm* Open() {
    return dynamic_cast<TVWOAfwezigheidsCodesForm*>(app.OpenForm("TVWOAfwezigheidsCodesForm"));
  }
  quil::TBrowseVWOInstellingForm& Browser(quil::TQuilDBForm& form) {
    return dynamic_cast<quil::TBrowseVWOInstellingForm&>(*form.MasterForm());
  }

  std::unique_ptr<quil::server::AppServer> server = InstitutionsServer();
  CountingServer counting{*server};
  quil::TDMQuil dm{counting};
  quil::ScriptedDialogs dialogs;
  quil::TQuilApplication app{dm, dialogs};
  std::shared_ptr<quil::AdminPrefs> prefs = std::make_shared<quil::AdminPrefs>();
};

class AfwezigheidscodesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (quil::FormManager().FormClassCount() == 0) QuilModuleEntry();
  }
};

TEST_F(AfwezigheidscodesTest, YesStoresTheFourStandardCodesInOneApply) {
  Site site({kStatussen});
  site.dialogs.AnswerYes();
  TVWOAfwezigheidsCodesForm* form = site.Open();
  ASSERT_NE(form, nullptr) << site.dialogs.Transcript();
  EXPECT_EQ(site.dialogs.Transcript(), std::string(kVraag) + " -> Ja\n");
  EXPECT_EQ(site.Stored(),
            "1 A Afwezig 000000FF 0 102 102 1\n"
            "1 L Te laat 0000FFFF 0 101 101 1\n"
            "1 V Verwittigd afwezig 004080FF 0 103 103 1\n"
            "1 X Aanwezig FF000005 0 101 101 1\n");
  EXPECT_EQ(site.counting.applies, std::vector<std::string>{"DSPVWOAfwezigheidsCodes:4"});
  quil::TQuilClientDataSet& codes = form->CDSVWOAfwezigheidsCodes;
  EXPECT_EQ(codes.ChangeCount(), 0);
  EXPECT_EQ(codes.State(), quil::DataSetState::Browse);
  EXPECT_FALSE(codes.ControlsDisabled());
  EXPECT_FALSE(codes.GetBulkChange());
  ASSERT_EQ(codes.RecordCount(), 4);
  EXPECT_EQ(codes.FieldByName("VAC_CODE").AsString(), "A");
  EXPECT_EQ(form->BtnKleur.SelectedColor(), quil::clRed);
}

// Both statuses are required: without a standard status no standard code is made, and the user
// learns which status is missing.
TEST_F(AfwezigheidscodesTest, AMissingStandardStatusRefusesTheStandardCodes) {
  Site site({kStatussenZonderAfwezig});
  site.dialogs.AnswerYes();
  TVWOAfwezigheidsCodesForm* form = site.Open();
  ASSERT_NE(form, nullptr) << site.dialogs.Transcript();
  EXPECT_EQ(site.dialogs.Transcript(),
            std::string(kVraag) +
                " -> Ja\nerror: De standaard codes kunnen niet gegenereerd worden.\r\nDeze "
                "statussen participatie Davinci ontbreken: AFWEZIG\n");
  EXPECT_EQ(site.Stored(), "");
  EXPECT_TRUE(site.counting.applies.empty());
  quil::TQuilClientDataSet& codes = form->CDSVWOAfwezigheidsCodes;
  EXPECT_EQ(codes.RecordCount(), 0);
  EXPECT_EQ(codes.State(), quil::DataSetState::Browse);

  // The table itself holds no code without its statuses.
  EXPECT_THROW(site.server->db().ExecuteScript(
                   "INSERT INTO VWOAFWEZIGHEIDSCODE (VAC_ID, VAC_INSTELLING_FK, VAC_CODE, "
                   "VAC_OMSCHRIJVING, VAC_KLEUR, VAC_PARTICIPATIESTATUSBEV_FK, "
                   "VAC_VERANDERDDOOR, VAC_VERANDERDOP) "
                   "VALUES (9, 1, 'Z', 'Zonder', 0, 101, 1, '2025-09-01 08:00:00')"),
               std::exception);
}

TEST_F(AfwezigheidscodesTest, AnInstitutionWithoutCodesIsAskedEachTimeItsCodesOpen) {
  Site site({kStatussen, kCodesVanInstelling2});
  site.dialogs.AnswerNo();
  TVWOAfwezigheidsCodesForm* form = site.Open();
  ASSERT_NE(form, nullptr) << site.dialogs.Transcript();
  EXPECT_TRUE(form->CDSVWOAfwezigheidsCodes.IsEmpty());
  quil::TBrowseVWOInstellingForm& browser = site.Browser(*form);

  // Institution 2 has codes: nothing is asked. Back to institution 1: asked again.
  ASSERT_EQ(site.app.MoveTo(browser, "DSBrowseVWOinstelling", 2), TEventResult::Done);
  EXPECT_EQ(form->CDSVWOAfwezigheidsCodes.RecordCount(), 2);
  site.dialogs.AnswerNo();
  ASSERT_EQ(site.app.MoveTo(browser, "DSBrowseVWOinstelling", 1), TEventResult::Done);
  EXPECT_TRUE(form->CDSVWOAfwezigheidsCodes.IsEmpty());

  // A search that leaves no institution gives the codes no institution (IS_ID 0): no question.
  ASSERT_EQ(site.app.SetValue(browser, "EdtZoeken", "geen zulke instelling"), TEventResult::Done);
  EXPECT_TRUE(form->CDSVWOAfwezigheidsCodes.Active());
  EXPECT_TRUE(form->CDSVWOAfwezigheidsCodes.IsEmpty());

  // Clearing the search brings institution 1 back, and the question; this time the user says Yes.
  site.dialogs.AnswerYes();
  ASSERT_EQ(site.app.SetValue(browser, "EdtZoeken", ""), TEventResult::Done);
  EXPECT_EQ(site.dialogs.Transcript(),
            std::string(kVraag) + " -> Nee\n" + kVraag + " -> Nee\n" + kVraag + " -> Ja\n");
  EXPECT_EQ(site.Stored(),
            "1 A Afwezig 000000FF 0 102 102 1\n"
            "1 L Te laat 0000FFFF 0 101 101 1\n"
            "1 V Verwittigd afwezig 004080FF 0 103 103 1\n"
            "1 X Aanwezig FF000005 0 101 101 1\n"
            "2 A Afwezig 000000FF 2 102 102 1\n"
            "2 X Aanwezig FF000005 0 101 101 1\n");
  EXPECT_EQ(site.dialogs.Unused(), 0);
}

TEST_F(AfwezigheidscodesTest, ReopeningTheScreenAsksAgain) {
  Site site({kStatussen});
  site.dialogs.AnswerNo();
  TVWOAfwezigheidsCodesForm* form = site.Open();
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(site.app.CloseForm(*form));
  site.dialogs.AnswerNo();
  ASSERT_NE(site.Open(), nullptr);
  EXPECT_EQ(site.dialogs.Transcript(), std::string(kVraag) + " -> Nee\n" + kVraag + " -> Nee\n");
  EXPECT_EQ(site.Stored(), "");
  EXPECT_TRUE(site.counting.applies.empty());
}

TEST_F(AfwezigheidscodesTest, ANewCodeStartsInTheWindowColourWithoutFlags) {
  Site site({kStatussen, kCodesVanInstelling2});
  site.prefs->SetDavinciKleur(0xFFE0A0);
  site.dialogs.AnswerNo();
  TVWOAfwezigheidsCodesForm* form = site.Open();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->LCParticipatieStatus.Color, 0xFFE0A0);
  ASSERT_EQ(site.app.MoveTo(site.Browser(*form), "DSBrowseVWOinstelling", 2), TEventResult::Done);
  ASSERT_EQ(site.app.MoveTo(*form, "DSAfwezigheidscodes", 1), TEventResult::Done);  // red "A"
  EXPECT_EQ(form->BtnKleur.SelectedColor(), quil::clRed);

  ASSERT_EQ(site.app.DataSetCommand(*form, "DSAfwezigheidscodes", TDataSetCommand::Append),
            TEventResult::Done);
  quil::TQuilClientDataSet& codes = form->CDSVWOAfwezigheidsCodes;
  EXPECT_EQ(codes.FieldByName("VAC_KLEUR").AsInteger(), quil::clWindow);
  EXPECT_EQ(codes.FieldByName("VAC_FLAGS").AsInteger(), 0);
  EXPECT_EQ(form->BtnKleur.SelectedColor(), quil::clWindow);
  for (auto [control, value] : {std::pair{"EdtCode", "Z"},
                                {"EdtOmschrijving", "Ziek"},
                                {"LCParticipatieStatus", "104"},
                                {"CBInvulbaarViaLeerpost", "1"}}) {
    ASSERT_EQ(site.app.SetValue(*form, control, value), TEventResult::Done)
        << control << ": " << site.dialogs.Transcript();
  }
  EXPECT_EQ(codes.FieldByName("PARTICIPATIESTATUS").AsString(), "Gewettigd afwezig");
  // The second status is required as well.
  EXPECT_EQ(site.app.DataSetCommand(*form, "DSAfwezigheidscodes", TDataSetCommand::Post),
            TEventResult::ClientError);
  EXPECT_EQ(site.dialogs.Texts("error"),
            std::vector<std::string>{"Veld 'Tweede status participatie' moet een waarde hebben"});
  ASSERT_EQ(site.app.SetValue(*form, "LCParticipatieStatusBev", "103"), TEventResult::Done);
  ASSERT_EQ(site.app.DataSetCommand(*form, "DSAfwezigheidscodes", TDataSetCommand::Post),
            TEventResult::Done)
      << site.dialogs.Transcript();
  EXPECT_EQ(site.Stored(),
            "2 A Afwezig 000000FF 2 102 102 1\n"
            "2 X Aanwezig FF000005 0 101 101 1\n"
            "2 Z Ziek FF000005 2 104 103 1\n");
}

// The first code of an institution: the list is empty while the new code is being typed.
TEST_F(AfwezigheidscodesTest, TheColourChosenForTheFirstNewCodeIsStoredWithIt) {
  Site site({kStatussen});
  site.dialogs.AnswerNo();
  TVWOAfwezigheidsCodesForm* form = site.Open();
  ASSERT_NE(form, nullptr);
  // A colour chosen before there is a code colours nothing and starts no code.
  ASSERT_EQ(site.app.SetValue(*form, "BtnKleur", "#00ff00"), TEventResult::Done);
  EXPECT_EQ(form->CDSVWOAfwezigheidsCodes.State(), quil::DataSetState::Browse);
  EXPECT_EQ(form->CDSVWOAfwezigheidsCodes.RecordCount(), 0);
  EXPECT_EQ(form->BtnKleur.SelectedColor(), quil::clWindow);
  form->SetRights(1 | 4);  // may add codes, not change them: the new code takes its colour
  ASSERT_EQ(site.app.DataSetCommand(*form, "DSAfwezigheidscodes", TDataSetCommand::Append),
            TEventResult::Done);
  for (auto [control, value] : {std::pair{"EdtCode", "Z"},
                                {"EdtOmschrijving", "Ziek"},
                                {"BtnKleur", "#ff8040"},
                                {"LCParticipatieStatus", "104"},
                                {"LCParticipatieStatusBev", "103"}}) {
    ASSERT_EQ(site.app.SetValue(*form, control, value), TEventResult::Done)
        << control << ": " << site.dialogs.Transcript();
  }
  EXPECT_EQ(form->CDSVWOAfwezigheidsCodes.State(), quil::DataSetState::Insert);
  ASSERT_EQ(site.app.DataSetCommand(*form, "DSAfwezigheidscodes", TDataSetCommand::Post),
            TEventResult::Done)
      << site.dialogs.Transcript();
  EXPECT_EQ(site.Stored(), "1 Z Ziek 004080FF 0 104 103 1\n");
  EXPECT_EQ(form->BtnKleur.SelectedColor(), 0x004080FF);
}

TEST_F(AfwezigheidscodesTest, AChosenColourGoesIntoTheCodeWhenItMayBeEdited) {
  Site site({kStatussen, kCodesVanInstelling2});
  site.dialogs.AnswerNo();
  TVWOAfwezigheidsCodesForm* form = site.Open();
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(site.app.MoveTo(site.Browser(*form), "DSBrowseVWOinstelling", 2), TEventResult::Done);
  quil::TQuilClientDataSet& codes = form->CDSVWOAfwezigheidsCodes;
  const std::string before = site.Stored();

  // The button follows the record the user moves to.
  ASSERT_EQ(site.app.MoveTo(*form, "DSAfwezigheidscodes", 2), TEventResult::Done);  // "X"
  EXPECT_EQ(form->BtnKleur.SelectedColor(), quil::clWindow);
  ASSERT_EQ(site.app.MoveTo(*form, "DSAfwezigheidscodes", 1), TEventResult::Done);  // "A"
  EXPECT_EQ(form->BtnKleur.SelectedColor(), quil::clRed);

  // Read-only: the choice is not taken and the button shows the code's colour again.
  form->SetReadOnly(true);
  EXPECT_EQ(site.app.SetValue(*form, "BtnKleur", "#ff8040"), TEventResult::Done);
  EXPECT_EQ(codes.State(), quil::DataSetState::Browse);
  EXPECT_EQ(codes.FieldByName("VAC_KLEUR").AsInteger(), quil::clRed);
  EXPECT_EQ(form->BtnKleur.SelectedColor(), quil::clRed);
  form->SetReadOnly(false);

  // A colour chosen and cancelled: the button goes back with the record.
  ASSERT_EQ(site.app.SetValue(*form, "BtnKleur", "#00ff00"), TEventResult::Done);
  EXPECT_EQ(codes.State(), quil::DataSetState::Edit);
  ASSERT_EQ(site.app.DataSetCommand(*form, "DSAfwezigheidscodes", TDataSetCommand::Cancel),
            TEventResult::Done);
  EXPECT_EQ(form->BtnKleur.SelectedColor(), quil::clRed);
  EXPECT_EQ(site.Stored(), before);

  // Chosen and posted: orange is stored in blue-green-red order.
  ASSERT_EQ(site.app.SetValue(*form, "BtnKleur", "#ff8040"), TEventResult::Done);
  EXPECT_EQ(codes.State(), quil::DataSetState::Edit);
  ASSERT_EQ(site.app.DataSetCommand(*form, "DSAfwezigheidscodes", TDataSetCommand::Post),
            TEventResult::Done);
  EXPECT_EQ(site.Stored(),
            "2 A Afwezig 004080FF 2 102 102 1\n"
            "2 X Aanwezig FF000005 0 101 101 1\n");
  EXPECT_EQ(form->BtnKleur.SelectedColor(), 0x004080FF);
  EXPECT_EQ(site.dialogs.Transcript(), std::string(kVraag) + " -> Nee\n");
}

}  // namespace
}  // namespace kavel::testing
