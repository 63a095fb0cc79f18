// The class screen on the demo data. Institution 1 (De Linde, IS_FLAGS 2) has classes 1..3 in the
// first semester (15/09/2025-31/01/2026) at its locations 1, 2 and 3, and classes 4..6 in the
// second (03/02/2026-27/06/2026) at the same locations; locations 1 and 2 lie in Davinci location
// 1, location 3 in Davinci location 2. Classes 1..3 were reported to Davinci, class 4 has calls of
// its module variants and lessons, classes 5 and 6 have none. Every class is linked to two
// organised programme variants of its Davinci location; those of institution 1 are ready for
// Davinci, those of institution 2 (classes 7..12) are not. The working date is 01/10/2025.
#include "classes/frmVWOKlas.h"
#include <set>

#include "classes/dlgVWOSelecteerINGOpleiding.h"
#include "host/data/Guards.h"
#include "host/forms/DateRangeForm.h"
#include "host/forms/Dlgdepartementcalls.h"
#include "module/ScreenTest.h"
#include "planning/dlgVWOLesmomentUitRecept.h"

namespace kavel::testing {
namespace {

using namespace quil;

constexpr const char* kNooitMeldenVraag =
    "question Klas nooit melden: Klas niet melden kan nadien niet meer afgevinkt worden.\r\nEr "
    "zullen voor de cursisten en loopbanen nooit gegevens opgestuurd worden.\r\nBent u zeker?";
constexpr const char* kNietKlaar =
    "error: Er zijn nog opleidingen aan de klas gekoppeld die nog niet klaar zijn voor Davinci \r"
    "Controleer de ingerichte opleidingen\n";

class KlasTest : public ScreenTest {
 protected:
  TVWOKlasForm& Klassen(int isId = 1) {
    TQuilDBForm* browser = nullptr;
    for (TQuilDBForm* form : app.Forms()) {
      if (form->ClassName() == "TBrowseVWOStructInstellingForm") browser = form;
    }
    if (browser == nullptr) browser = &Open("TBrowseVWOStructInstellingForm");
    EXPECT_EQ(app.Run([&] {
      browser->FindDataSet("CDSBrowseVWOinstelling")->Locate("IS_ID", Variant(isId));
    }),
              TEventResult::Done);
    auto& screen = Open<TVWOKlasForm>("TVWOKlasForm");
    EXPECT_EQ(screen.CDSVWOKlas.ParamByName("IS_ID").AsInteger(), isId);
    return screen;
  }
  //! Makes the class the current one; false when the list does not show it.
  bool Kies(TVWOKlasForm& screen, int vwkId) {
    bool found = false;
    EXPECT_EQ(app.Run([&] { found = screen.CDSVWOKlas.Locate("VWK_ID", Variant(vwkId)); }),
              TEventResult::Done);
    return found;
  }
  //! The ids of the classes the list shows, ascending.
  std::string Getoond(TVWOKlasForm& screen) {
    std::set<int> ids;
    app.Run([&] {
      TQuilClientDataSet& klas = screen.CDSVWOKlas;
      BookmarkGuard stay(klas);
      for (klas.First(); !klas.Eof(); klas.Next())
        ids.insert(klas.FieldByName("VWK_ID").AsInteger());
    });
    std::string text;
    for (int id : ids) text += (text.empty() ? "" : ",") + std::to_string(id);
    return text;
  }
  TEventResult Post(TVWOKlasForm& screen) {
    return Command(screen, "DSVWOKlas", TDataSetCommand::Post);
  }
  std::string Flags(int vwkId) {
    return Stored("SELECT VWK_FLAGS FROM VWOKLAS WHERE VWK_ID = " + std::to_string(vwkId));
  }
};

// --- the period -------------------------------------------------------------------------------

TEST_F(KlasTest, ThePeriodMenuSetsTheDatesTheTitleAndTheList) {
  struct Case {
    int werkJaar;
    int kind;
    const char* titel;
    const char* klassen;
  };
  const Case cases[] = {
      {2025, kpSchooljaar, "Klassen gedurende periode 01/09/2025 tot 31/08/2026", "1,2,3,4,5,6"},
      {2025, kpSemester1, "Klassen gedurende periode 01/09/2025 tot 31/01/2026", "1,2,3"},
      {2025, kpSemester2, "Klassen gedurende periode 01/02/2026 tot 31/08/2026", "4,5,6"},
      {2025, kpHuidig, "Klassen op datum 01/10/2025", "1,2,3"},
      {2025, kpVolgendSchooljaar, "Klassen gedurende periode 01/09/2026 tot 31/08/2027", ""},
      {2025, kpVorigSchooljaar, "Klassen gedurende periode 01/09/2024 tot 31/08/2025", ""},
      {2024, kpSemester1, "Klassen gedurende periode 01/09/2024 tot 31/01/2025", ""},
      {2024, kpSemester2, "Klassen gedurende periode 01/02/2025 tot 31/08/2025", ""},
      {2024, kpVolgendSchooljaar, "Klassen gedurende periode 01/09/2025 tot 31/08/2026",
       "1,2,3,4,5,6"},
  };
  auto& screen = Klassen();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.titel);
    prefs.SetWerkDatum(EncodeDate(c.werkJaar, 10, 1));
    ASSERT_EQ(Press(screen, "APeriode" + std::to_string(c.kind)), TEventResult::Done);
    EXPECT_EQ(screen.LTitel.Caption, c.titel);
    EXPECT_EQ(Getoond(screen), c.klassen);
    EXPECT_TRUE(screen.APeriode[c.kind]->Checked);
    // The open classes follow the same period.
    EXPECT_EQ(screen.CDSSelectOpenKlas.ParamByName("EINDDATUM").AsDateTime(), screen.EindDatum());
  }
}

