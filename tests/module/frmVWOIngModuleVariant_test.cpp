// The organised module variant screen, opened as the class screen opens it, on the demo data:
// what a new module variant starts with, the checks before a post, the cancellation question and
// the class mark it leaves in the class screen's change log, and the actions with the jobs they
// call and what they change.
#include "modulevariants/frmVWOIngModuleVariant.h"

#include "host/forms/AdminPrefs.h"
#include "host/forms/Dlgdepartementcalls.h"
#include "module/KlasMaster.h"
#include "planning/dlgVWOLesmomentUitRecept.h"

namespace kavel::testing {
namespace {

using namespace quil;

constexpr const char* kSource = "DSVWOIngModuleVarianten";

class IngModuleVariantTest : public IngModuleVariantScreenTest {
 protected:
  //! A class of De Linde at its first location, without module variants.
  int NewClass(const char* van, const char* tot) {
    server->db().ExecuteScript(
        std::string(
            "INSERT INTO VWOKLAS (VWK_ID, VWK_CODE, VWK_OMSCHRIJVING, VWK_INSTELLING_FK, "
            "VWK_VESTIGINGSPLAATS_FK, VWK_VAN, VWK_TOT, VWK_MAXLEERLINGEN, VWK_FLAGS, "
            "VWK_VERANDERDDOOR, VWK_VERANDERDOP) VALUES (99, 'LIN-NIEUW', 'Nieuwe klas', 1, 1, '") +
        van + "', '" + tot + "', 18, 2048, 1, '2025-06-01 00:00:00')");
    master.CDSVWOKlas.Close();
    master.CDSVWOKlas.Open();
    return 99;
  }
  TEventResult Post(TQuilForm& screen) { return Command(screen, kSource, TDataSetCommand::Post); }
  TEventResult Insert(TQuilForm& screen) {
    return Command(screen, kSource, TDataSetCommand::Insert);
  }
  std::string Field(TVWOIngModuleVariantForm& screen, const char* name) {
    return screen.CDSVWOIngModuleVarianten.FieldByName(name).DisplayText();
  }
  std::string ModuleVariant(int imv, const char* columns) {
    return Stored(std::string("SELECT ") + columns +
                  " FROM VWOINGMODULEVARIANT WHERE IMV_ID = " + std::to_string(imv));
  }
};

TEST(IngModuleVariantTexts, LessonDaysAndCourseNumbers) {
  const std::pair<int64_t, const char*> days[] = {
      {0, ""},
      {(1 << 0) | (1 << 7) | (1 << 16), "Ma VM,Ma NM,Wo AV"},
      {1 << 20, "Zo AV"},
      {(1 << 13) | (1 << 1), "Di VM,Zo NM"},
      {(1 << 21) - 1,
       "Ma VM,Ma NM,Ma AV,Di VM,Di NM,Di AV,Wo VM,Wo NM,Wo AV,Do VM,Do NM,Do AV,Vr VM,Vr NM,Vr AV,"
       "Za VM,Za NM,Za AV,Zo VM,Zo NM,Zo AV"}};
  for (const auto& [bits, text] : days) EXPECT_EQ(LesdagenTekst(bits), text) << bits;
  EXPECT_EQ(Cursusnummer(1000), "00000003E8");
  EXPECT_EQ(Cursusnummer(255), "00000000FF");
  EXPECT_EQ(Cursusnummer(0xABCDEF1234), "ABCDEF1234");
}

TEST_F(IngModuleVariantTest, TheFirstModuleVariantOfAClassStartsFromTheClass) {
  auto& screen = OpenOn(NewClass("2025-09-01", "2026-01-31"));
  EXPECT_TRUE(screen.LijstLeeg());
  EXPECT_FALSE(screen.LCModuleVariant.Enabled);
  ASSERT_EQ(Insert(screen), TEventResult::Done) << Messages();
  EXPECT_TRUE(screen.LCModuleVariant.Enabled);
  const std::string defaults = Field(screen, "IMV_FLAGS") + " " + Field(screen, "IMV_LESDAGEN") +
                               " " + Field(screen, "IMV_LESTIJDENAFSTANDSONDERWIJS") + " " +
                               Field(screen, "IMV_LESTIJDENWERKPLEKLEREN") + " " +
                               Field(screen, "IMV_LESTIJDENDELIBERATIE") + " " +
                               Field(screen, "IMV_LESVAN") + " " + Field(screen, "IMV_VAN") + " " +
                               Field(screen, "IMV_LESTOT") + " " + Field(screen, "IMV_TOT") + " " +
                               Field(screen, "IMV_MAXLEERLINGEN") + " " +
                               Field(screen, "IMV_REGISTRATIEMOMENT");
  // One third of the 152 days from 1 September to 31 January, rounded: 51 days, 22 October.
  EXPECT_EQ(defaults, "20 0 0 0 0 01/09/2025 01/09/2025 31/01/2026 31/01/2026 18 22/10/2025");
  EXPECT_EQ(Field(screen, "IMV_VWOKLAS_FK"), "99");

  // The choice offers the class's location's module variants that are not cancelled; a chosen
  // one names the module variant.
  TQuilClientDataSet& offered = screen.CDSSelectBevoegdeModuleVar;
  ASSERT_TRUE(offered.Filtered());
  ASSERT_GT(offered.RecordCount(), 0);
  const std::string vmv = offered.FieldByName("VMV_ID").AsString();
  const std::string omschrijving = offered.FieldByName("VOM_OMSCHRIJVING").AsString();
  Fill(screen,
       {{"LCModuleVariant", vmv},
        {"EdtAfkorting", "NIEUW1"},
        {"LCLesplaats", "1"},
        {"LCFinancieringsbron", Value("SELECT MIN(P_ID) FROM PARAM WHERE P_TYPE = 'VWFT'")}});
  EXPECT_EQ(Field(screen, "IMV_OMSCHRIJVING"), omschrijving);
  EXPECT_EQ(Field(screen, "IMV_COMMERCIELENAAM"), omschrijving);
  ASSERT_EQ(Post(screen), TEventResult::Done) << Messages();
  EXPECT_FALSE(screen.LCModuleVariant.Enabled);
  EXPECT_FALSE(offered.Filtered());
  EXPECT_FALSE(screen.LijstLeeg());
  EXPECT_EQ(Stored("SELECT IMV_AFKORTING, IMV_FLAGS, IMV_REGISTRATIEMOMENT FROM "
                   "VWOINGMODULEVARIANT WHERE IMV_VWOKLAS_FK = 99"),
            "NIEUW1 | 20 | 2025-10-22\n");
}

TEST_F(IngModuleVariantTest, ASecondModuleVariantCopiesTheLastOneAndOnlyTheOptionalFieldsItHas) {
  const int klas = KlasOf(NotReported());
  const std::string last = Stored(
      "SELECT MAX(IMV_ID) FROM VWOINGMODULEVARIANT WHERE IMV_VWOKLAS_FK = " + std::to_string(klas));
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_LESDAGEN = 16513, IMV_FLAGS = 6, "
      "IMV_LESTIJDENDELIBERATIE = 3, IMV_REGISTRATIEMOMENT = '2025-11-05', IMV_URL = "
      "'https://cursus.example', IMV_VRIJVELD2 = 'partner', IMV_MAXLEERLINGEN = NULL, "
      "IMV_COMMERCIELENAAM = 'Niet kopiëren', IMV_CONTACTLESTIJDEN1 = 12 WHERE IMV_ID = " +
      last);
  auto& screen = OpenOn(klas);
  ASSERT_FALSE(screen.LijstLeeg());
  ASSERT_EQ(Insert(screen), TEventResult::Done) << Messages();
  std::string copied;
  for (const char* field :
       {"IMV_LESDAGEN", "IMV_FINANCIERINGSBRON_FK", "IMV_LESVAN", "IMV_LESTOT", "IMV_VAN",
        "IMV_TOT", "IMV_REGISTRATIEMOMENT", "IMV_LESPLAATS_FK", "IMV_LESTIJDENDELIBERATIE",
        "IMV_FLAGS", "IMV_LESGEVER_FK", "IMV_URL", "IMV_VRIJVELD2", "IMV_MAXLEERLINGEN",
        "IMV_COMMERCIELENAAM", "IMV_CONTACTLESTIJDEN1", "IMV_AFKORTING"}) {
    copied += Field(screen, field) + "|";
  }
  const std::string source = Stored(
      "SELECT IMV_FINANCIERINGSBRON_FK, IMV_LESPLAATS_FK, IMV_LESGEVER_FK FROM "
      "VWOINGMODULEVARIANT WHERE IMV_ID = " +
      last);
  // The registration moment is the last one's, not the one its period proposes; the maximum of
  // pupils was empty there and stays empty; the commercial name and contact times are not copied.
  const std::string period = screen.CDSVWOLastIMV.FieldByName("IMV_LESVAN").DisplayText() + "|" +
                             screen.CDSVWOLastIMV.FieldByName("IMV_LESTOT").DisplayText() + "|" +
                             screen.CDSVWOLastIMV.FieldByName("IMV_VAN").DisplayText() + "|" +
                             screen.CDSVWOLastIMV.FieldByName("IMV_TOT").DisplayText();
  EXPECT_EQ(copied, "16513|" +
                        screen.CDSVWOLastIMV.FieldByName("IMV_FINANCIERINGSBRON_FK").AsString() +
                        "|" + period + "|05/11/2025|" +
                        screen.CDSVWOLastIMV.FieldByName("IMV_LESPLAATS_FK").AsString() + "|3|6|" +
                        screen.CDSVWOLastIMV.FieldByName("IMV_LESGEVER_FK").AsString() +
                        "|https://cursus.example|partner|||||")
      << source;
  EXPECT_EQ(Command(screen, kSource, TDataSetCommand::Cancel), TEventResult::Done);
}

TEST_F(IngModuleVariantTest, TheRegistrationMomentFollowsThePeriodOnlyWhileInserting) {
  const int imv = NotReported();
  auto& screen = OpenAt(imv);
  const std::string before = Field(screen, "IMV_REGISTRATIEMOMENT");
  Fill(screen, {{"EdtVan", "01/09/2025"}, {"EdtTot", "31/01/2026"}});
  EXPECT_EQ(Field(screen, "IMV_REGISTRATIEMOMENT"), before) << "an existing record keeps it";
  ASSERT_EQ(Command(screen, kSource, TDataSetCommand::Cancel), TEventResult::Done);

  ASSERT_EQ(Insert(screen), TEventResult::Done) << Messages();
  Fill(screen, {{"EdtVan", "01/09/2025"}, {"EdtTot", "31/01/2026"}});
  EXPECT_EQ(Field(screen, "IMV_REGISTRATIEMOMENT"), "22/10/2025");
  Fill(screen, {{"EdtTot", "01/09/2025"}});
  EXPECT_EQ(Field(screen, "IMV_REGISTRATIEMOMENT"), "01/09/2025");
  ASSERT_EQ(Command(screen, kSource, TDataSetCommand::Cancel), TEventResult::Done);
}

TEST_F(IngModuleVariantTest, DavinciStartsAfter31March2013AndPeriodsMayNotRunBackwards) {
  const int imv = NotReported();
  auto& screen = OpenAt(imv);
  Fill(screen, {{"EdtRegistratiemoment", "31/03/2013"}});
  EXPECT_EQ(Set(screen, "CBDavinciKlaar", "1"), TEventResult::ClientError);
  EXPECT_EQ(Messages(),
            "error: Davinci geldt pas voor cursussen waarvan de registratiedatum valt na "
            "31/03/2013\n");
  EXPECT_EQ(Field(screen, "IMV_DAVINCIKLAAR"), "-");
  Fill(screen, {{"EdtRegistratiemoment", "01/04/2013"}, {"CBDavinciKlaar", "1"}});

  struct Case {
    const char* lesVan;
    const char* lesTot;
    const char* van;
    const char* tot;
    const char* shown;
  };
  const Case cases[] = {
      {"01/10/2025", "30/09/2025", "01/10/2025", "02/10/2025",
       "error: De \"les van\" datum moet voor de \"les tot\" datum liggen.\n"},
      {"01/10/2025", "01/10/2025", "02/10/2025", "01/10/2025",
       "error: De \"Davinci van\" datum moet voor de \"Davinci tot\" datum liggen.\n"},
  };
  for (const Case& c : cases) {
    Fill(screen,
         {{"EdtLesVan", c.lesVan}, {"EdtLesTot", c.lesTot}, {"EdtVan", c.van}, {"EdtTot", c.tot}});
    EXPECT_EQ(Post(screen), TEventResult::ClientError);
    EXPECT_EQ(Messages(), c.shown);
  }
  // Equal dates are a period of one day.
  Fill(screen, {{"EdtVan", "01/10/2025"}});
  ASSERT_EQ(Post(screen), TEventResult::Done) << Messages();
  EXPECT_EQ(ModuleVariant(imv, "IMV_DAVINCIKLAAR, IMV_REGISTRATIEMOMENT, IMV_LESVAN, IMV_LESTOT"),
            "+ | 2013-04-01 | 2025-10-01 | 2025-10-01\n");
  // Ready for Davinci cannot be taken back here, and a passed moment is no longer edited.
  EXPECT_FALSE(screen.CBDavinciKlaar.Enabled);
  EXPECT_EQ(Set(screen, "EdtRegistratiemoment", "01/05/2013"), TEventResult::Refused);
}

constexpr const char* kVoorStart =
    "question Vezor OVI: Ingerichte modulevarianten: De aflasdatum valt voor de startdatum van de "
    "cursus.\r\nHierdoor zullen alle loopbanen en participaties die gekoppeld zijn aan deze "
    "cursus verwijderd worden.\r\nIndien er in de klas enkel afgelaste modulevarianten zitten "
    "krijgt de klas een afgelast kenmerk.\r\nHet vinkje 'inschrijven mag' wordt dan "
    "uitgevinkt.\r\nBent u zeker?";

TEST_F(IngModuleVariantTest, ACancellationDateAnsweredNeenIsRemovedAndTheRecordStored) {
  const int imv = NotReported();
  auto& screen = OpenAt(imv);
  Fill(screen, {{"EdtAfgelastOp", "01/01/2025"}, {"EdtOmschrijving", "Gewijzigd"}});
  dialogs.AnswerChoice(2);
  ASSERT_EQ(Post(screen), TEventResult::Done) << Messages();
  EXPECT_EQ(Messages(), std::string(kVoorStart) + " -> Neen\n");
  EXPECT_EQ(ModuleVariant(imv, "IMV_AFGELASTOP, IMV_OMSCHRIJVING"), "null | Gewijzigd\n");
  EXPECT_EQ(JobLog(), "");
  EXPECT_FALSE(screen.KlasMarkeren());
}

TEST_F(IngModuleVariantTest, ACancellationAnsweredJaRunsJob364AndMarksTheClassForItsOwnSave) {
  const int imv = NotReported();
  const int klas = KlasOf(imv);
  auto& screen = OpenAt(imv);
  // During the course (it started on 3 February): the careers text, kind 1.
  ASSERT_EQ(Field(screen, "IMV_VAN"), "03/02/2026");
  Fill(screen, {{"EdtAfgelastOp", "01/03/2026"}});
  dialogs.AnswerChoice(6);
  ASSERT_EQ(Post(screen), TEventResult::Done) << Messages();
  const std::string shown = Messages();
  EXPECT_NE(shown.find("Volgende acties zullen automatisch worden uitgevoerd:\r\n-Voor alle "
                       "loopbanen:\r\n   -wordt de einddatum aangepast\r\n   -wordt de status "
                       "plaatsing op uitgeschreven geplaatst\r\n   -wordt de financierbaarheid op "
                       "neen gezet.\r\nIndien er in de klas"),
            std::string::npos)
      << shown;
  const int day = static_cast<int>(EncodeDate(2026, 3, 1).value);
  EXPECT_EQ(JobLog(),
            "364 | 0 | Execute | [{\"type\":\"Integer\",\"value\":" + std::to_string(imv) +
                "},{\"type\":\"Integer\",\"value\":" + std::to_string(day) +
                "},{\"type\":\"Integer\",\"value\":1}]\n");
  EXPECT_EQ(ModuleVariant(imv, "IMV_AFGELASTOP"), "2026-03-01\n");
  // The class is marked in the class screen's log, not stored: the class screen saves it.
  EXPECT_FALSE(screen.KlasMarkeren());
  EXPECT_TRUE(master.CDSVWOKlas.FieldByName("VWK_HEEFTAFGELASTEIMV").AsBoolean());
  EXPECT_EQ(master.CDSVWOKlas.ChangeCount(), 1);
  EXPECT_TRUE(master.CDSVWOKlas.GetAutoCommit());
  EXPECT_EQ(master.CDSVWOKlas.Tag, 0);
  EXPECT_EQ(Stored("SELECT (VWK_FLAGS / 134217728) % 2 FROM VWOKLAS WHERE VWK_ID = " +
                   std::to_string(klas)),
            "0\n");
  EXPECT_EQ(master.CDSVWOKlas.ApplyUpdates(0), 0);
  EXPECT_EQ(Stored("SELECT (VWK_FLAGS / 134217728) % 2 FROM VWOKLAS WHERE VWK_ID = " +
                   std::to_string(klas)),
            "1\n");
}

TEST_F(IngModuleVariantTest, ReportingAsAssignedWithPupilsShowsTheCareersMessageAndPosts) {
  const int imv = NotReported();
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_AANTALLEERLINGEN = 4 WHERE IMV_ID = " +
      std::to_string(imv));
  auto& screen = OpenAt(imv);
  ASSERT_TRUE(screen.CBToegewezen.Enabled);
  Fill(screen, {{"CBToegewezen", "1"}});
  ASSERT_EQ(Post(screen), TEventResult::Done) << Messages();
  EXPECT_EQ(
      Messages(),
      "information: Er zijn reeds loopbanen voor deze ingerichte modulevariant.\r\nDeze zullen "
      "automatisch geannuleerd en opnieuw aangemaakt worden met status 'TOEGEWEZEN'.\n");
  EXPECT_EQ(ModuleVariant(imv, "IMV_FLAGS & 8"), "8\n");
  // With pupils the mark can no longer be taken off.
  EXPECT_FALSE(screen.CBToegewezen.Enabled);
}

