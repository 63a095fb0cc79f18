// Organised modules, group members and prerequisites on the demo data of De Linde (institution
// 1, school 1), which organises every module. Its prerequisites: NT2R2 needs NT2R1 (official, no
// school), BOEKH1 needs ICTBAS (the school's own), and the group TALEN needs NT2R2 (own).
#include "module/ScreenTest.h"
#include "structure/frmVWOIngmodules.h"
#include "structure/frmVWOModuleVoorvereisten.h"
#include "structure/frmVWOSchoolModuleGroepDetails.h"
#include "structure/frmVWOSchoolModuleGroepVoorvereisten.h"

namespace kavel::testing {
namespace {

using namespace quil;

//! The codes a list shows, in order, separated by blanks.
std::string Codes(TQuilClientDataSet& list, const char* field) {
  std::string out;
  TBookmark here = list.GetBookmark();
  for (list.First(); !list.Eof(); list.Next()) {
    out += (out.empty() ? "" : " ") + list.FieldByName(field).AsString();
  }
  if (here != kNoBookmark) list.GotoBookmark(here);
  return out;
}

class VoorvereistenTest : public ScreenTest {
 protected:
  //! The institution browser stands on De Linde before the screens open on it.
  void SetUp() override {
    TQuilDBForm& browser = Open("TBrowseVWOStructInstellingForm");
    ASSERT_EQ(app.Run([&] {
      browser.FindDataSet("CDSBrowseVWOinstelling")->Locate("IS_ID", Variant(1));
    }),
              TEventResult::Done);
  }
  //! The prerequisites of a module (opened on the school's module list, moved to `code`).
  TVWOModuleVoorvereistenForm& ModuleScreen(const char* code) {
    auto& screen = Open<TVWOModuleVoorvereistenForm>("TVWOModuleVoorvereistenForm");
    TQuilClientDataSet& modules = *screen.MasterDataSource()->DataSet();
    EXPECT_EQ(app.Run([&] { modules.Locate("VOM_CODE", Variant(code)); }), TEventResult::Done);
    return screen;
  }
  //! The prerequisites of a group of the school (opened from the groups list, moved to `code`).
  TVWOSchoolModuleGroepVoorVereistenForm& GroupScreen(const char* code) {
    auto& groups = Open("TVWOSchoolModuleGroepForm");
    EXPECT_EQ(
        app.Run([&] { groups.FindDataSet("CDSModuleGroepen")->Locate("VMG_CODE", Variant(code)); }),
        TEventResult::Done);
    return OpenLink<TVWOSchoolModuleGroepVoorVereistenForm>(groups, "Voorvereisten");
  }
  //! "type:code:description:group type:school" of every prerequisite shown.
  static std::string Shown(TVWOVoorvereistenBaseForm& screen) {
    std::string out;
    TQuilClientDataSet& list = screen.CDSVoorvereisten;
    for (list.First(); !list.Eof(); list.Next()) {
      out += list.FieldByName("VWV_RECORDTYPE").AsString() + ":" +
             list.FieldByName("VWV_CODE").AsString() + ":" +
             list.FieldByName("VWV_OMSCHRIJVING").AsString() + ":" +
             list.FieldByName("VWV_TYPE").AsString() + ":" +
             list.FieldByName("VWV_SCHOOL_FK").AsString() + "\n";
    }
    return out;
  }
};

TEST_F(VoorvereistenTest, ARequiredModuleOutsideTheModuleListShowsWithoutCodeAndDescription) {
  server->db().ExecuteScript(
      "DELETE FROM VWOINGERICHTEMODULE WHERE VIM_INSTELLING_FK = 1 AND VIM_VWOMODULE_FK = 5;");
  auto& screen = ModuleScreen("BOEKH1");
  EXPECT_EQ(screen.PnlVoorvereisten.Caption,
            "V&oorvereisten voor module: BOEKH1 - Boekhouden basis");
  EXPECT_EQ(Shown(screen), "4:ICTBAS:Digitale basisvaardigheden::1\n");
  Fill(screen, {{"ChkIngericht", "1"}});
  EXPECT_EQ(Shown(screen), "4::::1\n") << "ICTBAS is not organised any more";
  Fill(screen, {{"ChkIngericht", "0"}});
  EXPECT_EQ(Shown(screen), "4:ICTBAS:Digitale basisvaardigheden::1\n");
}

TEST_F(VoorvereistenTest, OfficialPrerequisitesAreRemovedOnlyInTheGroupScreen) {
  auto& module = ModuleScreen("NT2R2");
  EXPECT_EQ(Shown(module), "4:NT2R1:Nederlands tweede taal richtgraad 1::0\n");
  EXPECT_EQ(Press(module, "ADelete"), TEventResult::Refused);
  EXPECT_EQ(Command(module, "DSModuleVoorvereisten", TDataSetCommand::Delete),
            TEventResult::Refused)
      << "nor through the list's own delete";
  app.CloseForm(*app.FindForm("TVWOSchoolModuleForm"));

  server->db().ExecuteScript(
      "INSERT INTO VWOVOORVEREISTE (VWV_ID, VWV_VOOR_FK, VWV_VEREIST_FK, VWV_RECORDTYPE, "
      "VWV_SCHOOL_FK, VWV_VERANDERDDOOR, VWV_VERANDERDOP) "
      "VALUES (900, 1, 1, '6', 0, 1, '2025-08-25 10:00:00');");
  auto& group = GroupScreen("TALEN");
  EXPECT_EQ(Shown(group),
            "6:NT2R1:Nederlands tweede taal richtgraad 1::0\n"
            "6:NT2R2:Nederlands tweede taal richtgraad 2::1\n");
  ASSERT_EQ(MoveTo(group, "DSModuleVoorvereisten", 1), TEventResult::Done);
  EXPECT_EQ(Press(group, "ADelete"), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored("SELECT VWV_ID FROM VWOVOORVEREISTE WHERE VWV_VOOR_FK = 1 AND "
                   "VWV_RECORDTYPE IN ('6', '7')"),
            "3\n");
}

TEST_F(VoorvereistenTest, SchoolOwnPrerequisitesOnlyHideTheOfficialOnes) {
  auto& screen = ModuleScreen("NT2R2");
  Fill(screen, {{"ChkSchoolEigen", "1"}});
  EXPECT_EQ(Shown(screen), "");
  Fill(screen, {{"ChkSchoolEigen", "0"}});
  EXPECT_EQ(Shown(screen), "4:NT2R1:Nederlands tweede taal richtgraad 1::0\n");
}

TEST_F(VoorvereistenTest, ThePageAddedFromDecidesTheRecordType) {
  struct Case {
    const char* page;
    const char* moduleScreen;
    const char* groupScreen;
  };
  const Case cases[] = {{"0", "4", "6"}, {"1", "5", "7"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    for (bool onGroup : {false, true}) {
      TVWOVoorvereistenBaseForm& screen =
          onGroup ? static_cast<TVWOVoorvereistenBaseForm&>(GroupScreen("NT2"))
                  : ModuleScreen("KOOK1");
      Fill(screen, {{"PgcBeschikbaar", c.page}});
      ASSERT_EQ(Press(screen, "AAdd"), TEventResult::Done) << Messages();
      const char* voor = onGroup ? "2" : "8";
      EXPECT_EQ(Stored(std::string("SELECT VWV_RECORDTYPE, VWV_SCHOOL_FK FROM VWOVOORVEREISTE "
                                   "WHERE VWV_VOOR_FK = ") +
                       voor + " AND VWV_ID > 3"),
                std::string(onGroup ? c.groupScreen : c.moduleScreen) + " | 1\n");
      server->db().ExecuteScript("DELETE FROM VWOVOORVEREISTE WHERE VWV_ID > 3;");
      for (const char* opened : {"TVWOSchoolModuleForm", "TVWOSchoolModuleGroepForm"}) {
        if (TQuilDBForm* form = app.FindForm(opened)) app.CloseForm(*form);
      }
    }
  }
}

TEST_F(VoorvereistenTest, TheModuleFilterTakesTheCodeAsTypedAndTheDescriptionInAnyCase) {
  auto& screen = Open<TVWOIngmodulesForm>("TVWOIngmodulesForm");
  struct Case {
    const char* text;
    const char* shown;
  };
  // Every module is listed once per variant (A and B).
  const Case cases[] = {
      {"NT2", "NT2R1 NT2R1 NT2R2 NT2R2"},
      {"nt2", ""},
      {"engels", "ENGA1 ENGA1"},
      {"BREAKTHROUGH", "ENGA1 ENGA1 FRAA1 FRAA1 SPAA1 SPAA1"},
      {"o'", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Fill(screen, {{"EdtFilter", c.text}});
    if (!screen.AFilterModules.Checked) Fill(screen, {{"ChkFilter", "1"}});
    EXPECT_EQ(Codes(screen.CDSModules, "VOM_CODE"), c.shown);
  }
  EXPECT_EQ(Messages(), "");
}

TEST_F(VoorvereistenTest, TheFilterToggleCannotStayOnWithoutText) {
  auto& screen = Open<TVWOIngmodulesForm>("TVWOIngmodulesForm");
  const int all = screen.CDSModules.RecordCount();
  EXPECT_EQ(Set(screen, "ChkFilter", "1"), TEventResult::Refused) << "no text, no filter";
  Fill(screen, {{"EdtFilter", "KOOK"}, {"ChkFilter", "1"}});
  EXPECT_TRUE(screen.AFilterModules.Checked);
  EXPECT_EQ(Codes(screen.CDSModules, "VOM_CODE"), "KOOK1 KOOK1");
  Fill(screen, {{"EdtFilter", ""}});
  EXPECT_FALSE(screen.AFilterModules.Checked);
  EXPECT_EQ(screen.ChkFilter.ValueText(), "0");
  EXPECT_EQ(screen.CDSModules.RecordCount(), all);
  Fill(screen, {{"EdtFilter", "KOOK"}});
  EXPECT_EQ(screen.CDSModules.RecordCount(), all) << "new text, the filter stays off";
}

TEST_F(VoorvereistenTest, AModuleIsOrganisedAndAMemberOnce) {
  server->db().ExecuteScript(
      "DELETE FROM VWOINGERICHTEMODULE WHERE VIM_INSTELLING_FK = 1 AND VIM_VWOMODULE_FK = 8;");
  auto& organised = Open<TVWOIngmodulesForm>("TVWOIngmodulesForm");
  ASSERT_EQ(app.Run([&] { organised.CDSModules.Locate("VOM_CODE", Variant("KOOK1")); }),
            TEventResult::Done);
  EXPECT_EQ(Press(organised, "AAdd"), TEventResult::Done) << Messages();
  EXPECT_EQ(Press(organised, "AAdd"), TEventResult::Refused);
  ASSERT_EQ(app.Run([&] { organised.CDSModules.Next(); }), TEventResult::Done);
  EXPECT_EQ(organised.CDSModules.FieldByName("VOM_CODE").AsString(), "KOOK1")
      << "the other variant of the same module";
  EXPECT_EQ(Press(organised, "AAdd"), TEventResult::Refused);
  EXPECT_EQ(Stored("SELECT VIM_INSTELLING_FK, VIM_VERANDERDDOOR FROM VWOINGERICHTEMODULE "
                   "WHERE VIM_VWOMODULE_FK = 8 ORDER BY VIM_INSTELLING_FK"),
            "1 | 1\n2 | 1\n");

  auto& groups = Open("TVWOSchoolModuleGroepForm");
  auto& members = OpenLink<TVWOSchoolModulegroepDetailsForm>(groups, "Modules in groep");
  EXPECT_EQ(members.PnlGroep.Caption, "Modules in de groep NT2 - Nederlands tweede taal");
  EXPECT_EQ(Codes(members.CDSModuleGroepDetails, "VOM_CODE"), "NT2R1 NT2R2");
  ASSERT_EQ(app.Run([&] { members.CDSModules.Locate("VOM_CODE", Variant("NT2R1")); }),
            TEventResult::Done);
  EXPECT_EQ(Press(members, "AAdd"), TEventResult::Refused);
  ASSERT_EQ(app.Run([&] { members.CDSModules.Locate("VOM_CODE", Variant("ICTBAS")); }),
            TEventResult::Done);
  EXPECT_EQ(Press(members, "AAdd"), TEventResult::Done) << Messages();
  EXPECT_EQ(Codes(members.CDSModuleGroepDetails, "VOM_CODE"), "ICTBAS NT2R1 NT2R2");
}

TEST_F(VoorvereistenTest, WithoutTheMastersFieldsTheScreensSayWhatIsMissing) {
  TQuilDBForm& groups = Open("TVWOSchoolModuleGroepForm");
  TQuilFormLink link{"TVWOModuleVoorvereistenForm", "Voorvereisten", "DSModuleGroepen"};
  EXPECT_EQ(app.Run([&] { app.CreateLinkedForm(groups, link); }), TEventResult::ClientError);
  EXPECT_EQ(Messages(), "error: Kon de omschrijving van de module niet vinden.\n");
}

}  // namespace
}  // namespace kavel::testing