TEST_F(KlasTest, AChosenPeriodComesFromTheDialogAndCancellingKeepsTheOldOne) {
  auto& screen = Klassen();
  ASSERT_EQ(Press(screen, "APeriode1"), TEventResult::Done);
  const TDateTime begin = screen.BeginDatum(), eind = screen.EindDatum();

  dialogs.AnswerModal("TDateRangeForm", [&](TQuilForm& dialog) {
    EXPECT_EQ(dialog.Caption, "Klassen in periode");
    // The dialog starts from the period in force.
    EXPECT_EQ(dialog.ControlByName<TDateEdit>("EVan").ValueText(), "01/09/2025");
    EXPECT_EQ(dialog.ControlByName<TDateEdit>("ETot").ValueText(), "31/01/2026");
    Fill(dialog, {{"EVan", "01/03/2026"}});
    EXPECT_EQ(Click(dialog, "BCancel"), TEventResult::Done);
  });
  EXPECT_EQ(Press(screen, "APeriode4"), TEventResult::Done);
  EXPECT_EQ(screen.Periode(), kpSemester1);
  EXPECT_EQ(screen.BeginDatum(), begin);
  EXPECT_EQ(screen.EindDatum(), eind);

  // A first day after the last is refused inside the dialog; a period of one day is taken.
  dialogs.AnswerModal("TDateRangeForm", [&](TQuilForm& dialog) {
    Fill(dialog, {{"EVan", "01/03/2026"}, {"ETot", "28/02/2026"}});
    EXPECT_EQ(Click(dialog, "BOK"), TEventResult::ClientError);
    Fill(dialog, {{"ETot", "01/03/2026"}});
    EXPECT_EQ(Click(dialog, "BOK"), TEventResult::Done);
  });
  EXPECT_EQ(Press(screen, "APeriode4"), TEventResult::Done);
  EXPECT_EQ(Messages(),
            "modal TDateRangeForm: Klassen in periode -> Annuleren\n"
            "modal TDateRangeForm: Klassen in periode -> OK\n"
            "error: De begindatum moet voor de einddatum liggen\n");
  EXPECT_EQ(screen.Periode(), kpPeriode);
  EXPECT_EQ(screen.LTitel.Caption, "Klassen op datum 01/03/2026");
  EXPECT_EQ(Getoond(screen), "4,5,6");
}

TEST_F(KlasTest, ThePeriodAndTheOptionsAreKeptForTheNextTime) {
  auto& screen = Klassen();
  dialogs.AnswerModal("TDateRangeForm", [&](TQuilForm& dialog) {
    Fill(dialog, {{"EVan", "01/11/2025"}, {"ETot", "15/11/2025"}});
    Click(dialog, "BOK");
  });
  ASSERT_EQ(Press(screen, "APeriode4"), TEventResult::Done);
  ASSERT_EQ(Press(screen, "APeriode2"), TEventResult::Done);
  ASSERT_TRUE(app.CloseForm(screen));
  auto& again = Open<TVWOKlasForm>("TVWOKlasForm");
  EXPECT_EQ(again.Periode(), kpSemester2);
  EXPECT_EQ(Getoond(again), "4,5,6");
  // The chosen period is kept too, for the next time it is picked.
  dialogs.AnswerModal("TDateRangeForm", [&](TQuilForm& dialog) { Click(dialog, "BOK"); });
  ASSERT_EQ(Press(again, "APeriode4"), TEventResult::Done);
  EXPECT_EQ(again.LTitel.Caption, "Klassen gedurende periode 01/02/2026 tot 31/08/2026");
}