TEST_F(IngModuleVariantTest, AModuleVariantKnownToDavinciIsNotDeleted) {
  const int reported = Reported();
  auto& screen = OpenAt(reported);
  EXPECT_EQ(Command(screen, kSource, TDataSetCommand::Delete), TEventResult::Refused);
  EXPECT_EQ(ModuleVariant(reported, "COUNT(*)"), "1\n");
  EXPECT_TRUE(screen.AAnnuleerIMV.Enabled);
  EXPECT_TRUE(screen.ARaadpleeg.Enabled);
  app.CloseForm(screen);

  auto& unknown = OpenAt(NotReported());
  EXPECT_FALSE(unknown.AAnnuleerIMV.Enabled);
  EXPECT_FALSE(unknown.ARaadpleeg.Enabled);
  EXPECT_FALSE(unknown.ACommDavinci.Enabled);
  EXPECT_TRUE(unknown.AllowDelete(unknown.CDSVWOIngModuleVarianten));
}

TEST_F(IngModuleVariantTest, CancellingNeedsTheDeleteRightAndDavinciActionsAnyChangingRight) {
  auto& screen = OpenAt(Reported());
  const std::pair<int, std::string> rights[] = {
      {1, "00"}, {1 | 2, "10"}, {1 | 4, "10"}, {1 | 8, "11"}, {15, "11"}};
  for (const auto& [bits, expected] : rights) {
    screen.SetRights(bits);
    app.Run([] {});
    EXPECT_EQ(std::string(1, screen.ARaadpleeg.Enabled ? '1' : '0') +
                  (screen.AAnnuleerIMV.Enabled ? '1' : '0'),
              expected)
        << bits;
  }
}

