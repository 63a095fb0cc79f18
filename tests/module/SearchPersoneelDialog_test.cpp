// The host's staff search as a screen shows it: the staff of an institution on a work date, each
// person once, narrowed by name or registration number, and a choice that OK hands back.
#include "host/forms/SearchPersoneelDialog.h"

#include <memory>
#include <string>

#include "host/base/SysUtils.h"
#include "module/ModuleFixture.h"

namespace kavel::testing {
namespace {

using namespace quil;

class SearchPersoneelTest : public ModuleTest {
 protected:
  void SetUp() override {
    // Bosmans has two employments that both run on 1 October 2025; Claes left in June and comes
    // back in November; Dewitte works at the other institution.
    server->db().ExecuteScript(R"sql(
      INSERT INTO PERSONEEL (PS_ID, PS_CODE, PS_NAAM, PS_VOORNAAM, PS_STAMBOEKNUMMER,
        PS_RIJKSREGISTERNUMMER, PS_EMAIL) VALUES
        (1, 'AA', 'Aerts', 'An', '10001', '80010112345', 'an.aerts@delinde.example'),
        (2, 'BB', 'Bosmans', 'Bart', '22222', '81020223456', 'bart.bosmans@delinde.example'),
        (3, 'CC', 'Claes', 'Carla', '30003', '82030334567', NULL),
        (4, 'DD', 'Dewitte', 'Dirk', '40004', '83040445678', 'dirk@hetveld.example'),
        (5, 'EE', 'Aerts', 'Eva', '50005', '84050556789', 'eva.aerts@delinde.example'),
        (6, 'FF', 'D''Hondt', 'Frank', '60006', '85060667890', 'frank@delinde.example');
      INSERT INTO DIENSTVERBAND (DV_ID, DV_PERSONEEL_FK, DV_INSTELLING_FK, DV_BEGINDATUM,
        DV_EINDDATUM, DV_ACTIEF) VALUES
        (1, 1, 1, '2020-09-01', NULL, '+'),
        (2, 2, 1, '2019-09-01', NULL, '-'),
        (3, 2, 1, '2024-09-01', NULL, '+'),
        (4, 3, 1, '2019-09-01', '2025-06-30', '-'),
        (5, 3, 1, '2025-11-01', NULL, '+'),
        (6, 4, 2, '2020-09-01', NULL, '+'),
        (7, 5, 1, '2025-09-01', NULL, '+'),
        (8, 6, 1, '2022-09-01', NULL, '+');
    )sql");
  }

  std::unique_ptr<TSearchPersoneelDialog> Dialog(int psId = -1,
                                                 TDateTime werkDatum = EncodeDate(2025, 10, 1)) {
    return std::make_unique<TSearchPersoneelDialog>(app, 0, 1, psId, werkDatum, session.dm);
  }

  //! Shows the dialog modally; `act` works on it as the user does.
  TModalResult Show(TSearchPersoneelDialog& dialog, ScriptedDialogs::ModalScript act) {
    dialogs.AnswerModal("TSearchPersoneelDialog", std::move(act));
    TModalResult result = mrNone;
    EXPECT_EQ(app.Run([&] { result = dialog.ShowModal(); }), TEventResult::Done)
        << dialogs.Transcript();
    return result;
  }

