// The lesson materials screen: what a new material starts with, the account it must be booked on
// where the site uses general ledger accounts, and the screen without them; checked against what
// the server stores.
#include <algorithm>

#include "module/ScreenTest.h"
#include "reference/frmVWOMaterialen.h"

namespace kavel::testing {
namespace {

using quil::TDataSetCommand;
using quil::TEventResult;

//! The site's accounts make way for each test's; its materials stay, without an account.
constexpr const char* kZonderDemoRekeningen = R"sql(
  UPDATE VWOMATERIAAL SET VWM_ZEVENREKENING_FK = NULL;
  DELETE FROM PARAM WHERE P_TYPE = 'ALREK';
  DELETE FROM DBPARAM WHERE DBP_NAAM = 'ALGEMENEREKENINGEN';
)sql";

//! The default entry (code "?") has key 0, a key like any other.
constexpr const char* kRekeningen = R"sql(
  INSERT INTO PARAM (P_ID, P_TYPE, P_CODE, P_OMSCHRIJVING, P_VOLGORDE) VALUES
    (0, 'ALREK', '?', 'Geen algemene rekening', 0),
    (9202, 'ALREK', '700000', 'Inschrijvingsgelden', 1),
    (9203, 'ALREK', '701000', 'Verkoop cursusmateriaal', 2);
)sql";

//! Accounts without a default entry: a new material has no account.
constexpr const char* kRekeningenZonderStandaard = R"sql(
  INSERT INTO PARAM (P_ID, P_TYPE, P_CODE, P_OMSCHRIJVING, P_VOLGORDE) VALUES
    (9202, 'ALREK', '700000', 'Inschrijvingsgelden', 1),
    (9203, 'ALREK', '701000', 'Verkoop cursusmateriaal', 2);
)sql";

constexpr const char* kMetRekeningen = R"sql(
  INSERT INTO DBPARAM (DBP_ID, DBP_NAAM, DBP_WAARDE, DBP_TYPE)
    VALUES (9001, 'ALGEMENEREKENINGEN', '+', 'Boolean');
)sql";

constexpr const char* kZonderRekeningen = R"sql(
  INSERT INTO DBPARAM (DBP_ID, DBP_NAAM, DBP_WAARDE, DBP_TYPE)
    VALUES (9001, 'ALGEMENEREKENINGEN', '-', 'Boolean');
)sql";

constexpr const char* kKiesRekening =
    "error: Gelieve een 'Algemene Rekening' te selecteren a.u.b..\n";

class MaterialenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadModule(); }

  //! A session on a site seeded with `seed` (read before the session asks for anything).
  struct Site {
    explicit Site(const std::vector<const char*>& seed) {
      server->db().ExecuteScript(kZonderDemoRekeningen);
      for (const char* sql : seed) server->db().ExecuteScript(sql);
      quil::server::SyncGenerators(server->db());
    }

    //! The material the tests add, as stored: institution, code, description, price, flags,
    //! account, web text, changed by.
    std::string Stored() {
      return QueryText(
          server->db(),
          "SELECT VWM_INSTELLING_FK, VWM_CODE, VWM_OMSCHRIJVING, VWM_PRIJS, VWM_FLAGS, "
          "VWM_ZEVENREKENING_FK, VWM_WEBTEKST, VWM_VERANDERDDOOR FROM VWOMATERIAAL "
          "WHERE VWM_CODE = 'BOEK' ORDER BY VWM_INSTELLING_FK");
    }

    TVWOMaterialenForm* Open() {
      return dynamic_cast<TVWOMaterialenForm*>(app.OpenForm("TVWOMaterialenForm"));
    }

    //! Appends a material and types its code, description and price as the user does.
    void Nieuw(TVWOMaterialenForm& form) {
      ASSERT_EQ(app.DataSetCommand(form, "DSVWOMaterialen", TDataSetCommand::Append),
                TEventResult::Done);
      for (auto [control, value] :
           {std::pair{"EdtCode", "BOEK"}, {"EdtOmschrijving", "Handboek"}, {"EdtPrijs", "12,5"}}) {
        ASSERT_EQ(app.SetValue(form, control, value), TEventResult::Done)
            << control << ": " << dialogs.Transcript();
      }
    }

    TEventResult Post(TVWOMaterialenForm& form) {
      return app.DataSetCommand(form, "DSVWOMaterialen", TDataSetCommand::Post);
    }

    std::unique_ptr<quil::server::AppServer> server = NewDemoServer();
    Session session{*server};
    quil::TQuilApplication& app = session.app;
    quil::ScriptedDialogs& dialogs = session.dialogs;
  };
};

bool ColumnShown(const quil::TDBGrid& grid, const std::string& field) {
  auto columns = grid.VisibleColumns();
  return std::any_of(columns.begin(), columns.end(),
                     [&](const quil::TColumn& column) { return column.FieldName == field; });
}