TEST_F(IngModuleVariantTest, TheTeacherGoesToAllLessonsOrToThoseFromTheWorkingDate) {
  const int imv = Reported();
  const std::string lessons =
      "SELECT COUNT(*) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = " + std::to_string(imv) +
      " AND VWL_LESGEVER_FK = 5";
  const std::string future = lessons + " AND VWL_DATUM >= '2025-10-01'";
  const std::string all =
      "SELECT COUNT(*) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = " + std::to_string(imv);
  ASSERT_NE(Stored(all + " AND VWL_DATUM < '2025-10-01'"), "0\n") << "some lessons lie before";
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_LESGEVER_FK = NULL WHERE IMV_ID = " +
      std::to_string(imv));
  auto& screen = OpenAt(imv);
  EXPECT_EQ(Press(screen, "ACopyLesgeverAlleLessen"), TEventResult::ClientError);
  EXPECT_EQ(Messages(), "error: Er is geen lesgever ingevuld voor deze modulevariant.\n");

  server->db().ExecuteScript("UPDATE VWOINGMODULEVARIANT SET IMV_LESGEVER_FK = 5 WHERE IMV_ID = " +
                             std::to_string(imv));
  screen.CDSVWOIngModuleVarianten.Refresh();
  ASSERT_EQ(Press(screen, "ACopyLesgeverToekomstigeLessen"), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored(lessons), Stored(future));
  EXPECT_EQ(Stored(lessons), Stored(all + " AND VWL_DATUM >= '2025-10-01'"));
  ASSERT_EQ(Press(screen, "ACopyLesgeverAlleLessen"), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored(lessons), Stored(all));
  EXPECT_FALSE(screen.CDSLessen.Active());
}