  //! The persons the list shows, "PS_ID name first name (DV_ID)" joined with "; ".
  static std::string Listed(TSearchPersoneelDialog& dialog) {
    TQuilClientDataSet& list = dialog.CDSPersoneel;
    std::string out;
    for (int position = 0; position < list.RecordCount(); ++position) {
      Row row = list.RowAt(position);
      auto value = [&](const char* field) { return row[list.FieldByName(field).Index()]; };
      if (!out.empty()) out += "; ";
      out += value("PS_ID").AsString() + " " + value("PS_NAAM").AsString() + " " +
             value("PS_VOORNAAM").AsString() + " (" + value("DV_ID").AsString() + ")";
    }
    return out;
  }
};

TEST_F(SearchPersoneelTest, ListsEachPersonEmployedOnTheWorkDateOnce) {
  struct Case {
    TDateTime werkDatum;
    const char* listed;
  } cases[] = {
      // Bosmans once, with the row of his active employment.
      {EncodeDate(2025, 10, 1),
       "1 Aerts An (1); 5 Aerts Eva (7); 2 Bosmans Bart (3); 6 D'Hondt Frank (8)"},
      // The last day of an employment still counts; Eva starts in September.
      {EncodeDate(2025, 6, 30),
       "1 Aerts An (1); 2 Bosmans Bart (3); 3 Claes Carla (4); 6 D'Hondt Frank (8)"},
      {EncodeDate(2025, 11, 1),
       "1 Aerts An (1); 5 Aerts Eva (7); 2 Bosmans Bart (3); 3 Claes Carla (5); "
       "6 D'Hondt Frank (8)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(DateToStr(c.werkDatum));
    auto dialog = Dialog(-1, c.werkDatum);
    Show(*dialog, [&](TQuilForm& form) {
      EXPECT_EQ(Listed(*dialog), c.listed);
      form.SetModalResult(mrCancel);
    });
  }
}

TEST_F(SearchPersoneelTest, SearchFieldsNarrowTheList) {
  struct Case {
    const char* naam;
    const char* im;
    const char* listed;
  } cases[] = {
      {"aerts", "", "1 Aerts An (1); 5 Aerts Eva (7)"},
      {"EVA", "", "5 Aerts Eva (7)"},
      {"an aerts", "", "1 Aerts An (1)"},  // every word, in name or first name
      {"  ", "", "1 Aerts An (1); 5 Aerts Eva (7); 2 Bosmans Bart (3); 6 D'Hondt Frank (8)"},
      {"d'hondt", "", "6 D'Hondt Frank (8)"},
      {"janssens", "", ""},
      {"", "222", "2 Bosmans Bart (3)"},
      {"aerts", "0005", "5 Aerts Eva (7)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.naam) + "/" + c.im);
    auto dialog = Dialog();
    Show(*dialog, [&](TQuilForm& form) {
      EXPECT_EQ(app.SetValue(form, "EZoekNaam", c.naam), TEventResult::Done);
      EXPECT_EQ(app.SetValue(form, "EZoekIM", c.im), TEventResult::Done);
      EXPECT_EQ(Listed(*dialog), c.listed);
      form.SetModalResult(mrCancel);
    });
  }
}

TEST_F(SearchPersoneelTest, AHiddenRegistrationSearchNoLongerNarrows) {
  auto dialog = Dialog();
  Show(*dialog, [&](TQuilForm& form) {
    EXPECT_EQ(app.SetValue(form, "EZoekIM", "222"), TEventResult::Done);
    EXPECT_EQ(Listed(*dialog), "2 Bosmans Bart (3)");
    dialog->SetHideSearchIM(true);
    EXPECT_FALSE(dialog->EZoekIM.Visible);
    EXPECT_EQ(Listed(*dialog),
              "1 Aerts An (1); 5 Aerts Eva (7); 2 Bosmans Bart (3); 6 D'Hondt Frank (8)");
    EXPECT_EQ(app.SetValue(form, "EZoekIM", "222"), TEventResult::Refused);
    EXPECT_EQ(app.SetValue(form, "EZoekNaam", "aerts"), TEventResult::Done);
    EXPECT_EQ(Listed(*dialog), "1 Aerts An (1); 5 Aerts Eva (7)");
    form.SetModalResult(mrCancel);
  });
}

TEST_F(SearchPersoneelTest, OkWithNobodyChosenIsRefusedAndTheDialogStaysOpen) {
  auto dialog = Dialog();
  TModalResult result = Show(*dialog, [&](TQuilForm& form) {
    app.SetValue(form, "EZoekNaam", "janssens");
    EXPECT_EQ(app.Click(form, "BOK"), TEventResult::ClientError);
    EXPECT_EQ(form.ModalResult(), mrNone);
    EXPECT_EQ(form.ActiveControl, &dialog->GridPersoneel);
    app.SetValue(form, "EZoekNaam", "bosmans");
    EXPECT_EQ(app.Click(form, "BOK"), TEventResult::Done);
  });
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(dialogs.Transcript(),
            "modal TSearchPersoneelDialog: Personeel zoeken -> OK\n"
            "error: Er is geen personeelslid gekozen.\n");
  EXPECT_EQ(dialog->GetPSID(), 2);
}

TEST_F(SearchPersoneelTest, OkHandsBackTheChosenPersonAndCancelNobody) {
  struct Case {
    const char* name;
    int psId;            // passed in
    const char* move;    // grid row the user clicks, "" for none
    const char* button;  // BOK or BCancel; "dbl" double-clicks the row
    const char* chosen;
  } cases[] = {
      {"the person passed in is current", 5, "", "BOK",
       "5|Aerts|Eva|84050556789|eva.aerts@delinde.example"},
      {"a person not listed leaves the first current", 4, "", "BOK",
       "1|Aerts|An|80010112345|an.aerts@delinde.example"},
      {"the user picks another row", 5, "3", "BOK",
       "2|Bosmans|Bart|81020223456|bart.bosmans@delinde.example"},
      {"a double click chooses", -1, "4", "dbl",
       "6|D'Hondt|Frank|85060667890|frank@delinde.example"},
      {"cancel", 5, "", "BCancel", "-1||||"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto dialog = Dialog(c.psId);
    Show(*dialog, [&](TQuilForm& form) {
      if (*c.move) {
        EXPECT_EQ(app.SetValue(form, "GridPersoneel", c.move), TEventResult::Done);
      }
      if (std::string(c.button) == "dbl") {
        app.Run([&] { dialog->GridPersoneel.OnDblClick(); });
      } else {
        app.Click(form, c.button);
      }
    });
    EXPECT_EQ(IntToStr(dialog->GetPSID()) + "|" + dialog->GetNaam() + "|" + dialog->GetVoornaam() +
                  "|" + dialog->GetINSZ() + "|" + dialog->GetEmail(),
              c.chosen);
  }
}

TEST_F(SearchPersoneelTest, AnotherSearchTypeIsAClientError) {
  std::unique_ptr<TSearchPersoneelDialog> dialog;
  EXPECT_EQ(app.Run([&] {
    dialog = std::make_unique<TSearchPersoneelDialog>(app, 1, 1, -1, EncodeDate(2025, 10, 1),
                                                      session.dm);
  }),
            TEventResult::ClientError);
  EXPECT_EQ(dialog, nullptr);
  EXPECT_EQ(dialogs.Transcript(), "error: Personeel zoeken: zoektype 1 wordt niet ondersteund\n");
}

}  // namespace
}  // namespace kavel::testing
