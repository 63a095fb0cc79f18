// The form manager and the life of a screen in a session: registration and lookup, opening from
// the menu through the default browser, form links, closing, settings, rights and printing.
#include "forms/FormsFixture.h"
#include "host/forms/BrowseVWOInstellingForm.h"
#include "host/forms/FormManager.h"

namespace quil::testing {
namespace {

TFormClass ModulesClass() {
  TFormClass cls;
  cls.ClassName = "TModulesTestForm";
  cls.Definition.Caption = "Modules";
  cls.Definition.DefaultBrowserForm = "TInstellingTestBrowser";
  cls.Definition.ParamsToReportParams = {"VOM_IS_FK=IS_ID"};
  cls.Definition.ReportDefs = {{"Overzicht modules", "modules.arf", true, true}};
  cls.Factory = [](TQuilApplication& app) { return std::make_unique<TModulesTestForm>(app); };
  return cls;
}

TFormClass BrowserClass() {
  TFormClass cls;
  cls.ClassName = "TInstellingTestBrowser";
  cls.Definition.Caption = "Instellingen";
  cls.Definition.FormLinks = {{"TMODULESTESTFORM", "Modules", "DSBrowseVWOinstelling", false}};
  cls.Definition.FieldsToParams = {"IS_ID=VOM_IS_FK"};
  cls.Factory = [](TQuilApplication& app) {
    return std::make_unique<TBrowseVWOInstellingForm>(app, "TInstellingTestBrowser");
  };
  return cls;
}

class ScreensTest : public SessionTest {
 protected:
  ScreensTest() {
    FormManager().Clear();
    FormManager().RegisterModuleForm(ModulesClass(), "test", "Beheer", "Structuur|Modules");
    FormManager().RegisterModuleForm(BrowserClass(), "test", "", "");
  }
  ~ScreensTest() override { FormManager().Clear(); }

