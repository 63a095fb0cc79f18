// Loading the module and opening its screens in a session: from the menu through their default
// browsers, and through the form links of open screens.
#include "core/regkavelmod.h"
#include "host/forms/BrowseVWOInstellingForm.h"
#include "module/ScreenTest.h"

namespace kavel::testing {
namespace {

TEST_F(ScreenTest, LoadingTheModuleAgainRegistersNothingMore) {
  const int screens = quil::FormManager().FormClassCount();
  const size_t dialogs = quil::FormManager().Dialogs().size();
  const int before = regkavelmod::InitializationCounter();
  QuilModuleEntry();
  QuilModuleEntry();
  EXPECT_EQ(quil::FormManager().FormClassCount(), screens);
  EXPECT_EQ(quil::FormManager().Dialogs().size(), dialogs);
  EXPECT_EQ(regkavelmod::InitializationCounter(), before - 2);
  QuilModuleExit();
  QuilModuleExit();
  EXPECT_EQ(regkavelmod::InitializationCounter(), before);
  EXPECT_EQ(quil::FormManager().FormClassCount(), screens) << "unloading withdraws nothing";
}

TEST_F(ScreenTest, TheClassScreenFromTheMenuHasTheStructureBrowserAsMaster) {
  quil::TQuilDBForm* klas = app.OpenForm("TVWOKlasForm");
  ASSERT_NE(klas, nullptr) << dialogs.Transcript();
  auto* browser = dynamic_cast<quil::TBrowseVWOInstellingForm*>(klas->MasterForm());
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->ClassName(), "TBrowseVWOStructInstellingForm");
  EXPECT_EQ(klas->MasterDataSource(), &browser->DSBrowseVWOinstelling);

  quil::TDataSource* institution = klas->FindDataSourceWithField(klas->MasterDataSource(), "IS_ID");
  quil::TDataSource* school = klas->FindDataSourceWithField(klas->MasterDataSource(), "SC_ID");
  ASSERT_EQ(institution, &browser->DSBrowseVWOinstelling);
  ASSERT_EQ(school, &browser->DSBrowseVWOinstelling);
  // The institutions are listed by code: Horizon (2, school 2) before De Linde (1, school 1).
  EXPECT_EQ(institution->DataSet()->FieldByName("IS_ID").AsInteger(), 2);
  EXPECT_EQ(school->DataSet()->FieldByName("SC_ID").AsInteger(), 2);
  EXPECT_EQ(app.MoveTo(*browser, "DSBrowseVWOinstelling", 2), quil::TEventResult::Done);
  EXPECT_EQ(klas->RequireMasterField("SC_ID").AsInteger(), 1);

