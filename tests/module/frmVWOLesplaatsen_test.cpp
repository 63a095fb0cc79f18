// The lesson places screen as a user works with it: the official place and its number guard every
// post, the take-over fills a place from its official place, and the official places offered are
// those of the place's location.
#include "reference/frmVWOLesplaatsen.h"
#include "host/forms/BrowseVWOInstellingForm.h"
#include "module/ModuleFixture.h"

namespace kavel::testing {
namespace {

using quil::DataSetState;
using quil::TDataSetCommand;
using quil::TEventResult;

constexpr const char* kGeenOffLesplaats =
    "De officiële lesplaats moet ingevuld zijn.\r\nIndien de verwachte lesplaats niet in de lijst "
    "met officiële lesplaatsen staat\r\nmoet de taxonomie vernieuwd worden.";
constexpr const char* kNummerOngelijk =
    "Lesplaatsnummer moet gelijk zijn aan lesplaatsnummer officiële lesplaats";
constexpr const char* kNummerVerschillend =
    "Huidige lesplaatsnummer is verschillend van officiële lesplaatsnummer";

// Institution 1 has the locations Hoofdgebouw (21, Davinci location 101) and Filiaal (22, 102);
// institution 2 has Het Veld (23, 103) and Annex (24, 104, no official places). Each list of
// locations starts with the one its first place does not stand at. Official place 502 has no name
// and a street of 60 characters; 504 is cancelled. Place 1001 stands at Filiaal, 1002 at
// Hoofdgebouw without an official place.
class LesplaatsenTest : public ModuleTest {
 protected:
  void SetUp() override {
    server->db().ExecuteScript(R"sql(
      INSERT INTO GEMEENTE (GM_ID, GM_POSTNUMMER, GM_DEELGEMEENTE, GM_HOOFDGEMEENTE)
        VALUES (1, '9000', 'Gent', 'Gent'), (2, '9030', 'Mariakerke', 'Gent'),
               (3, '2000', 'Antwerpen', 'Antwerpen');
      INSERT INTO VWOVESTIGINGSPLAATS (VVP_ID, VVP_SCHOOL_FK, VVP_CODE)
        VALUES (101, 11, 'A1'), (102, 11, 'B1'), (103, 12, 'C1'), (104, 12, 'D1');
      INSERT INTO VESTIGINGSPLAATS (VP_ID, VP_INSTELLING_FK, VP_CODE, VP_NAAM,
                                    VP_VWOVESTIGINGSPLAATS_FK)
        VALUES (21, 1, 'HG', 'Hoofdgebouw', 101), (22, 1, 'ZF', 'Filiaal', 102),
               (23, 2, 'HV', 'Het Veld', 103), (24, 2, 'AN', 'Annex', 104);
      INSERT INTO VWOOFFLESPLAATS (VOLP_ID, VOLP_VWOVESTIGINGSPLAATS_FK, VOLP_CODE, VOLP_NAAM,
                                   VOLP_STRAAT, VOLP_HUISNUMMER, VOLP_BUSNUMMER,
                                   VOLP_CRABHUISNUMMER, VOLP_GEMEENTE_FK, VOLP_GEANNULEERD)
        VALUES (502, 101, '015', NULL,
                'Églisestraat-Sint-Pieters-en-nog-veel-meer-tekst-tot-zestig!', '123456',
                'bus123', NULL, 2, '-'),
               (501, 101, '012', 'Campus Noord', 'Noordstraat', '12', 'A', '123456', 1, '-'),
               (504, 101, '014', 'Gesloten', 'Weg', '1', NULL, NULL, 1, '+'),
               (503, 102, '020', 'Filiaal Zuid', 'Zuidlaan', '3', NULL, '654321', 3, '-'),
               (505, 103, '001', 'Het Veld', 'Veldweg', '9', NULL, NULL, 3, '-');
      INSERT INTO VWOLESPLAATS (VLP_ID, VLP_INSTELLING_FK, VLP_NUMMER, VLP_CRABCODE,
                                VLP_OMSCHRIJVING, VLP_STRAAT, VLP_STRAATNR, VLP_STRAATBUS,
                                VLP_GEMEENTE_FK, VLP_VESTIGINGSPLAATS_FK, VLP_TYPERECORD,
                                VLP_VWOOFFLESPLAATS_FK, VLP_VERANDERDDOOR, VLP_VERANDERDOP)
        VALUES (1001, 1, 20, '654321', 'Filiaal Zuid', 'Zuidlaan', '3', NULL, 3, 22, 'U', 503, 1,
                '2026-01-05 10:00:00'),
               (1002, 1, 30, '999', 'Oud gebouw', NULL, NULL, NULL, NULL, 21, 'D', NULL, 1,
                '2026-01-05 10:00:00'),
               (1003, 2, 1, '1', 'Het Veld', NULL, NULL, NULL, NULL, 23, 'U', 505, 1,
                '2026-01-05 10:00:00');
    )sql");
    quil::server::SyncGenerators(server->db());
    form = dynamic_cast<TVWOLesplaatsenForm*>(app.OpenForm("TVWOLesplaatsenForm"));
    ASSERT_NE(form, nullptr) << dialogs.Transcript();
    ASSERT_EQ(dialogs.Transcript(), "");
  }