TEST_F(MaterialenTest, ANewMaterialIsActiveChargedEveryTimeAndOnTheDefaultAccount) {
  Site site({kRekeningen, kMetRekeningen});
  TVWOMaterialenForm* form = site.Open();
  ASSERT_NE(form, nullptr) << site.dialogs.Transcript();
  ASSERT_TRUE(form->AlgemeneRekeningen());
  site.Nieuw(*form);
  EXPECT_EQ(form->CBActief.ValueText(), "1");
  EXPECT_EQ(form->CBEenmaalAanrekenen.ValueText(), "0");
  EXPECT_EQ(form->LCAlgemeneRekening.DisplayText(), "Geen algemene rekening");
  EXPECT_EQ(form->EdtPrijs.ValueText(), "12,50");
  ASSERT_EQ(site.Post(*form), TEventResult::Done) << site.dialogs.Transcript();
  EXPECT_EQ(site.Stored(), "2 | BOEK | Handboek | 12.5 | 8 | 0 | null | 1\n");

  // The check boxes are the bits of the flags; the account and the web text are the user's.
  for (auto [control, value] : {std::pair{"CBEenmaalAanrekenen", "1"},
                                {"CBActief", "0"},
                                {"LCAlgemeneRekening", "9203"},
                                {"EdtWebtekst", "Eerste regel\r\nTweede regel"}}) {
    ASSERT_EQ(site.app.SetValue(*form, control, value), TEventResult::Done)
        << control << ": " << site.dialogs.Transcript();
  }
  EXPECT_EQ(form->CDSVWOMaterialen.FieldByName("ALGEMENEREKENING").AsString(),
            "Verkoop cursusmateriaal");
  ASSERT_EQ(site.Post(*form), TEventResult::Done) << site.dialogs.Transcript();
  EXPECT_EQ(site.Stored(),
            "2 | BOEK | Handboek | 12.5 | 1 | 9203 | Eerste regel\r\nTweede regel | 1\n");
  EXPECT_EQ(site.dialogs.Transcript(), "");
}

TEST_F(MaterialenTest, WithAccountsAMaterialWithoutOneIsRefused) {
  struct Case {
    const char* name;
    const char* rekeningen;
    const char* kiesLeeg;  //!< value the user gives the account first; nullptr: untouched
  } cases[] = {
      {"no default account in the list", kRekeningenZonderStandaard, nullptr},
      {"the default account cleared", kRekeningen, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Site site({c.rekeningen, kMetRekeningen});
    TVWOMaterialenForm* form = site.Open();
    ASSERT_NE(form, nullptr) << site.dialogs.Transcript();
    site.Nieuw(*form);
    if (c.kiesLeeg != nullptr) {
      ASSERT_EQ(site.app.SetValue(*form, "LCAlgemeneRekening", c.kiesLeeg), TEventResult::Done);
    }
    form->SetFocus(form->EdtCode);
    EXPECT_EQ(site.Post(*form), TEventResult::ClientError);
    EXPECT_EQ(site.dialogs.Transcript(), kKiesRekening);
    EXPECT_EQ(form->ActiveControl, &form->LCAlgemeneRekening);
    EXPECT_EQ(form->CDSVWOMaterialen.State(), quil::DataSetState::Insert);
    EXPECT_EQ(site.Stored(), "");

    ASSERT_EQ(site.app.SetValue(*form, "LCAlgemeneRekening", "9202"), TEventResult::Done);
    ASSERT_EQ(site.Post(*form), TEventResult::Done) << site.dialogs.Transcript();
    EXPECT_EQ(site.Stored(), "2 | BOEK | Handboek | 12.5 | 8 | 9202 | null | 1\n");
  }
}

TEST_F(MaterialenTest, WithoutAccountsTheAccountIsHiddenAndNotDemanded) {
  struct Case {
    const char* name;
    std::vector<const char*> seed;
  } cases[] = {
      {"parameter absent", {kRekeningenZonderStandaard}},
      {"parameter off", {kRekeningenZonderStandaard, kZonderRekeningen}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Site site(c.seed);
    TVWOMaterialenForm* form = site.Open();
    ASSERT_NE(form, nullptr) << site.dialogs.Transcript();
    EXPECT_FALSE(form->AlgemeneRekeningen());
    EXPECT_FALSE(form->LCAlgemeneRekening.Visible);
    EXPECT_FALSE(ColumnShown(form->GridMaterialen, "ALGEMENEREKENING"));
    EXPECT_TRUE(ColumnShown(form->GridMaterialen, "VWM_PRIJS"));
    site.Nieuw(*form);
    EXPECT_EQ(site.app.SetValue(*form, "LCAlgemeneRekening", "9202"), TEventResult::Refused);
    ASSERT_EQ(site.Post(*form), TEventResult::Done) << site.dialogs.Transcript();
    EXPECT_EQ(site.Stored(), "2 | BOEK | Handboek | 12.5 | 8 | null | null | 1\n");
    EXPECT_EQ(site.dialogs.Transcript(), "");
  }
}

}  // namespace
}  // namespace kavel::testing