TEST_F(KlasTest, TheListIsNarrowedToALocationAndToCancelledClasses) {
  server->db().ExecuteScript(
      "UPDATE VWOKLAS SET VWK_FLAGS = VWK_FLAGS + 67108864 "
      "WHERE VWK_ID IN (2, 4);");
  auto& screen = Klassen();
  EXPECT_EQ(Getoond(screen), "1,3,5,6");
  EXPECT_EQ(Set(screen, "LCFilterVestiging", "1"), TEventResult::Done);
  EXPECT_EQ(screen.CDSVWOKlas.Filter(), "VWK_VESTIGINGSPLAATS_FK=1 AND (VWK_AFGELAST = FALSE)");
  EXPECT_EQ(Getoond(screen), "1");
  ASSERT_EQ(Press(screen, "AAfgelast1"), TEventResult::Done);
  EXPECT_EQ(Getoond(screen), "4");
  EXPECT_EQ(Set(screen, "LCFilterVestiging", ""), TEventResult::Done);
  EXPECT_EQ(Getoond(screen), "2,4");
  // Reloading the list brings back the classes that are not cancelled.
  ASSERT_EQ(Press(screen, "APeriode0"), TEventResult::Done);
  EXPECT_EQ(screen.AfgelastFilter(), afNietAfgelast);
  EXPECT_EQ(Getoond(screen), "1,3,5,6");
}

// --- editing a class --------------------------------------------------------------------------

TEST_F(KlasTest, AClassMayEndOnItsFirstDayButNotBefore) {
  auto& screen = Klassen();
  ASSERT_TRUE(Kies(screen, 2));
  Fill(screen, {{"EdtVan", "10/11/2025"}, {"EdtTot", "09/11/2025"}});
  EXPECT_EQ(Post(screen), TEventResult::ClientError);
  EXPECT_EQ(Messages(), "error: De \"van datum\" moet voor de \"tot datum\" liggen.\n");
  EXPECT_EQ(screen.CDSVWOKlas.State(), DataSetState::Edit);
  Fill(screen, {{"EdtTot", "10/11/2025"}});
  EXPECT_EQ(Post(screen), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored("SELECT VWK_VAN, VWK_TOT FROM VWOKLAS WHERE VWK_ID = 2"),
            "2025-11-10 | 2025-11-10\n");
}

TEST_F(KlasTest, NeverReportingIsAskedOnceAndCannotBeUndone) {
  auto& screen = Klassen();
  ASSERT_TRUE(Kies(screen, 2));
  const std::string before = Flags(2);
  Fill(screen, {{"CBNooitMelden", "1"}});
  dialogs.AnswerChoice(2);
  EXPECT_EQ(Post(screen), TEventResult::Done);
  EXPECT_EQ(Messages(), std::string(kNooitMeldenVraag) + " -> Neen\n");
  EXPECT_EQ(Flags(2), before);
  EXPECT_TRUE(screen.CBNooitMelden.Enabled);

  Fill(screen, {{"CBNooitMelden", "1"}});
  dialogs.AnswerChoice(6);
  EXPECT_EQ(Post(screen), TEventResult::Done);
  EXPECT_EQ(Messages(), std::string(kNooitMeldenVraag) + " -> Ja\n");
  EXPECT_EQ(Flags(2), std::to_string(std::stoi(before) + (1 << 25)) + "\n");
  EXPECT_FALSE(screen.CBNooitMelden.Enabled);
  EXPECT_EQ(Set(screen, "CBNooitMelden", "0"), TEventResult::Refused);

  // Another change of the class asks nothing.
  Fill(screen, {{"EdtOmschrijving", "Nooit gemeld"}});
  EXPECT_EQ(Post(screen), TEventResult::Done);
  EXPECT_EQ(Messages(), "");
  ASSERT_TRUE(Kies(screen, 1));
  EXPECT_TRUE(screen.CBNooitMelden.Enabled);
  ASSERT_TRUE(Kies(screen, 2));
  EXPECT_FALSE(screen.CBNooitMelden.Enabled);
}