  TEventResult Set(const char* control, const char* value) {
    return app.SetValue(*form, control, value);
  }
  TEventResult Command(TDataSetCommand command) {
    return app.DataSetCommand(*form, "DSVWOLesplaats", command);
  }
  //! A new place at Hoofdgebouw with an address code, as a user starts one.
  void StartNewPlace() {
    ASSERT_EQ(Command(TDataSetCommand::Append), TEventResult::Done);
    ASSERT_EQ(Set("LCVestigingsplaats", "21"), TEventResult::Done);
    ASSERT_EQ(Set("EdtCRABCode", "777"), TEventResult::Done);
  }
  std::string LastError() const {
    auto errors = dialogs.Texts("error");
    return errors.empty() ? "" : errors.back();
  }
  DataSetState State() const { return form->CDSVWOLesplaats.State(); }
  std::string Field(const char* name) const {
    return form->CDSVWOLesplaats.FieldByName(name).AsString();
  }
  //! The official codes offered, in list order.
  std::string Offered() const {
    std::string codes;
    quil::TQuilClientDataSet& list = form->CDSSelectVWOOffLesplaats;
    for (int position = 0; position < list.RecordCount(); ++position) {
      codes += list.RowAt(position)[list.FieldByName("VOLP_CODE").Index()].AsString() + " ";
    }
    return codes;
  }
  //! Institution 1's places as stored: number, CRAB, description, street, number, box,
  //! municipality, location, type, official place ("~" for null).
  std::string Stored() const {
    auto stmt = server->db().Prepare(
        "SELECT VLP_NUMMER, VLP_CRABCODE, VLP_OMSCHRIJVING, VLP_STRAAT, VLP_STRAATNR, "
        "VLP_STRAATBUS, VLP_GEMEENTE_FK, VLP_VESTIGINGSPLAATS_FK, VLP_TYPERECORD, "
        "VLP_VWOOFFLESPLAATS_FK, VLP_VERANDERDDOOR FROM VWOLESPLAATS "
        "WHERE VLP_INSTELLING_FK = 1 ORDER BY VLP_NUMMER");
    std::string out;
    while (stmt->Step()) {
      for (int column = 0; column < stmt->ColumnCount(); ++column) {
        if (column > 0) out += '|';
        out += stmt->ColumnStorage(column) == quil::server::StorageClass::Null
                   ? "~"
                   : std::string(stmt->ColumnText(column));
      }
      out += '\n';
    }
    return out;
  }

