// Organised programme variants per geography and per location, on the demo data. Institution 2
// ('t Veld, school 2) organises every variant it is authorised for in its geographies 3 and 4,
// from 01/09/2024 to 31/08/2027, not ready for Davinci; institution 1's variants are ready. Every
// location teaches what is organised in its geography. The working date is 01/10/2025.
#include "module/ScreenTest.h"
#include "structure/frmVWOIngOpleidingsVariant.h"
#include "structure/frmVWOIngOpleidingsVariantVest.h"

namespace kavel::testing {
namespace {

using namespace quil;

constexpr const char* kDuaalVraag =
    "question VWO Opleidingsvariant toevoegen: Er bestaat reeds een ingerichte versie van deze "
    "opleidingsvariant in deze vestiging in deze periode\r\nWilt u deze als een duale opleiding "
    "toevoegen?\r\n";
constexpr const char* kReedsIngericht =
    "error: Er bestaat reeds een ingerichte opleidingsvariant voor deze opleidingsvariant in deze "
    "vestiging in deze periode\n";

class IngOpleidingsVariantenTest : public ScreenTest {
 protected:
  void OnInstitution(int isId) {
    TQuilDBForm& browser = Open("TBrowseVWOStructInstellingForm");
    ASSERT_EQ(app.Run([&] {
      browser.FindDataSet("CDSBrowseVWOinstelling")->Locate("IS_ID", Variant(isId));
    }),
              TEventResult::Done);
  }
  //! The geography screen of an institution on one of its geographies.
  TVWOIngOpleidingsVariantForm& Geografie(int isId, int vvpId) {
    OnInstitution(isId);
    auto& screen = Open<TVWOIngOpleidingsVariantForm>("TVWOIngOpleidingsVariantForm");
    Fill(screen, {{"SCGeografie", std::to_string(vvpId)}});
    return screen;
  }
  //! The organised variant of institution 2 in geography 3 for the official variant `code`.
  std::string Cio(const char* code) {
    std::string id = Stored(
        std::string(
            "SELECT MIN(C.CIO_ID) FROM VWOINGOPLEIDINGSVARIANT C JOIN VWOOPLEIDINGSVARIANT O "
            "ON O.VOO_ID = C.CIO_VWOOPLEIDINGSVARIANT_FK WHERE C.CIO_INSTELLING_FK = 2 "
            "AND C.CIO_VWOVESTIGINGSPLAATS_FK = 3 AND O.VOO_CODE = '") +
        code + "'");
    return id.substr(0, id.size() - 1);
  }
  //! Flags and period of the organised variants of `code` in geography 3, in id order.
  std::string Organised(const char* code) {
    return Stored(std::string("SELECT C.CIO_FLAGS, C.CIO_VAN, C.CIO_TOT, C.CIO_DAVINCIKLAAR, "
                              "C.CIO_INSTELLING_FK FROM VWOINGOPLEIDINGSVARIANT C "
                              "JOIN VWOOPLEIDINGSVARIANT O ON O.VOO_ID = "
                              "C.CIO_VWOOPLEIDINGSVARIANT_FK WHERE "
                              "C.CIO_VWOVESTIGINGSPLAATS_FK = 3 AND O.VOO_CODE = '") +
                  code + "' ORDER BY C.CIO_ID");
  }
  bool Locate(TQuilClientDataSet& list, const char* field, const Variant& value) {
    bool found = false;
    EXPECT_EQ(app.Run([&] { found = list.Locate(field, value); }), TEventResult::Done);
    return found;
  }
};

TEST_F(IngOpleidingsVariantenTest, ADualVersionIsAddedOnceThenEveryOverlapAsksAgain) {
  auto& screen = Geografie(2, 3);
  ASSERT_TRUE(Locate(screen.CDSOffOpleidingsVarianten, "VOO_CODE", Variant("ENGS")));
  dialogs.AnswerChoice(6);
  EXPECT_EQ(Press(screen, "AAdd"), TEventResult::Done);
  EXPECT_EQ(Messages(), std::string(kDuaalVraag) + " -> Ja\n");
  EXPECT_EQ(Organised("ENGS"),
            "0 | 2024-09-01 | 2027-08-31 | - | 2\n"
            "1 | 2024-09-01 | 2027-08-31 | - | 2\n");

  // A third: the first asks (both not dual), "Ja" makes it dual, so the dual one asks too.
  dialogs.AnswerChoice(6);
  dialogs.AnswerChoice(7);
  EXPECT_EQ(Press(screen, "AAdd"), TEventResult::ClientError);
  EXPECT_EQ(Messages(),
            std::string(kDuaalVraag) + " -> Ja\n" + kDuaalVraag + " -> Nee\n" + kReedsIngericht);
  const std::string stored = Organised("ENGS");
  EXPECT_EQ(std::count(stored.begin(), stored.end(), '\n'), 2) << stored;
  EXPECT_EQ(screen.CDSIngOpleidingsVarianten.State(), DataSetState::Browse);
}

TEST_F(IngOpleidingsVariantenTest, ThePeriodIsComparedAtItsFirstAndLastDay) {
  // ENGS is organised from 2020 to 2021 (E) and in 2022 (R); E's period is changed.
  server->db().ExecuteScript(
      "UPDATE VWOINGOPLEIDINGSVARIANT SET CIO_VAN = '2020-09-01', CIO_TOT = '2021-08-31' "
      "WHERE CIO_ID = " +
      Cio("ENGS") +
      ";"
      "INSERT INTO VWOINGOPLEIDINGSVARIANT (CIO_ID, CIO_VWOOPLEIDINGSVARIANT_FK, "
      "CIO_VWOVESTIGINGSPLAATS_FK, CIO_INSTELLING_FK, CIO_VAN, CIO_TOT, CIO_DAVINCIKLAAR, "
      "CIO_FLAGS, CIO_VERANDERDDOOR, CIO_VERANDERDOP) VALUES (900, 3, 3, 2, '2022-01-01', "
      "'2022-12-31', '-', 0, 1, '2025-08-25 10:00:00');");
  auto& screen = Geografie(2, 3);
  struct Case {
    const char* van;
    const char* tot;
    bool asks;
  };
  const Case cases[] = {
      {"01/12/2021", "31/01/2023", false},  // around R
      {"31/12/2022", "30/06/2023", true},   // starts on R's last day
      {"01/06/2021", "01/01/2022", true},   // ends on R's first day
      {"01/01/2023", "30/06/2023", false},  // after R
      {"01/06/2021", "31/12/2021", false},  // before R
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.van);
    ASSERT_TRUE(
        Locate(screen.CDSIngOpleidingsVarianten, "CIO_ID", Variant(std::stoi(Cio("ENGS")))));
    Fill(screen, {{"EdtVan", c.van}, {"EdtTot", c.tot}});
    if (c.asks) dialogs.AnswerChoice(7);
    const TEventResult posted = Command(screen, "DSIngOpleidingsVarianten", TDataSetCommand::Post);
    EXPECT_EQ(posted, c.asks ? TEventResult::ClientError : TEventResult::Done);
    EXPECT_EQ(Messages(), c.asks ? std::string(kDuaalVraag) + " -> Nee\n" + kReedsIngericht : "");
    if (c.asks) {
      Command(screen, "DSIngOpleidingsVarianten", TDataSetCommand::Cancel);
    } else {
      EXPECT_EQ(Stored("SELECT CIO_VAN FROM VWOINGOPLEIDINGSVARIANT WHERE CIO_ID = " + Cio("ENGS") +
                       " AND CIO_ID <> 900"),
                std::string(c.van).substr(6, 4) + "-" + std::string(c.van).substr(3, 2) + "-" +
                    std::string(c.van).substr(0, 2) + "\n");
    }
    server->db().ExecuteScript(
        "UPDATE VWOINGOPLEIDINGSVARIANT SET CIO_VAN = '2020-09-01', CIO_TOT = '2021-08-31' "
        "WHERE CIO_ID = " +
        Cio("ENGS") + ";");
    Command(screen, "DSIngOpleidingsVarianten", TDataSetCommand::Refresh);
  }
}

TEST_F(IngOpleidingsVariantenTest, ThePeriodMustEndAfterItStarts) {
  auto& screen = Geografie(2, 3);
  ASSERT_TRUE(Locate(screen.CDSIngOpleidingsVarianten, "CIO_ID", Variant(std::stoi(Cio("ICTS")))));
  Fill(screen, {{"EdtVan", "01/09/2025"}, {"EdtTot", "01/09/2025"}});
  EXPECT_EQ(Command(screen, "DSIngOpleidingsVarianten", TDataSetCommand::Post),
            TEventResult::ClientError);
  EXPECT_EQ(Messages(), "error: Einddatum moet vallen na de begindatum\n");
  EXPECT_EQ(screen.CDSIngOpleidingsVarianten.State(), DataSetState::Edit);
  Fill(screen, {{"EdtTot", "02/09/2025"}});
  EXPECT_EQ(Command(screen, "DSIngOpleidingsVarianten", TDataSetCommand::Post), TEventResult::Done)
      << Messages();
  EXPECT_EQ(
      Stored("SELECT CIO_VAN, CIO_TOT FROM VWOINGOPLEIDINGSVARIANT WHERE CIO_ID = " + Cio("ICTS")),
      "2025-09-01 | 2025-09-02\n");
}

TEST_F(IngOpleidingsVariantenTest, OnlyActiveKeepsAVariantEndingOnTheWorkingDate) {
  server->db().ExecuteScript(
      "UPDATE VWOINGOPLEIDINGSVARIANT SET CIO_TOT = '2025-10-01' WHERE CIO_ID = " + Cio("ENGS") +
      "; UPDATE VWOINGOPLEIDINGSVARIANT SET CIO_TOT = '2025-09-30' WHERE CIO_ID = " + Cio("FRAS") +
      "; UPDATE VWOINGOPLEIDINGSVARIANT SET CIO_VAN = '2025-10-02' WHERE CIO_ID = " + Cio("SPAS") +
      ";");
  auto& screen = Geografie(2, 3);
  const int all = screen.CDSIngOpleidingsVarianten.RecordCount();
  Fill(screen, {{"ChkActief", "1"}});
  EXPECT_EQ(screen.CDSIngOpleidingsVarianten.RecordCount(), all - 2);
  EXPECT_TRUE(Locate(screen.CDSIngOpleidingsVarianten, "VOO_CODE", Variant("ENGS")));
  EXPECT_FALSE(Locate(screen.CDSIngOpleidingsVarianten, "VOO_CODE", Variant("FRAS")));
  EXPECT_FALSE(Locate(screen.CDSIngOpleidingsVarianten, "VOO_CODE", Variant("SPAS")));
  Fill(screen, {{"ChkActief", "0"}});
  EXPECT_EQ(screen.CDSIngOpleidingsVarianten.RecordCount(), all);
}

TEST_F(IngOpleidingsVariantenTest, AReadyVariantStaysAndItsMarkStays) {
  auto& screen = Geografie(1, 1);
  const int all = screen.CDSIngOpleidingsVarianten.RecordCount();
  EXPECT_EQ(Press(screen, "ADelete"), TEventResult::Refused);
  EXPECT_FALSE(screen.CBKlaar.Enabled);
  EXPECT_EQ(Set(screen, "CBKlaar", "0"), TEventResult::Refused);
  ASSERT_EQ(app.Run([&] { screen.GridIngericht.OnDblClick(); }), TEventResult::Done);
  EXPECT_EQ(screen.CDSIngOpleidingsVarianten.RecordCount(), all);
  // Its Davinci communication, for a user who may change, add or delete here.
  EXPECT_TRUE(screen.ACommDavinci.Enabled);
  screen.SetRights(0x1);
  screen.UpdateActions();
  EXPECT_FALSE(screen.ACommDavinci.Enabled);
  screen.SetRights(0x8);
  screen.UpdateActions();
  EXPECT_TRUE(screen.ACommDavinci.Enabled);
}

TEST_F(IngOpleidingsVariantenTest, AMarkOnceStoredAsReadyStays) {
  auto& other = Geografie(2, 3);
  ASSERT_TRUE(Locate(other.CDSIngOpleidingsVarianten, "CIO_ID", Variant(std::stoi(Cio("ICTS")))));
  EXPECT_TRUE(other.CBKlaar.Enabled);
  Fill(other, {{"CBKlaar", "1"}});
  EXPECT_EQ(Command(other, "DSIngOpleidingsVarianten", TDataSetCommand::Post), TEventResult::Done);
  EXPECT_FALSE(other.CBKlaar.Enabled);
  EXPECT_EQ(Press(other, "ADelete"), TEventResult::Refused);
  ASSERT_TRUE(Locate(other.CDSIngOpleidingsVarianten, "VOO_CODE", Variant("ENGS")));
  EXPECT_FALSE(other.ACommDavinci.Enabled) << "not ready: nothing was sent to Davinci";
}

TEST_F(IngOpleidingsVariantenTest, GreyMarksWhatIsOrganisedAndRemovingLeavesTheOfficialRow) {
  // An authorisation for the old French variant, which cannot be organised.
  server->db().ExecuteScript(
      "INSERT INTO VWOOPLEIDINGSBEVOEGDHEID (VOB_ID, VOB_SCHOOL_FK, VOB_VWOOPLEIDINGSVARIANT_FK, "
      "VOB_VWOVESTIGINGSPLAATS_FK, VOB_AANVANGSDATUM, VOB_EINDDATUM) "
      "VALUES (900, 2, 16, 3, '2024-09-01', '2027-08-31');");
  auto& screen = Geografie(2, 3);
  EXPECT_FALSE(Locate(screen.CDSOffOpleidingsVarianten, "VOO_CODE", Variant("FRAO")))
      << "only what can be organised";
  Fill(screen, {{"ChkInrichtbaar", "0"}});
  ASSERT_TRUE(Locate(screen.CDSOffOpleidingsVarianten, "VOO_CODE", Variant("FRAO")));
  EXPECT_TRUE(screen.CDSOffOpleidingsVarianten.FieldByName("INGERICHT_KLEUR").IsNull());
  ASSERT_TRUE(Locate(screen.CDSOffOpleidingsVarianten, "VOO_CODE", Variant("ICTS")));
  EXPECT_EQ(screen.CDSOffOpleidingsVarianten.FieldByName("INGERICHT_KLEUR").AsInteger(), 0x808080);

  // Removing a variant no class and no location uses.
  server->db().ExecuteScript(
      "DELETE FROM VWOINGOPLVARVESTIGING WHERE VIV_VWOINGOPLEIDINGSVARIANT_FK = " + Cio("FRAD") +
      "; DELETE FROM VWOKLASOPLEIDING WHERE VKO_INGOPLEIDINGVARIANT_FK = " + Cio("FRAD") + ";");
  ASSERT_TRUE(Locate(screen.CDSIngOpleidingsVarianten, "VOO_CODE", Variant("FRAD")));
  EXPECT_EQ(Press(screen, "ADelete"), TEventResult::Done) << Messages();
  EXPECT_EQ(Organised("FRAD"), "");
  EXPECT_EQ(screen.CDSOffOpleidingsVarianten.FieldByName("VOO_CODE").AsString(), "ICTS")
      << "back on the row that was current";
  ASSERT_TRUE(Locate(screen.CDSOffOpleidingsVarianten, "VOO_CODE", Variant("FRAD")));
  EXPECT_TRUE(screen.CDSOffOpleidingsVarianten.FieldByName("INGERICHT_KLEUR").IsNull());
}

TEST_F(IngOpleidingsVariantenTest, ALocationLinksTheVariantsOfItsOwnGeographyOnce) {
  OnInstitution(2);
  auto& screen = Open<TVWOIngOpleidingsVariantVestForm>("TVWOIngOpleidingsVariantVestForm");
  const std::string location = Stored(
      "SELECT MIN(VP_ID) FROM VESTIGINGSPLAATS WHERE VP_INSTELLING_FK = 2 AND "
      "VP_VWOVESTIGINGSPLAATS_FK IS NOT NULL");
  Fill(screen, {{"SCVestiging", location.substr(0, location.size() - 1)}});
  const std::string geography =
      Stored("SELECT VP_VWOVESTIGINGSPLAATS_FK FROM VESTIGINGSPLAATS WHERE VP_ID = " + location);
  TQuilClientDataSet& offered = screen.CDSVWOIngOplVar;
  ASSERT_FALSE(offered.IsEmpty());
  for (offered.First(); !offered.Eof(); offered.Next()) {
    EXPECT_EQ(offered.FieldByName("CIO_VWOVESTIGINGSPLAATS_FK").AsString() + "\n", geography);
  }
  offered.First();
  EXPECT_EQ(Press(screen, "AAdd"), TEventResult::Refused) << "taught there already";
  EXPECT_EQ(Press(screen, "AAddAll"), TEventResult::Done);
  const int links = screen.CDSKoppelingen.RecordCount();
  EXPECT_EQ(links, offered.RecordCount()) << "nothing linked twice";

  ASSERT_TRUE(Locate(screen.CDSKoppelingen, "VIV_VWOINGOPLEIDINGSVARIANT_FK",
                     offered.FieldByName("CIO_ID").Value()));
  EXPECT_EQ(Press(screen, "ADelete"), TEventResult::Done) << Messages();
  EXPECT_TRUE(offered.FieldByName("GEKOPPELD_KLEUR").IsNull());
  EXPECT_EQ(Press(screen, "AAdd"), TEventResult::Done) << Messages();
  EXPECT_EQ(Press(screen, "AAdd"), TEventResult::Refused);
  EXPECT_EQ(screen.CDSKoppelingen.RecordCount(), links);
  EXPECT_EQ(Command(screen, "DSKoppelingen", TDataSetCommand::Delete), TEventResult::Refused)
      << "links go only through the actions";

  // The locations lose their geography elsewhere; the screen reads its list of them again (the
  // list is shown only through the search control, so the user sends it no commands).
  server->db().ExecuteScript("UPDATE VESTIGINGSPLAATS SET VP_VWOVESTIGINGSPLAATS_FK = NULL;");
  EXPECT_EQ(Command(screen, "DSVestigingen", TDataSetCommand::Refresh), TEventResult::Refused);
  app.Run([&] { screen.CDSVestigingen.Refresh(); });
  Fill(screen, {{"SCVestiging", ""}});
  EXPECT_EQ(Set(screen, "SCVestiging", location.substr(0, location.size() - 1)),
            TEventResult::ClientError);
  EXPECT_EQ(Messages(), "error: Davinci vestigingsplaats niet ingevuld voor vestigingsplaats\n");
  EXPECT_FALSE(offered.Active());
  EXPECT_FALSE(screen.CDSKoppelingen.Active());
}

}  // namespace
}  // namespace kavel::testing