TEST_F(KlasTest, ANewClassTakesTheInstitutionsFlagsAndTheSeatsOfItsRoom) {
  // Room 2 (B... of location 1) has no seats recorded.
  server->db().ExecuteScript("UPDATE LOKAAL SET LK_PLAATSEN = 0 WHERE LK_ID = 2;");
  struct Case {
    int isId;
    int vestiging;
    int lokaal;
    const char* code;
    const char* stored;
  };
  const Case cases[] = {
      {1, 1, 4, "LIN-NIEUW", "2097152 | 16 | 1\n"},  // computer room: 16 seats
      {1, 1, 2, "LIN-NUL", "2097152 | null | 1\n"},  // 0 seats: no maximum
      {2, 4, 13, "HOR-NIEUW", "0 | 24 | 2\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    auto& screen = Klassen(c.isId);
    ASSERT_EQ(Command(screen, "DSVWOKlas", TDataSetCommand::Insert), TEventResult::Done);
    EXPECT_EQ(screen.PCKlas.ActivePage(), &screen.TSFiche);
    Fill(screen, {{"EdtCode", c.code},
                  {"EdtOmschrijving", "Nieuwe klas"},
                  {"LCVestiging", std::to_string(c.vestiging)},
                  {"LCLokaal", std::to_string(c.lokaal)},
                  {"EdtVan", "01/10/2025"},
                  {"EdtTot", "30/11/2025"}});
    EXPECT_EQ(Post(screen), TEventResult::Done) << Messages();
    EXPECT_EQ(Stored(std::string("SELECT VWK_FLAGS, VWK_MAXLEERLINGEN, VWK_INSTELLING_FK FROM "
                                 "VWOKLAS WHERE VWK_CODE = '") +
                     c.code + "'"),
              c.stored);
    ASSERT_TRUE(app.CloseForm(screen));
  }
}

TEST_F(KlasTest, EditingAClassNeverChangesItsMaximum) {
  auto& screen = Klassen();
  ASSERT_TRUE(Kies(screen, 1));
  Fill(screen, {{"LCLokaal", "4"}});
  EXPECT_EQ(Post(screen), TEventResult::Done) << Messages();
  EXPECT_EQ(
      Stored("SELECT VWK_STANDAARDLOKAAL_FK, VWK_MAXLEERLINGEN FROM VWOKLAS WHERE VWK_ID = 1"),
      "4 | 20\n");
}

TEST_F(KlasTest, TheRoomsOfferedAreThoseOfTheClassLocation) {
  auto& screen = Klassen();
  ASSERT_TRUE(Kies(screen, 1));
  EXPECT_EQ(screen.CDSSelectLokaal.Filter(), "(LK_VESTIGINGSPLAATS_FK=1)");
  EXPECT_EQ(screen.CDSSelectLesplaats.Filter(), "(VP_ID = 1)");
  EXPECT_EQ(Set(screen, "LCLokaal", "5"), TEventResult::ClientError);  // a room of location 2
  Messages();
  prefs.SetVWOToonAlleLesplaatsen(true);
  ASSERT_TRUE(Kies(screen, 2));
  // By Davinci location: locations 1 and 2 share Davinci location 1.
  EXPECT_EQ(screen.CDSSelectLokaal.Filter(), "(VP_VWOVESTIGINGSPLAATS_FK=1)");
  EXPECT_EQ(screen.CDSSelectLesplaats.Filter(), "(VP_VWOVESTIGINGSPLAATS_FK = 1)");
  EXPECT_EQ(Set(screen, "LCLokaal", "1"), TEventResult::Done);
}

TEST_F(KlasTest, AClassWithADavinciCallCannotBeDeleted) {
  auto& screen = Klassen();
  struct Case {
    int vwkId;
    bool magVerwijderen;
  };
  for (const Case& c : {Case{1, false}, Case{4, false}, Case{5, true}}) {
    SCOPED_TRACE(c.vwkId);
    ASSERT_TRUE(Kies(screen, c.vwkId));
    EXPECT_EQ(screen.MagVerwijderen(), c.magVerwijderen);
  }
  ASSERT_TRUE(Kies(screen, 1));
  EXPECT_EQ(Command(screen, "DSVWOKlas", TDataSetCommand::Delete), TEventResult::Refused);
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOKLAS WHERE VWK_ID = 1"), "1\n");
}

TEST_F(KlasTest, AFreeFieldCaptionWithoutItsLabelStopsTheScreen) {
  auto& screen = Klassen();
  EXPECT_EQ(screen.ControlByName<TLabel>("VELD1").Caption, "Klasverantwoordelijke");
  EXPECT_EQ(screen.ControlByName<TLabel>("dat1").Caption, "Infoavond");
  EXPECT_EQ(screen.ControlByName("EdtVrijDatum1").Caption, "Infoavond");
  EXPECT_EQ(screen.ControlByName<TLabel>("PARM1").Caption, "Doelgroep");
  ASSERT_TRUE(app.CloseForm(screen));

  server->db().ExecuteScript(
      "INSERT INTO PARAM (P_ID, P_TYPE, P_CODE, P_OMSCHRIJVING, P_INSTELLING_FK) "
      "VALUES (9000, 'KLVVC', ' veld9 ', 'Negen', 1);");
  session.dm.DropCache();
  Messages();
  EXPECT_EQ(app.OpenForm("TVWOKlasForm"), nullptr);
  EXPECT_EQ(Messages(), "error: Kon label \"veld9\" niet vinden.\n");
}

// --- programme variants -----------------------------------------------------------------------

TEST_F(KlasTest, EnrolmentNeedsEveryLinkedVariantReadyForDavinci) {
  server->db().ExecuteScript(
      "UPDATE VWOKLAS SET VWK_FLAGS = 0 WHERE VWK_ID IN (7, 8);"
      "DELETE FROM VWOKLASOPLEIDING WHERE VKO_KLAS_FK = 8;"
      "UPDATE VWOINGOPLEIDINGSVARIANT SET CIO_DAVINCIKLAAR = NULL WHERE CIO_ID = "
      "(SELECT MIN(VKO_INGOPLEIDINGVARIANT_FK) FROM VWOKLASOPLEIDING WHERE VKO_KLAS_FK = 1);");
  auto& horizon = Klassen(2);
  ASSERT_TRUE(Kies(horizon, 7));
  EXPECT_EQ(Set(horizon, "CBInschrijvenMag", "1"), TEventResult::ClientError);
  EXPECT_EQ(Messages(), kNietKlaar);
  EXPECT_EQ(horizon.CDSVWOKlas.State(), DataSetState::Edit);
  EXPECT_EQ(horizon.CBInschrijvenMag.ValueText(), "0");
  EXPECT_FALSE(horizon.CDSKlasOpleidingen.Active());
  Command(horizon, "DSVWOKlas", TDataSetCommand::Cancel);

  // Never reported: no check. Marked by the module variant screen: no check.
  Fill(horizon, {{"CBNooitMelden", "1"}, {"CBInschrijvenMag", "1"}});
  Command(horizon, "DSVWOKlas", TDataSetCommand::Cancel);
  horizon.CDSVWOKlas.Tag = 1;
  Fill(horizon, {{"CBInschrijvenMag", "1"}});
  Command(horizon, "DSVWOKlas", TDataSetCommand::Cancel);
  horizon.CDSVWOKlas.Tag = 0;

  // A class without links.
  ASSERT_TRUE(Kies(horizon, 8));
  Fill(horizon, {{"CBInschrijvenMag", "1"}});
  EXPECT_EQ(Post(horizon), TEventResult::Done);
  EXPECT_EQ(Flags(8), "2048\n");
  ASSERT_TRUE(app.CloseForm(horizon));

  // An empty ready mark counts as not ready.
  auto& linde = Klassen(1);
  ASSERT_TRUE(Kies(linde, 1));
  Fill(linde, {{"CBInschrijvenMag", "0"}});
  EXPECT_EQ(Set(linde, "CBInschrijvenMag", "1"), TEventResult::ClientError);
  EXPECT_EQ(Messages(), kNietKlaar);
}

TEST_F(KlasTest, AClassWithLinksMovesOnlyWithinItsDavinciLocation) {
  auto& screen = Klassen();
  const char* kAndere =
      "error: Davinci vestigingsplaats nummer mag niet gewijzigd worden\r\nindien er al "
      "opleidingen aan de klas gekoppeld zijn.\n";
  // Class 1: location 1 -> 3 leaves Davinci location 1.
  ASSERT_TRUE(Kies(screen, 1));
  Fill(screen, {{"LCVestiging", "3"}});
  EXPECT_EQ(Post(screen), TEventResult::ClientError);
  EXPECT_EQ(Messages(), kAndere);
  EXPECT_EQ(screen.CDSVWOKlas.FieldByName("VWK_VESTIGINGSPLAATS_FK").AsInteger(), 3);
  // Back to a location of the same Davinci location: accepted.
  Fill(screen, {{"LCVestiging", "2"}});
  EXPECT_EQ(Post(screen), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored("SELECT VWK_VESTIGINGSPLAATS_FK FROM VWOKLAS WHERE VWK_ID = 1"), "2\n");

  // A link whose Davinci location is not the class's stops every move.
  server->db().ExecuteScript(
      "UPDATE VWOINGOPLEIDINGSVARIANT SET CIO_VWOVESTIGINGSPLAATS_FK = 2 WHERE CIO_ID = "
      "(SELECT MIN(VKO_INGOPLEIDINGVARIANT_FK) FROM VWOKLASOPLEIDING WHERE VKO_KLAS_FK = 4);");
  ASSERT_TRUE(Kies(screen, 4));
  Fill(screen, {{"LCVestiging", "2"}});
  EXPECT_EQ(Post(screen), TEventResult::ClientError);
  EXPECT_EQ(Messages(),
            "error: Er zijn ingerichte opleidingsvarianten aan de klas gekoppeld \rwaarvan de "
            "vestigingsplaats niet overeenkomt met de vestiging van de klas.\n");
  Command(screen, "DSVWOKlas", TDataSetCommand::Cancel);

  // A class without links moves anywhere.
  server->db().ExecuteScript("DELETE FROM VWOKLASOPLEIDING WHERE VKO_KLAS_FK = 5;");
  ASSERT_TRUE(Kies(screen, 5));
  Fill(screen, {{"LCVestiging", "3"}});
  EXPECT_EQ(Post(screen), TEventResult::Done) << Messages();
}

TEST_F(KlasTest, AProgrammeVariantIsLinkedOnce) {
  server->db().ExecuteScript("DELETE FROM VWOKLASOPLEIDING WHERE VKO_KLAS_FK = 2;");
  auto& screen = Klassen();
  ASSERT_TRUE(Kies(screen, 2));
  ASSERT_EQ(Set(screen, "PCKlas", "1"), TEventResult::Done);
  EXPECT_TRUE(screen.CDSKlasOpleidingen.Active());
  EXPECT_TRUE(screen.CDSKlasOpleidingen.IsEmpty());
  // The class cannot be edited while its programme variants are shown.
  EXPECT_NE(Set(screen, "EdtOmschrijving", "x"), TEventResult::Done);
  EXPECT_EQ(screen.CDSVWOKlas.State(), DataSetState::Browse);

  std::string gekozen;
  auto kies = [&](TQuilForm& dialog) {
    auto& search = dialog.ControlByName<TSearchControl>("SCOpleiding");
    auto* list = search.ListSource->DataSet();
    ASSERT_FALSE(list->IsEmpty());
    gekozen = list->FieldByName("CIO_ID").AsString();
    Fill(dialog, {{"SCOpleiding", gekozen}});
    EXPECT_EQ(Click(dialog, "BOK"), TEventResult::Done);
  };
  dialogs.AnswerModal("TVWOSelectIngopleidingForm", kies);
  EXPECT_EQ(Press(screen, "ANewKlasOpleiding"), TEventResult::Done);
  EXPECT_EQ(Stored("SELECT VKO_INGOPLEIDINGVARIANT_FK FROM VWOKLASOPLEIDING WHERE VKO_KLAS_FK = 2"),
            gekozen + "\n");
  EXPECT_EQ(screen.CDSKlasOpleidingen.RecordCount(), 1);

  dialogs.AnswerModal("TVWOSelectIngopleidingForm", kies);
  EXPECT_EQ(Press(screen, "ANewKlasOpleiding"), TEventResult::Done);
  EXPECT_EQ(Messages(),
            "modal TVWOSelectIngopleidingForm: Selecteer de ingerichte opleiding -> OK\n"
            "modal TVWOSelectIngopleidingForm: Selecteer de ingerichte opleiding -> OK\n"
            "message: De ingerichte opleiding is reeds gekoppeld aan de klas\n");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOKLASOPLEIDING WHERE VKO_KLAS_FK = 2"), "1\n");
  EXPECT_TRUE(screen.CDSINGVWOOpleidingen.Filter().empty());

  EXPECT_EQ(Press(screen, "ADeleteKlasOpleiding"), TEventResult::Done);
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOKLASOPLEIDING WHERE VKO_KLAS_FK = 2"), "0\n");
  ASSERT_EQ(Set(screen, "PCKlas", "0"), TEventResult::Done);
  EXPECT_FALSE(screen.CDSKlasOpleidingen.Active());
}

TEST_F(KlasTest, TheChoiceOffersTheVariantsOverlappingTheClassPeriod) {
  auto& screen = Klassen();
  ASSERT_TRUE(Kies(screen, 2));
  // The variants of location 2 run from 01/09/2024 to 31/08/2027; one of them ends before the
  // class starts.
  server->db().ExecuteScript(
      "UPDATE VWOINGOPLEIDINGSVARIANT SET CIO_TOT = '2025-09-14' WHERE CIO_ID = "
      "(SELECT MIN(VKO_INGOPLEIDINGVARIANT_FK) FROM VWOKLASOPLEIDING WHERE VKO_KLAS_FK = 2);");
  std::unique_ptr<TVWOSelectIngopleidingForm> dialog;
  ASSERT_EQ(app.Run([&] { dialog = screen.NewSelectOpleidingDialog(); }), TEventResult::Done);
  const std::string weg =
      Stored("SELECT MIN(VKO_INGOPLEIDINGVARIANT_FK) FROM VWOKLASOPLEIDING WHERE VKO_KLAS_FK = 2");
  EXPECT_EQ(dialog->CDSVWOIngOpleidingen.Lookup("CIO_ID", Variant(std::stoi(weg)), "CIO_ID"),
            Variant());
  EXPECT_GT(dialog->CDSVWOIngOpleidingen.RecordCount(), 0);
  EXPECT_EQ(dialog->GetCIOID(), -1);
  // Searching never widens the choice.
  app.Run([&] { dialog->SCOpleiding.Search(""); });
  EXPECT_EQ(dialog->CDSVWOIngOpleidingen.Lookup("CIO_ID", Variant(std::stoi(weg)), "CIO_ID"),
            Variant());
}

// --- the course number search -----------------------------------------------------------------

TEST_F(KlasTest, ACourseNumberFindsItsClassSwitchingToTheSchoolYear) {
  // Module variant 26 (hexadecimal 1A), a copy of one of class 5, in the second semester.
  server->db().ExecuteScript(
      "CREATE TEMP TABLE IMV26 AS SELECT * FROM VWOINGMODULEVARIANT WHERE IMV_ID = 10;"
      "UPDATE IMV26 SET IMV_ID = 26;"
      "INSERT INTO VWOINGMODULEVARIANT SELECT * FROM IMV26;");
  auto& screen = Klassen();
  ASSERT_EQ(Press(screen, "APeriode1"), TEventResult::Done);
  dialogs.AnswerInput("1A");
  EXPECT_EQ(Press(screen, "AZoekCursus"), TEventResult::Done);
  EXPECT_EQ(Messages(), "input Geef het cursusnummer in...: Cursusnummer: -> \"1A\"\n");
  EXPECT_EQ(screen.Periode(), kpSchooljaar);
  EXPECT_EQ(screen.CDSVWOKlas.FieldByName("VWK_ID").AsInteger(), 5);

  struct Case {
    const char* answer;
    const char* message;
  };
  const Case cases[] = {
      {"G1", "error: Ongeldig cursusnummer: G1\n"},
      {"0", "error: Ongeldig cursusnummer: 0\n"},
      {"FF", "error: Er zijn voor het geselecteerde schooljaar geen cursussen beschikbaar\n"},
      // Module variant 13 is of institution 2.
      {"d", "error: Er zijn voor het geselecteerde schooljaar geen cursussen beschikbaar\n"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    dialogs.AnswerInput(c.answer);
    Press(screen, "AZoekCursus");
    const std::string shown = Messages();
    EXPECT_EQ(shown.substr(shown.find('\n') + 1), c.message);
  }
  dialogs.CancelInput();
  EXPECT_EQ(Press(screen, "AZoekCursus"), TEventResult::Done);
  Messages();

  // A class of another school year is not in the list even after switching.
  server->db().ExecuteScript(
      "UPDATE VWOKLAS SET VWK_VAN = '2024-09-15', VWK_TOT = '2025-01-31' WHERE VWK_ID = 6;");
  ASSERT_EQ(Press(screen, "APeriode2"), TEventResult::Done);
  dialogs.AnswerInput("b");
  EXPECT_EQ(Press(screen, "AZoekCursus"), TEventResult::ClientError);
  EXPECT_EQ(Messages(),
            "input Geef het cursusnummer in...: Cursusnummer: -> \"b\"\n"
            "error: Kon cursusnummer b niet vinden in de getoonde lijst\n");
  EXPECT_EQ(screen.Periode(), kpSchooljaar);
}

// --- actions ----------------------------------------------------------------------------------

TEST_F(KlasTest, TheActionsSendTheirJobsForTheCurrentClass) {
  auto& screen = Klassen();
  ASSERT_TRUE(Kies(screen, 2));
  server->db().ExecuteScript(
      "UPDATE VWOLES SET VWL_LOKAAL_FK = NULL WHERE VWL_ID IN "
      "(SELECT MIN(VWL_ID) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 3);");
  for (const char* action : {"ALesdagen", "ACopyLokaal", "ACopyLokaalToAll",
                             "ACalcIMVAantalLeerlingen", "AMemoFromlesmoment"}) {
    EXPECT_EQ(Press(screen, action), TEventResult::Done) << action << Messages();
  }
  EXPECT_EQ(Messages(),
            "message: Standaard lokaal is met succes gekopieerd naar de lessen\n"
            "message: Standaard lokaal is met succes gekopieerd naar de lessen\n");
  EXPECT_EQ(JobLog(),
            "352 | 0 | Execute | [{\"type\":\"Integer\",\"value\":1},"
            "{\"type\":\"Integer\",\"value\":2}]\n"
            "351 | -1 | Execute | [{\"type\":\"Integer\",\"value\":0},"
            "{\"type\":\"Integer\",\"value\":2},{\"type\":\"Integer\",\"value\":6}]\n"
            "351 | -1 | Execute | [{\"type\":\"Integer\",\"value\":1},"
            "{\"type\":\"Integer\",\"value\":2},{\"type\":\"Integer\",\"value\":6}]\n"
            "373 | -1 | Execute | [{\"type\":\"String\",\"value\":\"3,4\"}]\n"
            "328 | -1 | Execute | [{\"type\":\"Integer\",\"value\":2}]\n");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOLES L JOIN VWOINGMODULEVARIANT I ON I.IMV_ID = "
                   "L.VWL_INGMODULEVARIANT_FK WHERE I.IMV_VWOKLAS_FK = 2 AND "
                   "(L.VWL_LOKAAL_FK IS NULL OR L.VWL_LOKAAL_FK <> 6)"),
            "0\n");
}