  const std::string storedAtStart =
      "20|654321|Filiaal Zuid|Zuidlaan|3|~|3|22|U|503|1\n"
      "30|999|Oud gebouw|~|~|~|~|21|D|~|1\n";
  TVWOLesplaatsenForm* form = nullptr;
};

TEST_F(LesplaatsenTest, APlacePostsOnlyWithAnOfficialPlaceOfTheSameNumber) {
  struct Case {
    const char* name;
    const char* number;
    const char* official;  //!< "" for none
    const char* error;     //!< "" when the place posts
  } cases[] = {
      {"no official place", "12", "", kGeenOffLesplaats},
      {"another number", "13", "501", kNummerOngelijk},
      {"no number", "", "501", kNummerOngelijk},
      {"12 and 012 are one number", "12", "501", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.Clear();
    StartNewPlace();
    ASSERT_EQ(Set("EdtNummer", c.number), TEventResult::Done);
    if (*c.official != '\0') {
      ASSERT_EQ(Set("LCOffLesplaats", c.official), TEventResult::Done);
    }
    const TEventResult posted = Command(TDataSetCommand::Post);
    if (*c.error != '\0') {
      EXPECT_EQ(posted, TEventResult::ClientError);
      EXPECT_EQ(LastError(), c.error);
      EXPECT_EQ(State(), DataSetState::Insert) << "the new place stays for the user to finish";
      EXPECT_EQ(Stored(), storedAtStart);
      ASSERT_EQ(Command(TDataSetCommand::Cancel), TEventResult::Done);
    } else {
      EXPECT_EQ(posted, TEventResult::Done) << dialogs.Transcript();
      EXPECT_EQ(State(), DataSetState::Browse);
      EXPECT_EQ(Stored(), "12|777|~|~|~|~|~|21|U|501|1\n" + storedAtStart);
    }
  }
  EXPECT_EQ(form->ActiveControl, &form->EdtNummer) << "the number was the last one refused";
}

TEST_F(LesplaatsenTest, TakeOverFillsTheNewPlaceFromTheOfficialPlaceWithoutPostingIt) {
  StartNewPlace();
  ASSERT_EQ(Set("EdtOmschrijving", "Eigen naam"), TEventResult::Done);
  ASSERT_EQ(Set("FrameGemeente", "3"), TEventResult::Done);
  EXPECT_EQ(Field("VLP_POSTCODE") + " " + Field("VLP_GEMEENTE"), "2000 Antwerpen");
  ASSERT_EQ(Set("LCOffLesplaats", "502"), TEventResult::Done);
  ASSERT_EQ(app.Execute(*form, "AOvername"), TEventResult::Done) << dialogs.Transcript();

  EXPECT_EQ(State(), DataSetState::Insert);
  EXPECT_EQ(Stored(), storedAtStart);
  // The official place has no name and no address code: description and code stay; the rest is
  // cut to the place's sizes.
  EXPECT_EQ(Field("VLP_NUMMER"), "15");
  EXPECT_EQ(Field("VLP_OMSCHRIJVING"), "Eigen naam");
  EXPECT_EQ(Field("VLP_CRABCODE"), "777");
  EXPECT_EQ(Field("VLP_STRAAT"), "Églisestraat-Sint-Pieters-en-nog-veel-meer-tekst-t");
  EXPECT_EQ(Field("VLP_STRAATNR"), "12345");
  EXPECT_EQ(Field("VLP_STRAATBUS"), "bus1");
  // The municipality shown follows the official one.
  EXPECT_EQ(Field("VLP_POSTCODE") + " " + Field("VLP_GEMEENTE"), "9030 Mariakerke");
  EXPECT_EQ(form->FrameGemeente.DisplayText(), "9030 Mariakerke");

  ASSERT_EQ(Command(TDataSetCommand::Post), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(Stored(),
            "15|777|Eigen naam|Églisestraat-Sint-Pieters-en-nog-veel-meer-tekst-t|12345|bus1|2|21|"
            "U|502|1\n" +
                storedAtStart);
}

TEST_F(LesplaatsenTest, TakeOverOfAStoredPlaceEditsItAndRefusesAnotherNumber) {
  // Place 1001 (number 20) and its official place 503 ("020").
  ASSERT_EQ(Set("EdtStraat", "Oude straat"), TEventResult::Done);
  ASSERT_EQ(Command(TDataSetCommand::Post), TEventResult::Done);
  ASSERT_EQ(State(), DataSetState::Browse);
  ASSERT_EQ(app.Execute(*form, "AOvername"), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(State(), DataSetState::Edit);
  EXPECT_EQ(Field("VLP_STRAAT"), "Zuidlaan");
  EXPECT_EQ(Field("VLP_NUMMER"), "20");
  EXPECT_EQ(Field("VLP_CRABCODE"), "654321");
  EXPECT_EQ(Field("VLP_GEMEENTE"), "Antwerpen");
  ASSERT_EQ(Command(TDataSetCommand::Cancel), TEventResult::Done);

  ASSERT_EQ(Set("EdtNummer", "21"), TEventResult::Done);
  ASSERT_EQ(Set("EdtStraat", "Nieuwe straat"), TEventResult::Done);
  EXPECT_EQ(app.Execute(*form, "AOvername"), TEventResult::ClientError);
  EXPECT_EQ(LastError(), kNummerVerschillend);
  EXPECT_EQ(form->ActiveControl, &form->EdtNummer);
  EXPECT_EQ(State(), DataSetState::Edit);
  EXPECT_EQ(Field("VLP_STRAAT"), "Nieuwe straat") << "nothing was taken over";

  // A place without an official place has nothing to take over.
  ASSERT_EQ(Command(TDataSetCommand::Cancel), TEventResult::Done);
  ASSERT_EQ(app.MoveTo(*form, "DSVWOLesplaats", 2), TEventResult::Done);
  EXPECT_EQ(app.Execute(*form, "AOvername"), TEventResult::Refused);
  // Nor one whose official place is none of the institution's (505 is institution 2's), as an
  // import may have left it.
  server->db().ExecuteScript(
      "UPDATE VWOLESPLAATS SET VLP_VWOOFFLESPLAATS_FK = 505 WHERE VLP_ID = 1002");
  ASSERT_EQ(Command(TDataSetCommand::Refresh), TEventResult::Done);
  ASSERT_EQ(Field("VLP_VWOOFFLESPLAATS_FK"), "505");
  EXPECT_EQ(app.Execute(*form, "AOvername"), TEventResult::Refused);
  EXPECT_EQ(form->BtnOvername.Caption, "&Overname gegevens van officiële lesplaats");
  EXPECT_EQ(form->BtnOvername.Hint, "Neem alle gegevens over van de officiële lesplaats");
}

TEST_F(LesplaatsenTest, TheOfficialPlacesOfferedAreThoseOfThePlacesLocation) {
  auto* browser = dynamic_cast<quil::TBrowseVWOInstellingForm*>(form->MasterForm());
  ASSERT_NE(browser, nullptr);
  // Place 1001 at Filiaal; then 1002 at Hoofdgebouw, whose cancelled official place is left out.
  EXPECT_EQ(Offered(), "020 ");
  EXPECT_EQ(form->LCOffLesplaats.DisplayText(), "020 - Filiaal Zuid - Zuidlaan - 3");
  ASSERT_EQ(app.MoveTo(*form, "DSVWOLesplaats", 2), TEventResult::Done);
  EXPECT_EQ(Offered(), "012 015 ");
  EXPECT_EQ(Set("LCOffLesplaats", "503"), TEventResult::ClientError);

  // The user moves 1002 to Filiaal: its official places come along, and the list shows the name.
  ASSERT_EQ(Set("LCVestigingsplaats", "22"), TEventResult::Done);
  EXPECT_EQ(Offered(), "020 ");
  EXPECT_EQ(Field("VLP_VESTIGINGSPLAATS"), "Filiaal");
  ASSERT_EQ(Set("LCOffLesplaats", "503"), TEventResult::Done);
  ASSERT_EQ(Set("EdtNummer", "20"), TEventResult::Done);
  ASSERT_EQ(Command(TDataSetCommand::Post), TEventResult::Done) << dialogs.Transcript();

  // Cancelling a change of location puts the list back on the stored one.
  ASSERT_EQ(Set("LCVestigingsplaats", "21"), TEventResult::Done);
  EXPECT_EQ(Offered(), "012 015 ");
  ASSERT_EQ(Command(TDataSetCommand::Cancel), TEventResult::Done);
  EXPECT_EQ(Offered(), "020 ");

  // Another institution: its places, its locations and their official places.
  ASSERT_EQ(app.MoveTo(*browser, "DSBrowseVWOinstelling", 2), TEventResult::Done);
  EXPECT_EQ(form->CDSVWOLesplaats.RecordCount(), 1);
  EXPECT_EQ(form->CDSSelectVestiging.RecordCount(), 2);
  EXPECT_EQ(Offered(), "001 ");
  EXPECT_EQ(dialogs.Texts("error"), std::vector<std::string>{"'503' komt niet voor in de lijst"});
}

// The choice follows the place's location; a stored official place the choice no longer offers
// (cancelled since, or of another Davinci location) still shows, is kept and guards the number.
TEST_F(LesplaatsenTest, AStoredOfficialPlaceTheChoiceNoLongerOffersShowsAndStoresAgain) {
  server->db().ExecuteScript(
      "UPDATE VWOLESPLAATS SET VLP_NUMMER = 14, VLP_VWOOFFLESPLAATS_FK = 504 "
      "WHERE VLP_ID = 1002");
  auto* browser = dynamic_cast<quil::TBrowseVWOInstellingForm*>(form->MasterForm());
  ASSERT_NE(browser, nullptr);
  ASSERT_EQ(app.MoveTo(*browser, "DSBrowseVWOinstelling", 2), TEventResult::Done);
  ASSERT_EQ(app.MoveTo(*browser, "DSBrowseVWOinstelling", 1), TEventResult::Done);

  // 1002 at Hoofdgebouw: its official place 504 was cancelled.
  ASSERT_EQ(app.MoveTo(*form, "DSVWOLesplaats", 1), TEventResult::Done);
  ASSERT_EQ(Field("VLP_NUMMER"), "14");
  EXPECT_EQ(Offered(), "012 015 ");
  EXPECT_EQ(form->LCOffLesplaats.DisplayText(), "014 - Gesloten - Weg - 1");
  EXPECT_EQ(form->LCOffLesplaats.ValueText(), "504");
  EXPECT_TRUE(form->AOvername.Enabled);
  ASSERT_EQ(Set("EdtOmschrijving", "Oud gebouw, gesloten"), TEventResult::Done);
  ASSERT_EQ(Set("LCOffLesplaats", "504"), TEventResult::Done) << dialogs.Transcript();
  ASSERT_EQ(Command(TDataSetCommand::Post), TEventResult::Done) << dialogs.Transcript();
  ASSERT_EQ(Set("EdtNummer", "15"), TEventResult::Done);
  EXPECT_EQ(Command(TDataSetCommand::Post), TEventResult::ClientError);
  EXPECT_EQ(LastError(), kNummerOngelijk);
  ASSERT_EQ(Command(TDataSetCommand::Cancel), TEventResult::Done);

  // 1001 moves from Filiaal to Hoofdgebouw: official place 503 belongs to the other Davinci
  // location, stays shown and is stored with the move.
  ASSERT_EQ(app.MoveTo(*form, "DSVWOLesplaats", 2), TEventResult::Done);
  ASSERT_EQ(Set("LCVestigingsplaats", "21"), TEventResult::Done);
  EXPECT_EQ(Offered(), "012 015 ");
  EXPECT_EQ(form->LCOffLesplaats.DisplayText(), "020 - Filiaal Zuid - Zuidlaan - 3");
  ASSERT_EQ(Command(TDataSetCommand::Post), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(Stored(),
            "14|999|Oud gebouw, gesloten|~|~|~|~|21|D|504|1\n"
            "20|654321|Filiaal Zuid|Zuidlaan|3|~|3|21|U|503|1\n");
  EXPECT_EQ(dialogs.Texts("error"), std::vector<std::string>{kNummerOngelijk});
}

// The lists the places are chosen from are the server's: nothing the user does changes them.
TEST_F(LesplaatsenTest, TheChoiceListsCannotBeChanged) {
  for (auto [source, field] : {std::pair{"DSSelectVestiging", "VP_NAAM"},
                               {"DSSelectVWOOffLesplaats", "VOLP_NAAM"},
                               {"DSVWOOffLesplaatsPerIS", "VOLP_NAAM"}}) {
    SCOPED_TRACE(source);
    quil::TQuilClientDataSet& list = *form->DataSourceByName(source).DataSet();
    const std::string before = list.FieldByName(field).AsString();
    // No control of the screen edits a choice list: the browser cannot reach its fields.
    EXPECT_EQ(app.SetFieldValue(*form, source, field, "Gewijzigd"), TEventResult::Refused);
    EXPECT_EQ(list.State(), DataSetState::Browse);
    EXPECT_EQ(list.FieldByName(field).AsString(), before);
    // Nor does the screen's own code: the lists are read-only.
    EXPECT_THROW(list.Edit(), quil::EClientError);
  }
}

// The take-over changes the place: who may only add uses it on a new place, not on a stored one.
TEST_F(LesplaatsenTest, WhoMayOnlyAddTakesOverIntoANewPlaceOnly) {
  form->SetRights(1 << quil::kRightOpen | 1 << quil::kRightInsert);
  app.Run([] {});
  EXPECT_EQ(app.Execute(*form, "AOvername"), TEventResult::Refused);  // place 1001, stored
  StartNewPlace();
  ASSERT_EQ(Set("LCOffLesplaats", "501"), TEventResult::Done);
  ASSERT_EQ(app.Execute(*form, "AOvername"), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(Field("VLP_OMSCHRIJVING"), "Campus Noord");
  EXPECT_EQ(Field("VLP_NUMMER"), "12");
}

TEST_F(LesplaatsenTest, TheAddressCodeTakesDigitsOnly) {
  EXPECT_EQ(Set("EdtCRABCode", "12A4"), TEventResult::ClientError);
  EXPECT_EQ(LastError(), "In 'Code CRAB' kunnen enkel deze tekens getypt worden: 0123456789");
  EXPECT_EQ(State(), DataSetState::Browse);
  EXPECT_EQ(Field("VLP_CRABCODE"), "654321");
  EXPECT_EQ(Set("EdtCRABCode", "1234"), TEventResult::Done);
  EXPECT_EQ(Field("VLP_CRABCODE"), "1234");
}

TEST_F(LesplaatsenTest, TheOverviewIsPrintedForTheInstitution) {
  ASSERT_EQ(form->ReportDefs.size(), 1u);
  ASSERT_EQ(app.PrintReport(*form, 0), TEventResult::Done) << dialogs.Transcript();
  ASSERT_EQ(app.Printed().size(), 1u);
  EXPECT_EQ(app.Printed().back().report.DisplayName, "Overzichtslijst");
  EXPECT_EQ(app.Printed().back().report.FileNames, "VWOolesplaats.arf");
  EXPECT_EQ(app.Printed().back().params.Text(), "IS_ID=1");
}

}  // namespace
}  // namespace kavel::testing