TEST_F(IngModuleVariantTest, TheLessonJobsAreCalledWithTheModuleVariantAndReloadAtIt) {
  const int imv = NotReported();
  auto& screen = OpenAt(imv);
  for (const char* action : {"ALesdagen", "ADoc3BFromLesmomenten", "ABerekenAfstandsLesmomenten"}) {
    EXPECT_EQ(Press(screen, action), TEventResult::Done) << action << Messages();
    EXPECT_EQ(screen.CDSVWOIngModuleVarianten.FieldByName("IMV_ID").AsInteger(), imv);
  }
  const std::string id = "{\"type\":\"Integer\",\"value\":" + std::to_string(imv) + "}";
  EXPECT_EQ(JobLog(), "352 | 0 | Execute | [{\"type\":\"Integer\",\"value\":0}," + id +
                          "]\n325 | -1 | Execute | [" + id + "]\n368 | -1 | Execute | [" + id +
                          "]\n");
}

TEST_F(IngModuleVariantTest, ThePassedRegistrationMomentOfAReadyModuleVariantIsNotRecomputed) {
  const int imv = NotReported();
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_VAN = '2025-09-01', IMV_TOT = '2026-01-31', "
      "IMV_REGISTRATIEMOMENT = '2025-09-15', IMV_DAVINCIKLAAR = '+' WHERE IMV_ID = " +
      std::to_string(imv));
  auto& screen = OpenAt(imv);
  EXPECT_EQ(Press(screen, "ARegistratiemoment"), TEventResult::ClientError);
  EXPECT_EQ(Messages(),
            "error: Registratiemoment is reeds verstreken en mag dus niet meer aangepast worden\n");
  EXPECT_EQ(JobLog(), "");

  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_DAVINCIKLAAR = '-' WHERE IMV_ID = " +
      std::to_string(imv));
  screen.CDSVWOIngModuleVarianten.Refresh();
  ASSERT_EQ(Press(screen, "ARegistratiemoment"), TEventResult::Done) << Messages();
  EXPECT_EQ(JobLog(),
            "316 | -1 | Execute | [{\"type\":\"Integer\",\"value\":" + std::to_string(imv) +
                "},{\"type\":\"Integer\",\"value\":1},{\"type\":\"Integer\",\"value\":4},"
                "{\"type\":\"DateTime\",\"value\":\"2025-10-01 00:00:00\"}]\n");
  EXPECT_EQ(Field(screen, "IMV_REGISTRATIEMOMENT"), "22/10/2025") << "the list reloaded";
  EXPECT_EQ(screen.CDSVWOIngModuleVarianten.FieldByName("IMV_ID").AsInteger(), imv);
}