  static std::string Codes(TQuilClientDataSet& ds) {
    std::string out;
    for (int i = 0; i < ds.RecordCount(); ++i)
      out += (out.empty() ? "" : " ") + ds.RowAt(i)[1].AsString();
    return out;
  }
};

TEST_F(ScreensTest, ClassesAreFoundWithoutRegardToCaseAndListedInTheMenu) {
  for (const char* name : {"TModulesTestForm", "tmodulestestform", "TMODULESTESTFORM"}) {
    const TFormClass* cls = FormManager().FindFormByName(name);
    ASSERT_NE(cls, nullptr) << name;
    EXPECT_EQ(cls->ClassName, "TModulesTestForm");
  }
  EXPECT_EQ(FormManager().FindFormByName("TModulesTest"), nullptr);
  EXPECT_EQ(FormManager().GetFormClass(1).ClassName, "TInstellingTestBrowser");
  FormManager().RegisterModuleForm(ModulesClass(), "test", "Beheer", "Structuur|Sub|Nog eens");
  EXPECT_EQ(RenderMenu(FormManager()),
            "Beheer\n"
            "  Structuur\n"
            "    Modules: TModulesTestForm\n"
            "    Sub\n"
            "      Nog eens: TModulesTestForm\n"
            "Detailschermen\n"
            "  TInstellingTestBrowser\n");
}

TEST_F(ScreensTest, AMenuScreenOpensItsDefaultBrowserFirstAsItsMaster) {
  TQuilDBForm* form = app.OpenForm("tmodulestestform");
  ASSERT_NE(form, nullptr) << dialogs.Transcript();
  auto& modules = dynamic_cast<TModulesTestForm&>(*form);
  auto* browser = dynamic_cast<TBrowseVWOInstellingForm*>(app.FindForm("TInstellingTestBrowser"));
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(modules.MasterForm(), browser);
  EXPECT_EQ(modules.MasterDataSource(), &browser->DSBrowseVWOinstelling);
  EXPECT_EQ(modules.Caption, "Modules");
  // The browser's FieldsToParams maps its IS_ID on the detail's parameter.
  EXPECT_EQ(Codes(modules.CDSModules), "WIS NED");
  EXPECT_EQ(app.MoveTo(*browser, "DSBrowseVWOinstelling", 2), TEventResult::Done);
  EXPECT_EQ(Codes(modules.CDSModules), "ENG");
  EXPECT_EQ(modules.FindDataSourceWithField(&modules.DSModules, "SC_ID"),
            &browser->DSBrowseVWOinstelling);
  EXPECT_EQ(modules.FindDataSourceWithField(&modules.DSModules, "SC_ID", false), nullptr);
  EXPECT_EQ(modules.RequireMasterField("SC_ID").AsInteger(), 12);

  // A second screen from the menu uses the browser that is open.
  ASSERT_NE(app.OpenForm("TModulesTestForm"), nullptr);
  EXPECT_EQ(app.Forms().size(), 3u);
  EXPECT_EQ(dialogs.Transcript(), "");
}

TEST_F(ScreensTest, AFormLinkOpensTheDetailWithTheLinksMasterAndClosingCascades) {
  TQuilDBForm* browser = app.OpenForm("TInstellingTestBrowser");
  ASSERT_NE(browser, nullptr);
  auto* modules = dynamic_cast<TModulesTestForm*>(app.OpenFormLink(*browser, "Modules"));
  ASSERT_NE(modules, nullptr) << dialogs.Transcript();
  EXPECT_EQ(modules->MasterDataSource(), browser->FindDataSource("DSBrowseVWOinstelling"));
  EXPECT_EQ(Codes(modules->CDSModules), "WIS NED");

  modules->mayClose = false;
  EXPECT_FALSE(app.CloseForm(*browser)) << "a detail that refuses keeps its master open";
  EXPECT_EQ(app.Forms().size(), 2u);
  modules->mayClose = true;
  EXPECT_TRUE(app.CloseForm(*browser));
  EXPECT_TRUE(app.Forms().empty());
  EXPECT_EQ(app.OpenFormLink(*app.OpenForm("TInstellingTestBrowser"), "Onbekend"), nullptr);
  EXPECT_EQ(dialogs.Transcript(), "error: Koppeling 'Onbekend' bestaat niet\n");
}

//! Keeps every user's settings apart in one store, as the real server does.
class PerUserSettingsServer : public MemoryAppServer {
 public:
  std::string ReadSettings(std::string_view key) override {
    return MemoryAppServer::ReadSettings(IntToStr(userId) + "/" + std::string(key));
  }
  void WriteSettings(std::string_view key, std::string_view text) override {
    MemoryAppServer::WriteSettings(IntToStr(userId) + "/" + std::string(key), text);
  }
};

TEST_F(ScreensTest, SettingsAreSavedOnCloseAndRestoredOnOpenPerUser) {
  PerUserSettingsServer store;
  AddFixtureProviders(store);
  auto sortOrderSeenBy = [&](int user, const char* change) {
    store.userId = user;
    TDMQuil connection(store);
    ScriptedDialogs userDialogs;
    TQuilApplication session(connection, userDialogs);
    auto* form = dynamic_cast<TModulesTestForm*>(session.OpenForm("TModulesTestForm"));
    std::string seen = form->sortOrder;
    if (change != nullptr) form->sortOrder = change;
    session.CloseForm(*form);
    return seen;
  };
  EXPECT_EQ(sortOrderSeenBy(1, "VOM_OMSCHRIJVING"), "VOM_CODE");
  EXPECT_EQ(sortOrderSeenBy(1, nullptr), "VOM_OMSCHRIJVING");
  EXPECT_EQ(sortOrderSeenBy(2, nullptr), "VOM_CODE");
  EXPECT_EQ(store.settings["1/TModulesTestForm"], "[Lijst]\nSortering=VOM_OMSCHRIJVING\n");
}

TEST_F(ScreensTest, AScreenWithoutTheOpenRightDoesNotOpen) {
  server.rights["TModulesTestForm"] = 0b1110;
  EXPECT_EQ(app.OpenForm("TModulesTestForm"), nullptr);
  EXPECT_EQ(dialogs.Transcript(), "error: U hebt geen toegang tot het scherm 'Modules'\n");
  EXPECT_EQ(app.FindForm("TModulesTestForm"), nullptr);
  server.rights["TModulesTestForm"] = 0b0101;
  auto* form = app.OpenForm("TModulesTestForm");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ((std::vector<bool>{form->HasRight(1), form->HasRight(2), form->HasRight(3)}),
            (std::vector<bool>{false, true, false}));
}

// The menu offers a screen only when opening it cannot end in a refusal: the default browser
// it opens first needs the open right too, unless it is open already.
TEST_F(ScreensTest, AScreenMayBeOpenedOnlyWithItsDefaultBrowser) {
  server.rights["TModulesTestForm"] = 0b0001;
  server.rights["TInstellingTestBrowser"] = 0b1110;
  EXPECT_FALSE(app.MayOpen("TModulesTestForm"));
  EXPECT_FALSE(app.MayOpen("tinstellingtestbrowser"));
  EXPECT_FALSE(app.MayOpen("TNietBestaand"));
  EXPECT_EQ(app.OpenForm("TModulesTestForm"), nullptr) << "what MayOpen foretold";
  EXPECT_EQ(dialogs.Transcript(), "error: U hebt geen toegang tot het scherm 'Instellingen'\n");

  server.rights["TInstellingTestBrowser"] = 0b0001;
  EXPECT_TRUE(app.MayOpen("TModulesTestForm"));
  ASSERT_NE(app.OpenForm("TInstellingTestBrowser"), nullptr);
  server.rights["TInstellingTestBrowser"] = 0;
  EXPECT_TRUE(app.MayOpen("TModulesTestForm")) << "the open browser is used";
  server.rights["TModulesTestForm"] = 0b1110;
  EXPECT_FALSE(app.MayOpen("TModulesTestForm"));
}

TEST_F(ScreensTest, AClassWithoutAScreenOpensEmptyAndSaysSo) {
  TFormClass cls;
  cls.ClassName = "TLaterForm";
  cls.Definition.Caption = "Vezor OVI: Later";
  cls.Definition.MainDataSource = "DSLater";
  FormManager().RegisterModuleForm(cls, "test", "Beheer", "Later");
  TQuilDBForm* form = app.OpenForm("TLaterForm");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Caption, "Vezor OVI: Later");
  EXPECT_NE(form->FindControl("LblNietBeschikbaar"), nullptr);
  EXPECT_EQ(dialogs.Transcript(),
            "message: Het scherm 'Vezor OVI: Later' is nog niet beschikbaar in deze versie; het "
            "wordt leeg geopend.\n");
}

class TPrintingModulesForm : public TModulesTestForm {
 public:
  using TModulesTestForm::TModulesTestForm;
  void QuilDBFormGetPrintParams(const std::string& reportFile, TPrintParams& params) override {
    params.SetValue("RAPPORT", reportFile);
  }
};

TEST_F(ScreensTest, PrintingPostsTheEditAndMapsTheParameters) {
  TFormClass cls = ModulesClass();
  cls.ClassName = "TPrintingModulesForm";
  cls.Factory = [](TQuilApplication& app) {
    return std::make_unique<TPrintingModulesForm>(app, "TPrintingModulesForm");
  };
  FormManager().RegisterModuleForm(cls, "test", "", "");
  auto* form = dynamic_cast<TModulesTestForm*>(app.OpenForm("TPrintingModulesForm"));
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(app.SetValue(*form, "EdtCode", "WISK"), TEventResult::Done);
  EXPECT_EQ(app.PrintReport(*form, 0), TEventResult::Done);
  ASSERT_EQ(app.Printed().size(), 1u);
  EXPECT_EQ(app.Printed()[0].report.FileNames, "modules.arf");
  EXPECT_EQ(app.Printed()[0].params.Text(), "VOM_IS_FK=1\nRAPPORT=modules.arf\nIS_ID=1");
  EXPECT_EQ(form->CDSModules.State(), DataSetState::Browse);
  EXPECT_EQ(Stored(), "1:WISK 2:NED 3:ENG");
  EXPECT_EQ(app.PrintReport(*form, 1), TEventResult::ClientError);
}

}  // namespace
}  // namespace quil::testing