TEST_F(KlasTest, ACancelledClassOffersNoLessonWork) {
  server->db().ExecuteScript(
      "UPDATE VWOKLAS SET VWK_FLAGS = VWK_FLAGS + 134217728 WHERE VWK_ID = 2;");
  auto& screen = Klassen();
  ASSERT_TRUE(Kies(screen, 2));
  screen.UpdateActions();
  EXPECT_FALSE(screen.ALesmomentRecept.Enabled);
  EXPECT_FALSE(screen.ACopyLokaal.Enabled);
  EXPECT_TRUE(screen.ALesdagen.Enabled);
  ASSERT_TRUE(Kies(screen, 1));
  screen.UpdateActions();
  EXPECT_TRUE(screen.ALesmomentRecept.Enabled);
  // The Davinci calls need a right to change, add or delete.
  screen.SetRights(1 << kRightOpen);
  screen.UpdateActions();
  EXPECT_FALSE(screen.ACommDavinci.Enabled);
  screen.SetRights(1 << kRightOpen | 1 << kRightDelete);
  screen.UpdateActions();
  EXPECT_TRUE(screen.ACommDavinciCursist.Enabled);
}

TEST_F(KlasTest, TheDavinciCallsOfTheClassAndOfItsPupils) {
  auto& screen = Klassen();
  ASSERT_TRUE(Kies(screen, 1));
  int calls = -1;
  std::string header;
  dialogs.AnswerModal("TDepartementCallsDialog", [&](TQuilForm& dialog) {
    auto& shown = dynamic_cast<TDepartementCallsDialog&>(dialog);
    calls = shown.CDSCalls()->RecordCount();
    header = shown.LHeader.Caption;
    Click(dialog, "BSluiten");
  });
  EXPECT_EQ(Press(screen, "ACommDavinci"), TEventResult::Done) << Messages();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(header, "Davinci communicatie voor klas " +
                        screen.CDSVWOKlas.FieldByName("VWK_CODE").AsString() + " " +
                        screen.CDSVWOKlas.FieldByName("VWK_OMSCHRIJVING").AsString());
  dialogs.AnswerModal("TDepartementCallsDialog", [&](TQuilForm& dialog) {
    auto& shown = dynamic_cast<TDepartementCallsDialog&>(dialog);
    calls = shown.CDSCalls()->RecordCount();
    header = shown.LHeader.Caption;
    Click(dialog, "BSluiten");
  });
  EXPECT_EQ(Press(screen, "ACommDavinciCursist"), TEventResult::Done) << Messages();
  EXPECT_EQ(
      std::to_string(calls) + "\n",
      Stored("SELECT COUNT(*) FROM WEBSERVICECALL W JOIN ZIDEZUZOID I ON I.ID_ID = "
             "W.WC_ZIDEZUZOID_FK WHERE I.ID_TYPE = 5 AND I.ID_ID3 = 1 AND W.WC_SCHOOL_FK = 1"));
  EXPECT_EQ(header.rfind("Davinci cursisten communicatie voor klas ", 0), 0u);
}