TEST_F(IngModuleVariantTest, ADoc3BTeacherChosenFirstBecomesTheTitular) {
  const int imv = NotReported();
  auto& screen = OpenAt(imv);
  EXPECT_FALSE(screen.CDSDoc3B.Active());
  Fill(screen, {{"PCModuleVariant", "4"}});
  ASSERT_TRUE(screen.CDSDoc3B.Active());
  const std::string teacher = screen.CDSLesgever.FieldByName("PS_ID").AsString();
  screen.CDSLesgever.Next();
  const std::string other = screen.CDSLesgever.FieldByName("PS_ID").AsString();

  ASSERT_EQ(Command(screen, "DSDoc3B", TDataSetCommand::Append), TEventResult::Done);
  Fill(screen, {{"LCDoc3BLesgever", teacher}, {"EdtDoc3BUren", "12"}});
  EXPECT_EQ(screen.CDSDoc3B.FieldByName("VD3_TITULARIS_FK").AsString(), teacher);
  EXPECT_EQ(screen.CDSDoc3B.FieldByName("VD3_TITULARIS").AsString(),
            screen.CDSDoc3B.FieldByName("VD3_LESGEVER").AsString());
  ASSERT_EQ(Command(screen, "DSDoc3B", TDataSetCommand::Post), TEventResult::Done) << Messages();

  ASSERT_EQ(Command(screen, "DSDoc3B", TDataSetCommand::Append), TEventResult::Done);
  Fill(screen, {{"LCDoc3BTitularis", other}, {"LCDoc3BLesgever", teacher}, {"EdtDoc3BUren", "3"}});
  EXPECT_EQ(screen.CDSDoc3B.FieldByName("VD3_TITULARIS_FK").AsString(), other);
  ASSERT_EQ(Command(screen, "DSDoc3B", TDataSetCommand::Post), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored("SELECT VD3_LESGEVER_FK, VD3_TITULARIS_FK, VD3_UREN FROM VWODOC3BINFO WHERE "
                   "VD3_VWOINGMODULEVARIANT_FK = " +
                   std::to_string(imv) + " ORDER BY VD3_ID DESC LIMIT 2"),
            teacher + " | " + other + " | 3\n" + teacher + " | " + teacher + " | 12\n");
  Fill(screen, {{"PCModuleVariant", "0"}});
  EXPECT_FALSE(screen.CDSDoc3B.Active());
}

