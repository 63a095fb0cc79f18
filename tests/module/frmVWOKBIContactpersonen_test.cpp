// The KBI contact persons of an institution: typed in or taken over from the staff with the staff
// search, the staff link locking name, first name and national number, and the e-mail check.
#include "reference/frmVWOKBIContactpersonen.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/base/SysUtils.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/BrowseVWOInstellingForm.h"
#include "host/forms/SearchPersoneelDialog.h"
#include "module/ModuleFixture.h"

namespace kavel::testing {
namespace {

using namespace quil;

using Values = std::vector<std::pair<const char*, const char*>>;

constexpr const char* kQuestion = "question: Huidge persoon vervangen of nieuwe invoegen? -> ";

class KBIContactpersonenTest : public ModuleTest {
 protected:
  void SetUp() override {
    // Contact person 11 was taken over from the staff (An Aerts), 10 was typed in. Institution 2
    // has no contact persons.
    server->db().ExecuteScript(R"sql(
      INSERT INTO PERSONEEL (PS_ID, PS_CODE, PS_NAAM, PS_VOORNAAM, PS_STAMBOEKNUMMER,
        PS_RIJKSREGISTERNUMMER, PS_EMAIL) VALUES
        (1, 'AA', 'Aerts', 'An', '10001', '80010112345', 'an.aerts@delinde.example'),
        (2, 'BB', 'Bosmans', 'Bart', '22222', '81020223456', 'bart.bosmans@delinde.example'),
        (5, 'EE', 'Aerts', 'Eva', '50005', '84050556789', 'eva.aerts@delinde.example'),
        (7, 'GG', 'Goossens', 'Greet', '70007', '86070778901', 'greet@delinde');
      INSERT INTO DIENSTVERBAND (DV_ID, DV_PERSONEEL_FK, DV_INSTELLING_FK, DV_BEGINDATUM,
        DV_EINDDATUM, DV_ACTIEF) VALUES
        (1, 1, 1, '2020-09-01', NULL, '+'), (2, 2, 1, '2019-09-01', NULL, '-'),
        (3, 2, 1, '2024-09-01', NULL, '+'), (4, 5, 1, '2025-09-01', NULL, '+'),
        (5, 7, 1, '2021-09-01', NULL, '+');
      INSERT INTO KBICONTACTPERSOON (KBCP_ID, KBCP_INSTELLING_FK, KBCP_NAAM, KBCP_VOORNAAM,
        KBCP_INSZ, KBCP_TELEFOON, KBCP_EMAIL, KBCP_FLAGS, KBCP_PERSONEEL_FK, KBCP_VERANDERDDOOR,
        KBCP_VERANDERDOP) VALUES
        (10, 1, 'Stevens', 'Mira', '75120822418', '0470 12 34 56', 'mira@partner.example', 0,
         NULL, 1, '2025-08-25 10:00:00'),
        (11, 1, 'Aerts', 'An', '80010112345', '014 20 30 41', 'an.aerts@delinde.example', 1, 1,
         1, '2025-08-25 10:00:00');
    )sql");
    quil::server::SyncGenerators(server->db());
    app.SetAdminPrefs(std::make_shared<AdminPrefs>(EncodeDate(2025, 10, 1)));
    form = dynamic_cast<TVWOKBIContactpersonenForm*>(app.OpenForm("TVWOKBIContactpersonenForm"));
    ASSERT_NE(form, nullptr) << dialogs.Transcript();
    ASSERT_EQ(dialogs.Transcript(), "");
  }

  TQuilClientDataSet& cds() { return form->CDSKBIContactpersonen; }

  //! Moves the list to a record (1 Aerts, 2 Stevens at institution 1).
  void MoveTo(int recNo) {
    ASSERT_EQ(app.SetValue(*form, "GridContactpersonen", IntToStr(recNo)), TEventResult::Done);
  }

  //! Scripts the staff search: the user picks the person on grid row `row` and presses OK.
  void PickInSearch(int row) {
    dialogs.AnswerModal("TSearchPersoneelDialog", [this, row](TQuilForm& dialog) {
      EXPECT_EQ(app.SetValue(dialog, "GridPersoneel", IntToStr(row)), TEventResult::Done);
      EXPECT_EQ(app.Click(dialog, "BOK"), TEventResult::Done);
    });
  }

  TEventResult Search() { return app.Execute(*form, "ASearchPS"); }

  TEventResult Post() {
    return app.DataSetCommand(*form, "DSKBIContactpersonen", TDataSetCommand::Post);
  }