TEST_F(KlasTest, TheRecipeDialogStartsFromTheClass) {
  auto& screen = Klassen();
  ASSERT_TRUE(Kies(screen, 3));
  dialogs.AnswerModal("TVWOLesUitReceptDialoog", [&](TQuilForm& shown) {
    auto& dialog = dynamic_cast<TVWOLesUitReceptDialoog&>(shown);
    EXPECT_EQ(dialog.DoelID, 3);
    EXPECT_EQ(dialog.StandaardLokaal, 11);
    EXPECT_EQ(dialog.StandaardLesplaats, -1);
    EXPECT_EQ(dialog.GetDatum(1), EncodeDate(2025, 9, 15));
    EXPECT_EQ(dialog.GetDatum(2), EncodeDate(2026, 1, 31));
    EXPECT_EQ(dialog.Lokalen->DataSet()->Filter(), "(LK_VESTIGINGSPLAATS_FK=3)");
    EXPECT_TRUE(dialog.LesGevers->DataSet()->Active());
    Click(dialog, "BCancel");
  });
  EXPECT_EQ(Press(screen, "ALesmomentRecept"), TEventResult::Done);
  EXPECT_FALSE(screen.CDSSelectLokaal.Filtered());
  EXPECT_EQ(JobLog(), "");
}

TEST_F(KlasTest, PrintingPassesTheLocationAndThePeriod) {
  auto& screen = Klassen();
  Set(screen, "LCFilterVestiging", "2");
  ASSERT_EQ(Press(screen, "APeriode3"), TEventResult::Done);
  TPrintParams params;
  ASSERT_EQ(app.Run([&] { params = screen.GetPrintParams(screen.ReportDefs.at(0)); }),
            TEventResult::Done);
  EXPECT_EQ(params.Value("VP_ID"), "2");
  EXPECT_EQ(params.Value("Begindatum"), "01/10/2025");
  EXPECT_EQ(params.Value("EindDatum"), "01/10/2025");
  // The two "(class)" reports are hidden without the database parameter.
  int zichtbaar = 0;
  for (const TReportDef& report : screen.ReportDefs) zichtbaar += report.Visible ? 1 : 0;
  EXPECT_EQ(zichtbaar, 2);
}

}  // namespace
}  // namespace kavel::testing