TEST_F(IngModuleVariantTest, FreeFieldCaptionsComeFromTheInstitutionsList) {
  auto& screen = OpenAt(NotReported());
  EXPECT_EQ(screen.ControlByName<TLabel>("VELD1").Caption, "Cursuscode partner");
  EXPECT_EQ(screen.ControlByName<TLabel>("PARM1").Caption, "Doelpubliek");
  EXPECT_EQ(screen.ControlByName<TLabel>("DATUM1").Caption, "Infosessie");
  EXPECT_EQ(screen.EdtVan.Color, prefs.DavinciKleur());
  EXPECT_EQ(screen.EdtOmschrijving.Color, clDefault);
}

TEST_F(IngModuleVariantTest, AConsultationIsQueuedForTheContactPersonAndNeedsOne) {
  const int imv = Reported();
  const std::string calls = "SELECT COUNT(*) FROM WEBSERVICECALL";
  const std::string before = Stored(calls);
  auto& screen = OpenAt(imv);
  ASSERT_EQ(Press(screen, "ARaadpleeg"), TEventResult::Done) << Messages();
  EXPECT_EQ(Messages(), "information: De raadpleging werd met succes in de wachtrij geplaatst.\n");
  // For the module variant's Davinci record, sent by one of the institution's contact persons.
  EXPECT_EQ(Stored("SELECT WC_CALLTYPE, WC_CALLSTATUS, WC_CALLFOUTCODE, WC_SCHOOL_FK, "
                   "WC_AANMAAKDOOR, WC_AANMAAKOP, WC_FLAGS, CASE WHEN WC_ZIDEZUZOID_FK = " +
                   Value("SELECT IMV_DAVINCIID FROM VWOINGMODULEVARIANT WHERE IMV_ID = " +
                         std::to_string(imv)) +
                   " AND WC_PERSONEEL_FK IN (SELECT IC_PERSONEEL_FK FROM ZIDEZUZOCP WHERE "
                   "IC_INSTELLING_FK = 1) THEN 'ok' ELSE 'fout' END FROM WEBSERVICECALL WHERE "
                   "WC_ID = (SELECT MAX(WC_ID) FROM WEBSERVICECALL)"),
            "1007 | X | X | 1 | 1 | 2025-10-01 00:00:00 | 0 | ok\n");
  EXPECT_FALSE(screen.CDSZidezuzoCP.Active());

  server->db().ExecuteScript(
      "DELETE FROM ZIDEZUZOCP WHERE IC_INSTELLING_FK = 1; UPDATE PARAM SET P_INSTELLING_FK = 2 "
      "WHERE P_TYPE = 'TPCP' AND P_INSTELLING_FK = 1");
  const std::string after = Stored(calls);
  EXPECT_EQ(Press(screen, "ARaadpleeg"), TEventResult::ClientError);
  EXPECT_EQ(Messages(), "error: Geen zidezuzo contactpersoon gevonden\n");
  EXPECT_EQ(Stored(calls), after);
  EXPECT_NE(before, after);
}