  //! The institution's contact persons as stored on the server, one line each:
  //! id|institution|name|first name|INSZ|phone|e-mail|flags|staff.
  std::string Stored() {
    auto statement = server->db().Prepare(
        "SELECT KBCP_ID, KBCP_INSTELLING_FK, KBCP_NAAM, KBCP_VOORNAAM, KBCP_INSZ, KBCP_TELEFOON, "
        "KBCP_EMAIL, KBCP_FLAGS, KBCP_PERSONEEL_FK FROM KBICONTACTPERSOON ORDER BY KBCP_ID");
    std::string out;
    while (statement->Step()) {
      for (int column = 0; column < statement->ColumnCount(); ++column) {
        if (column > 0) out += "|";
        out += statement->ColumnStorage(column) == quil::server::StorageClass::Null
                   ? "null"
                   : std::string(statement->ColumnText(column));
      }
      out += "\n";
    }
    return out;
  }

  //! Per editor: its field read-only or not, and the editor enabled or not.
  std::string Editability() {
    std::string out;
    for (TDBEdit* edit : {&form->DBENaam, &form->DBEVoornaam, &form->DBEINSZ, &form->DBETelefoon,
                          &form->DBEEmail}) {
      out += edit->Name() + (edit->Field()->ReadOnly ? ":ro" : ":rw") +
             (edit->Enabled ? "/on " : "/off ");
    }
    return out;
  }