  EXPECT_EQ(klas->Caption, "Vezor OVI: Klas");
  EXPECT_EQ(klas->TabCaption, "VWO klassen");
  EXPECT_EQ(klas->Group, "VWO structuur");
  EXPECT_EQ(dialogs.Transcript(), "");
  // The classes follow the institution.
  EXPECT_EQ(klas->FindDataSet("CDSVWOKlas")->ParamByName("IS_ID").AsInteger(), 1);
}

TEST_F(ScreenTest, EveryMenuScreenOpensWithItsChainOfMasters) {
  std::string chains;
  for (const quil::TFormRegistration& r : quil::FormManager().Registrations()) {
    if (r.Path.empty()) continue;
    Session user(*server);
    // The first institution listed has no absence codes: that screen offers the standard ones.
    if (r.FormClass.ClassName == "TVWOAfwezigheidsCodesForm") user.dialogs.AnswerNo();
    quil::TQuilDBForm* form = user.app.OpenForm(r.FormClass.ClassName);
    ASSERT_NE(form, nullptr) << r.FormClass.ClassName << ": " << user.dialogs.Transcript();
    chains += form->ClassName();
    for (quil::TQuilDBForm* m = form->MasterForm(); m != nullptr; m = m->MasterForm()) {
      chains += " < " + m->ClassName() + "." + form->MasterDataSource()->Name;
      form = m;
    }
    chains += "\n";
  }
  EXPECT_EQ(
      chains,
      "TVWOIngOpleidingsVariantForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOIngOpleidingsVariantVestForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOIngmodulesForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOSchoolModuleGroepForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOModuleVoorvereistenForm < TVWOSchoolModuleForm.DSIngModules"
      " < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOKlasForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOOpenKlasForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOAttestenForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOLesplaatsenForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOMaterialenForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOAfwezigheidsCodesForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOKBIContactpersonenForm < TBrowseVWOStructInstellingForm.DSBrowseVWOinstelling\n"
      "TVWOKlasOverdrachtForm < TBrowseVWOInstellingStructHulpschermenForm.DSBrowseVWOinstelling\n"
      "TVWOKlasLesMomentenUitReceptForm"
      " < TBrowseVWOInstellingStructHulpschermenForm.DSBrowseVWOinstelling\n"
      "TVWOLesmomentenToMemoInGroepForm"
      " < TBrowseVWOInstellingStructHulpschermenForm.DSBrowseVWOinstelling\n"
      "TVWOVerwerkLesmomentenForm"
      " < TBrowseVWOInstellingStructHulpschermenForm.DSBrowseVWOinstelling\n"
      "TVWOCheckAantalLesmomentenForm"
      " < TBrowseVWOInstellingStructHulpschermenForm.DSBrowseVWOinstelling\n"
      "TVWOLesverdelingForm < TBrowseVWOInstellingStructHulpschermenForm.DSBrowseVWOinstelling\n"
      "TVWOOverdrachtInstellingenForm"
      " < TBrowseVWOInstellingStructHulpschermenForm.DSBrowseVWOinstelling\n"
      "TVWOKlassenActiesForm < TBrowseVWOInstellingStructHulpschermenForm.DSBrowseVWOinstelling\n"
      "TVWOStrucDavinciSynchronisatieForm"
      " < TBrowseVWOStructInstellingDavinciForm.DSBrowseVWOinstelling\n"
      "TVWODavinciSyncStrucVerwijderForm\n"
      "TVWOStrucDavinciCallsForm < TBrowseVWOStructInstellingDavinciForm.DSBrowseVWOinstelling\n"
      "TVWORegistreerOverdrachtenForm"
      " < TBrowseVWOStructInstellingDavinciForm.DSBrowseVWOinstelling\n");
}

TEST_F(ScreenTest, FormLinksOpenTheirDetailsDownToTheAttainmentTargets) {
  quil::TQuilDBForm* browser = app.OpenForm("TBrowseVWOStructInstellingForm");
  ASSERT_NE(browser, nullptr);
  quil::TQuilDBForm* klas = app.OpenFormLink(*browser, "Klassen");
  ASSERT_NE(klas, nullptr) << dialogs.Transcript();
  EXPECT_EQ(klas->MasterDataSource(), browser->FindDataSource("DSBrowseVWOinstelling"));
  quil::TQuilDBForm* variants = app.OpenFormLink(*klas, "Modulevarianten");
  ASSERT_NE(variants, nullptr) << dialogs.Transcript();
  EXPECT_EQ(variants->MasterDataSource(), klas->FindDataSource("DSVWOKlas"));
  // The link names TVWOIngModuleVarEindTermenForm; the class is registered with a lower-case t.
  quil::TQuilDBForm* targets = app.OpenFormLink(*variants, "Eindtermen");
  ASSERT_NE(targets, nullptr) << dialogs.Transcript();
  EXPECT_EQ(targets->ClassName(), "TVWOIngModuleVarEindtermenForm");
  EXPECT_EQ(targets->Caption, "Vezor OVI: Eindtermen ingerichte modulevariant");
  // The host's participations screen is not there: the user is told, nothing opens.
  quil::TQuilDBForm* lessons = app.OpenFormLink(*variants, "Lessen");
  ASSERT_NE(lessons, nullptr);
  dialogs.Clear();
  EXPECT_EQ(app.OpenFormLink(*lessons, "Participaties"), nullptr);
  EXPECT_EQ(dialogs.Transcript(),
            "error: Het scherm 'TVWOOverzichtParticipatiesForm' is niet gekend\n");
  EXPECT_TRUE(app.CloseForm(*browser));
  EXPECT_TRUE(app.Forms().empty());
}

TEST_F(ScreenTest, TheThreeBrowseScreensShowTheirCaptionsAndLinks) {
  std::string shown;
  for (const char* name :
       {"TBrowseVWOStructInstellingForm", "TBrowseVWOInstellingStructHulpschermenForm",
        "TBrowseVWOStructInstellingDavinciForm"}) {
    auto* browser = dynamic_cast<quil::TBrowseVWOInstellingForm*>(app.OpenForm(name));
    ASSERT_NE(browser, nullptr) << name;
    shown += browser->ClassName() + ": \"" + browser->Caption + "\" tab \"" + browser->TabCaption +
             "\" group \"" + browser->Group + "\" flags \"" + browser->FlagsColumn().Title +
             "\" rows " + quil::IntToStr(browser->CDSBrowseVWOinstelling.RecordCount()) + "\n";
    for (const quil::TQuilFormLink& link : browser->FormLinks) {
      shown += "  " + link.DisplayName + " -> " + link.DetailForm + "\n";
    }
  }
  EXPECT_EQ(shown,
            "TBrowseVWOStructInstellingForm: \"Vezor OVI: Overzicht instellingen\" tab \"VWO "
            "instellingen\" group \"VWO Structuur\" flags \"Kenmerken\" rows 2\n"
            "  Ingerichte opleidingen -> TVWOIngOpleidingsVariantForm\n"
            "  Groepen modules -> TVWOSchoolModuleGroepForm\n"
            "  Klassen -> TVWOKlasForm\n"
            "  Studiebewijzen -> TVWOAttestenForm\n"
            "  Lesmaterialen -> TVWOMaterialenForm\n"
            "  Lesplaatsen -> TVWOLesplaatsenForm\n"
            "  Afwezigheidscodes -> TVWOAfwezigheidsCodesForm\n"
            "  Modules -> TVWOSchoolModuleForm\n"
            "TBrowseVWOInstellingStructHulpschermenForm: \"Vezor OVI: Hulpschermen - lijst "
            "instellingen structuur\" tab \"\" group \"VWO Structuur\" flags \"Kenmerken\" rows 2\n"
            "  Overdracht klassen -> TVWOKlasOverdrachtForm\n"
            "  Klas lesmomenten uit regel -> TVWOKlasLesMomentenUitReceptForm\n"
            "  Verwerken lesmomenten -> TVWOVerwerkLesmomentenForm\n"
            "TBrowseVWOStructInstellingDavinciForm: \"Vezor OVI: Davinci - lijst instellingen\" "
            "tab \"\" group \"VWO Structuur\" flags \"Flags\" rows 2\n");
}

TEST_F(ScreenTest, TheInstitutionSearchNarrowsTheList) {
  auto* browser =
      dynamic_cast<quil::TBrowseVWOInstellingForm*>(app.OpenForm("TBrowseVWOStructInstellingForm"));
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->EdtZoeken.Hint,
            "Zoek op code of naam; % staat voor eender welke tekens, _ voor één teken");
  struct Case {
    const char* text;
    int rows;
  };
  // % and _ are the wildcards the hint names: any run of characters, one character.
  for (Case c : {Case{"horiz", 1}, Case{"CVO", 2}, Case{"o'neill", 0}, Case{"C_O", 2},
                 Case{"Hor%n", 1}, Case{"CVO_", 2}, Case{"", 2}}) {
    EXPECT_EQ(app.SetValue(*browser, "EdtZoeken", c.text), quil::TEventResult::Done) << c.text;
    EXPECT_EQ(browser->CDSBrowseVWOinstelling.RecordCount(), c.rows) << c.text;
  }
}

}  // namespace
}  // namespace kavel::testing