TEST_F(IngModuleVariantTest, TheRecipeDialogStartsFromTheModuleVariantAndItsClass) {
  const int imv = NotReported();
  const int klas = KlasOf(imv);
  auto& screen = OpenAt(imv);
  TQuilClientDataSet& imvs = screen.CDSVWOIngModuleVarianten;
  const std::string lokaal =
      Value("SELECT VWK_STANDAARDLOKAAL_FK FROM VWOKLAS WHERE VWK_ID = " + std::to_string(klas));
  const std::string vestiging =
      Value("SELECT VWK_VESTIGINGSPLAATS_FK FROM VWOKLAS WHERE VWK_ID = " + std::to_string(klas));
  std::string seen;
  dialogs.AnswerModal("TVWOLesUitReceptDialoog", [&](TQuilForm& shown) {
    auto& dialog = dynamic_cast<TVWOLesUitReceptDialoog&>(shown);
    seen = std::to_string(dialog.DoelID) + " " + dialog.DoelTekst + " " +
           FormatDateTime("dd/mm/yyyy", dialog.GetDatum(1)) + " " +
           FormatDateTime("dd/mm/yyyy", dialog.GetDatum(2)) + " " +
           std::to_string(dialog.StandaardLokaal) + " " + std::to_string(dialog.StandaardLesgever) +
           " " + std::to_string(dialog.StandaardLesplaats) + " " +
           dialog.Lokalen->DataSet()->Filter();
    EXPECT_TRUE(dialog.Lokalen->DataSet()->Filtered());
    EXPECT_EQ(app.Click(dialog, "BCancel"), TEventResult::Done);
  });
  ASSERT_EQ(Press(screen, "ALesmomentRecept"), TEventResult::Done) << Messages();
  EXPECT_EQ(seen, std::to_string(klas) + " " + std::to_string(imv) + " " +
                      Field(screen, "IMV_LESVAN") + " " + Field(screen, "IMV_LESTOT") + " " +
                      lokaal + " " + imvs.FieldByName("IMV_LESGEVER_FK").AsString() + " " +
                      imvs.FieldByName("IMV_LESPLAATS_FK").AsString() +
                      " (LK_VESTIGINGSPLAATS_FK = " + vestiging + ")");
  EXPECT_FALSE(screen.CDSSelectLokaal.Filtered()) << "the rooms are offered unfiltered again";
  EXPECT_EQ(screen.CDSSelectLesplaats.Filter(), "(VP_ID = " + vestiging + ")");

  // A cancelled module variant gets no lessons.
  Fill(screen, {{"EdtAfgelastOp", Field(screen, "IMV_LESTOT")}});
  dialogs.AnswerChoice(6);
  ASSERT_EQ(Post(screen), TEventResult::Done) << Messages();
  EXPECT_EQ(Press(screen, "ALesmomentRecept"), TEventResult::Refused);
}