  TVWOKBIContactpersonenForm* form = nullptr;
  const std::string kLocked =
      "DBENaam:ro/off DBEVoornaam:ro/off DBEINSZ:ro/off DBETelefoon:rw/on DBEEmail:rw/on ";
  const std::string kOpen =
      "DBENaam:rw/on DBEVoornaam:rw/on DBEINSZ:rw/on DBETelefoon:rw/on DBEEmail:rw/on ";
  const std::string kStoredBefore =
      "10|1|Stevens|Mira|75120822418|0470 12 34 56|mira@partner.example|0|null\n"
      "11|1|Aerts|An|80010112345|014 20 30 41|an.aerts@delinde.example|1|1\n";
};

TEST_F(KBIContactpersonenTest, ListAndEditorsOfTheInstitutionInTheBrowser) {
  std::string shown;
  for (const TColumn& column : form->GridContactpersonen.VisibleColumns()) {
    shown += form->GridContactpersonen.ColumnTitle(column) + " ";
  }
  shown += "/";
  for (TDBEdit* edit :
       {&form->DBENaam, &form->DBEVoornaam, &form->DBEINSZ, &form->DBETelefoon, &form->DBEEmail}) {
    shown += " " + edit->DisplayCaption() + ":" + IntToStr(edit->Field()->Size());
  }
  EXPECT_EQ(shown,
            "Naam Voornaam INSZ Telefoon Email / Naam:50 Voornaam:50 INSZ:11 Telefoon:50 "
            "Email:50");
  EXPECT_EQ(cds().RecordCount(), 2);
  EXPECT_EQ(form->DBCBNietMeerActief.DisplayCaption(), "Niet meer actief");
  EXPECT_TRUE(form->DBCBNietMeerActief.Checked());  // Aerts, flags 1
  MoveTo(2);
  EXPECT_FALSE(form->DBCBNietMeerActief.Checked());

  // Another institution in the browser shows its own (empty) list, and a new contact person
  // belongs to it.
  auto* browser = dynamic_cast<TBrowseVWOInstellingForm*>(form->MasterForm());
  ASSERT_NE(browser, nullptr);
  ASSERT_EQ(app.MoveTo(*browser, "DSBrowseVWOinstelling", 2), TEventResult::Done);
  EXPECT_EQ(cds().RecordCount(), 0);
  for (auto [control, value] : Values{{"DBENaam", "Peeters"},
                                      {"DBEVoornaam", "Piet"},
                                      {"DBEINSZ", "90010112345"},
                                      {"DBETelefoon", "03 123 45 67"},
                                      {"DBEEmail", "piet@hetveld.example"},
                                      {"DBCBNietMeerActief", "1"}}) {
    ASSERT_EQ(app.SetValue(*form, control, value), TEventResult::Done) << control;
  }
  EXPECT_EQ(app.SetValue(*form, "DBEINSZ", "900101123456"), TEventResult::ClientError);
  ASSERT_EQ(Post(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(
      Stored(),
      kStoredBefore + "12|2|Peeters|Piet|90010112345|03 123 45 67|piet@hetveld.example|1|null\n");
  EXPECT_EQ(cds().FieldByName("KBCP_VERANDERDDOOR").AsInteger(), 1);
}

TEST_F(KBIContactpersonenTest, ReplacingKeepsTheRecordAndThePhone) {
  MoveTo(2);  // Stevens, typed in
  dialogs.AnswerChoice(2);
  // Aerts An (staff member 1, already the contact person 11), Aerts Eva, Bosmans Bart, Goossens
  // Greet: the same staff member may be the contact person twice.
  PickInSearch(1);
  ASSERT_EQ(Search(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(dialogs.Transcript(), std::string(kQuestion) +
                                      "Vervangen\n"
                                      "modal TSearchPersoneelDialog: Personeel zoeken -> OK\n");
  EXPECT_EQ(cds().State(), DataSetState::Edit);
  EXPECT_EQ(Editability(), kLocked);
  ASSERT_EQ(Post(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(Stored(),
            "10|1|Aerts|An|80010112345|0470 12 34 56|an.aerts@delinde.example|0|1\n"
            "11|1|Aerts|An|80010112345|014 20 30 41|an.aerts@delinde.example|1|1\n");
  EXPECT_EQ(Editability(), kLocked);
}

TEST_F(KBIContactpersonenTest, NieuweInvoegenAddsAPersonWithTheStaffLink) {
  dialogs.AnswerChoice(1);
  PickInSearch(2);  // Aerts Eva
  ASSERT_EQ(Search(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(dialogs.Transcript(), std::string(kQuestion) +
                                      "Nieuwe invoegen\n"
                                      "modal TSearchPersoneelDialog: Personeel zoeken -> OK\n");
  EXPECT_EQ(cds().State(), DataSetState::Insert);
  EXPECT_EQ(Editability(), kLocked);
  ASSERT_EQ(app.SetValue(*form, "DBETelefoon", "014 99 88 77"), TEventResult::Done);
  ASSERT_EQ(Post(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(
      Stored(),
      kStoredBefore + "12|1|Aerts|Eva|84050556789|014 99 88 77|eva.aerts@delinde.example|0|5\n");
}

TEST_F(KBIContactpersonenTest, WhileInsertingTheNewRecordIsFilledWithoutAQuestion) {
  ASSERT_EQ(app.DataSetCommand(*form, "DSKBIContactpersonen", TDataSetCommand::Insert),
            TEventResult::Done);
  ASSERT_EQ(app.SetValue(*form, "DBETelefoon", "011 22 33 44"), TEventResult::Done);
  PickInSearch(3);  // Bosmans Bart; a question would find no answer and fail the test
  ASSERT_EQ(Search(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(dialogs.Transcript(), "modal TSearchPersoneelDialog: Personeel zoeken -> OK\n");
  EXPECT_EQ(cds().RecordCount(), 3);
  ASSERT_EQ(Post(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(Stored(), kStoredBefore +
                          "12|1|Bosmans|Bart|81020223456|011 22 33 44|"
                          "bart.bosmans@delinde.example|0|2\n");
}

TEST_F(KBIContactpersonenTest, TheSearchGetsTheInstitutionTheLinkAndTheWorkDate) {
  // Stevens is taken over from Bosmans, third in the staff list: the next search opens on him,
  // for institution 1 on the work date, without the registration-number search.
  MoveTo(2);
  dialogs.AnswerChoice(2);
  PickInSearch(3);
  ASSERT_EQ(Search(), TEventResult::Done) << dialogs.Transcript();
  ASSERT_EQ(Post(), TEventResult::Done) << dialogs.Transcript();
  dialogs.AnswerChoice(2);
  dialogs.AnswerModal("TSearchPersoneelDialog", [](TQuilForm& form) {
    auto& dialog = dynamic_cast<TSearchPersoneelDialog&>(form);
    EXPECT_EQ(dialog.CDSPersoneel.FieldByName("PS_ID").AsInteger(), 2);
    EXPECT_EQ(dialog.CDSPersoneel.ParamByName("IS_ID").AsInteger(), 1);
    EXPECT_EQ(DateToStr(dialog.CDSPersoneel.ParamByName("WERKDATUM").AsDateTime()), "01/10/2025");
    EXPECT_FALSE(dialog.EZoekIM.Visible);
    form.SetModalResult(mrCancel);
  });
  ASSERT_EQ(Search(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(dialogs.Unused(), 0);
}

// Who may only add takes a staff member over as a new person, who may only change replaces the
// current one, neither is asked; who may do neither cannot search.
TEST_F(KBIContactpersonenTest, TheTakeoverFollowsTheRightsToAddAndToChange) {
  const int open = 1 << kRightOpen;
  struct Case {
    const char* name;
    int rights;
    TEventResult result;
    const char* shown;
    DataSetState state;
  } cases[] = {
      {"open only", open, TEventResult::Refused, "", DataSetState::Browse},
      {"add only", open | 1 << kRightInsert, TEventResult::Done,
       "modal TSearchPersoneelDialog: Personeel zoeken -> OK\n", DataSetState::Insert},
      {"change only", open | 1 << kRightChange, TEventResult::Done,
       "modal TSearchPersoneelDialog: Personeel zoeken -> OK\n", DataSetState::Edit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.Clear();
    form->SetRights(c.rights);
    app.Run([] {});
    if (c.result == TEventResult::Done) PickInSearch(3);  // Bosmans Bart
    EXPECT_EQ(Search(), c.result);
    EXPECT_EQ(dialogs.Transcript(), c.shown);
    EXPECT_EQ(cds().State(), c.state);
    if (c.state != DataSetState::Browse) {
      EXPECT_EQ(cds().FieldByName("KBCP_NAAM").AsString(), "Bosmans");
      ASSERT_EQ(app.DataSetCommand(*form, "DSKBIContactpersonen", TDataSetCommand::Cancel),
                TEventResult::Done);
    }
  }
  EXPECT_EQ(Stored(), kStoredBefore);
}

TEST_F(KBIContactpersonenTest, CancellingTheSearchChangesNothing) {
  for (int answer : {1, 2}) {
    SCOPED_TRACE(answer);
    dialogs.AnswerChoice(answer);
    dialogs.AnswerModal("TSearchPersoneelDialog", mrCancel);
    ASSERT_EQ(Search(), TEventResult::Done) << dialogs.Transcript();
    EXPECT_EQ(cds().State(), DataSetState::Browse);
    EXPECT_EQ(cds().RecordCount(), 2);
    EXPECT_EQ(cds().ChangeCount(), 0);
    EXPECT_EQ(Editability(), kLocked);  // still on Aerts, linked
  }
  EXPECT_EQ(Stored(), kStoredBefore);
}

TEST_F(KBIContactpersonenTest, TheStaffLinkLocksNameFirstNameAndINSZ) {
  EXPECT_EQ(Editability(), kLocked);  // Aerts, linked
  EXPECT_EQ(app.SetValue(*form, "DBENaam", "Anders"), TEventResult::Refused);
  EXPECT_EQ(app.SetFieldValue(*form, "DSKBIContactpersonen", "KBCP_INSZ", "1"),
            TEventResult::Refused);
  EXPECT_EQ(app.SetValue(*form, "DBETelefoon", "014 00 00 00"), TEventResult::Done);
  ASSERT_EQ(Post(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(Editability(), kLocked);

  MoveTo(2);  // Stevens, typed in: every field
  EXPECT_EQ(Editability(), kOpen);
  for (auto [control, value] : Values{{"DBENaam", "Stevens-Claes"},
                                      {"DBEVoornaam", "Mira Anna"},
                                      {"DBEINSZ", "75120822419"},
                                      {"DBETelefoon", "0470 00 00 00"},
                                      {"DBEEmail", "mira.sc@partner.example"}}) {
    EXPECT_EQ(app.SetValue(*form, control, value), TEventResult::Done) << control;
  }
  ASSERT_EQ(Post(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(Stored(),
            "10|1|Stevens-Claes|Mira Anna|75120822419|0470 00 00 00|"
            "mira.sc@partner.example|0|null\n"
            "11|1|Aerts|An|80010112345|014 00 00 00|an.aerts@delinde.example|1|1\n");

  // Taking Stevens over from the staff locks her; cancelling that edit opens her again.
  dialogs.AnswerChoice(2);
  PickInSearch(3);
  ASSERT_EQ(Search(), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(Editability(), kLocked);
  ASSERT_EQ(app.DataSetCommand(*form, "DSKBIContactpersonen", TDataSetCommand::Cancel),
            TEventResult::Done);
  EXPECT_EQ(Editability(), kOpen);
  MoveTo(1);
  EXPECT_EQ(Editability(), kLocked);
}

TEST_F(KBIContactpersonenTest, EveryNewEmailAddressIsChecked) {
  MoveTo(2);  // Stevens
  struct Case {
    const char* typed;
    const char* error;  // "" when accepted
    const char* stored;
  } cases[] = {
      {"mira@partner", "'mira@partner' is geen geldig e-mailadres", "mira@partner.example"},
      {"mira @partner.example", "Het e-mailadres 'mira @partner.example' mag geen spaties bevatten",
       "mira@partner.example"},
      {"", "", ""},
      {"mira.stevens@partner.example", "", "mira.stevens@partner.example"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    dialogs.Clear();
    const TEventResult result = app.SetValue(*form, "DBEEmail", c.typed);
    EXPECT_EQ(result, *c.error ? TEventResult::ClientError : TEventResult::Done);
    EXPECT_EQ(dialogs.Transcript(), *c.error ? "error: " + std::string(c.error) + "\n" : "");
    EXPECT_EQ(cds().FieldByName("KBCP_EMAIL").AsString(), c.stored);
    if (*c.error) {
      EXPECT_EQ(form->ActiveControl, &form->DBEEmail);
    }
  }

  // A staff member's address passes the same check: the takeover stops at it.
  ASSERT_EQ(app.DataSetCommand(*form, "DSKBIContactpersonen", TDataSetCommand::Cancel),
            TEventResult::Done);
  dialogs.Clear();
  dialogs.AnswerChoice(2);
  PickInSearch(4);  // Goossens Greet, greet@delinde
  EXPECT_EQ(Search(), TEventResult::ClientError);
  EXPECT_EQ(dialogs.Texts("error"),
            std::vector<std::string>{"'greet@delinde' is geen geldig e-mailadres"});
  EXPECT_EQ(cds().FieldByName("KBCP_EMAIL").AsString(), "mira@partner.example");
  EXPECT_EQ(Editability(), kLocked);  // the link was taken over before the address
}

// A contact person typed in needs a name, first name, INSZ, phone and address: each one left
// empty refuses the post, named by its label.
TEST_F(KBIContactpersonenTest, EveryDetailOfATypedInPersonIsRequired) {
  const std::pair<const char*, const char*> filled[] = {{"DBENaam", "Claes"},
                                                        {"DBEVoornaam", "Ines"},
                                                        {"DBEINSZ", "85010112345"},
                                                        {"DBETelefoon", "09 123 45 67"},
                                                        {"DBEEmail", "ines@partner.example"}};
  const char* labels[] = {"Naam", "Voornaam", "INSZ", "Telefoon", "Email"};
  for (size_t empty = 0; empty < std::size(filled); ++empty) {
    SCOPED_TRACE(labels[empty]);
    dialogs.Clear();
    ASSERT_EQ(app.DataSetCommand(*form, "DSKBIContactpersonen", TDataSetCommand::Append),
              TEventResult::Done);
    for (size_t i = 0; i < std::size(filled); ++i) {
      if (i == empty) continue;
      ASSERT_EQ(app.SetValue(*form, filled[i].first, filled[i].second), TEventResult::Done);
    }
    EXPECT_EQ(Post(), TEventResult::ClientError);
    EXPECT_EQ(dialogs.Texts("error"),
              std::vector<std::string>{"Veld '" + std::string(labels[empty]) +
                                       "' moet een waarde hebben"});
    ASSERT_EQ(app.DataSetCommand(*form, "DSKBIContactpersonen", TDataSetCommand::Cancel),
              TEventResult::Done);
  }
  EXPECT_EQ(Stored(), kStoredBefore);
}

TEST_F(KBIContactpersonenTest, TheSearchNeedsRecordsOrAnEdit) {
  auto* browser = dynamic_cast<TBrowseVWOInstellingForm*>(form->MasterForm());
  ASSERT_NE(browser, nullptr);
  struct Step {
    const char* name;
    std::function<void()> act;
    bool enabled;
  } steps[] = {
      {"a list with records", [] {}, true},
      {"a read-only screen", [&] { form->SetReadOnly(true); }, false},
      {"editable again", [&] { form->SetReadOnly(false); }, true},
      {"an empty list",
       [&] { ASSERT_EQ(app.MoveTo(*browser, "DSBrowseVWOinstelling", 2), TEventResult::Done); },
       false},
      {"inserting in the empty list",
       [&] { app.DataSetCommand(*form, "DSKBIContactpersonen", TDataSetCommand::Insert); }, true},
      {"the insert cancelled",
       [&] { app.DataSetCommand(*form, "DSKBIContactpersonen", TDataSetCommand::Cancel); }, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    form->UpdateActions();
    EXPECT_EQ(form->ASearchPS.Enabled, step.enabled);
    EXPECT_EQ(form->BSearchPS.Reachable(), step.enabled);
  }
  // A disabled search does not run: nothing is asked.
  EXPECT_EQ(Search(), TEventResult::Refused);
  EXPECT_EQ(dialogs.Transcript(), "");
}

}  // namespace
}  // namespace kavel::testing