TEST_F(IngModuleVariantTest, TheDavinciCallsOfTheModuleVariantAndOfItsPupils) {
  const int imv = Reported();
  auto& screen = OpenAt(imv);
  struct Case {
    const char* action;
    std::string header;
    std::string calls;
  };
  const std::string id = std::to_string(imv);
  const Case cases[] = {
      {"ACommDavinci",
       "Davinci communicatie voor ing. modulevariant " + Field(screen, "IMV_AFKORTING") + " " +
           Field(screen, "IMV_OMSCHRIJVING"),
       Value("SELECT COUNT(*) FROM WEBSERVICECALL W JOIN ZIDEZUZOID I ON I.ID_ID = "
             "W.WC_ZIDEZUZOID_FK WHERE I.ID_TYPE = 2 AND I.ID_DATA_FK = " +
             id)},
      {"ACommDavinciCursist",
       "Davinci cursisten communicatie voor ing. modulevariant " + Field(screen, "IMV_AFKORTING") +
           " " + Field(screen, "IMV_OMSCHRIJVING"),
       Value("SELECT COUNT(*) FROM WEBSERVICECALL W JOIN ZIDEZUZOID I ON I.ID_ID = "
             "W.WC_ZIDEZUZOID_FK WHERE I.ID_TYPE = 5 AND I.ID_ID2 = " +
             id + " AND W.WC_SCHOOL_FK = 1")},
  };
  ASSERT_NE(cases[0].calls, "0");
  for (const Case& c : cases) {
    std::string shown;
    dialogs.AnswerModal("TDepartementCallsDialog", [&](TQuilForm& dialog) {
      auto& calls = dynamic_cast<TDepartementCallsDialog&>(dialog);
      shown = calls.LHeader.Caption + " " + std::to_string(calls.CDSCalls()->RecordCount());
      Click(dialog, "BSluiten");
    });
    EXPECT_EQ(Press(screen, c.action), TEventResult::Done) << Messages();
    EXPECT_EQ(shown, c.header + " " + c.calls);
  }
}

TEST_F(IngModuleVariantTest, EveryLessonPlaceOfTheDavinciLocationWhenTheUserAsksForThem) {
  const int imv = NotReported();
  const std::string klas = std::to_string(KlasOf(imv));
  const std::string vestiging =
      Value("SELECT VWK_VESTIGINGSPLAATS_FK FROM VWOKLAS WHERE VWK_ID = " + klas);
  const std::string davinci = Value(
      "SELECT V.VP_VWOVESTIGINGSPLAATS_FK FROM VWOKLAS K JOIN VESTIGINGSPLAATS V ON "
      "V.VP_ID = K.VWK_VESTIGINGSPLAATS_FK WHERE K.VWK_ID = " +
      klas);
  const std::pair<bool, std::string> cases[] = {
      {false, "(VP_ID = " + vestiging + ") (LK_VESTIGINGSPLAATS_FK = " + vestiging + ")"},
      {true, "(VP_VWOVESTIGINGSPLAATS_FK = " + davinci +
                 ") (VP_VWOVESTIGINGSPLAATS_FK = " + davinci + ")"}};
  for (const auto& [alle, filters] : cases) {
    prefs.SetVWOToonAlleLesplaatsen(alle);
    auto& screen = OpenAt(imv);
    std::string rooms;
    dialogs.AnswerModal("TVWOLesUitReceptDialoog", [&](TQuilForm& shown) {
      rooms = dynamic_cast<TVWOLesUitReceptDialoog&>(shown).Lokalen->DataSet()->Filter();
      EXPECT_EQ(app.Click(shown, "BCancel"), TEventResult::Done);
    });
    ASSERT_EQ(Press(screen, "ALesmomentRecept"), TEventResult::Done) << Messages();
    EXPECT_EQ(screen.CDSSelectLesplaats.Filter() + " " + rooms, filters) << alle;
    app.CloseForm(screen);
  }
}

}  // namespace
}  // namespace kavel::testing
