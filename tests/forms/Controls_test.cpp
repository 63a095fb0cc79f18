// Controls as the user reaches them through the event boundary: values typed and picked, what is
// refused, and what the control shows afterwards.
#include <functional>
#include <map>

#include "forms/FormsFixture.h"

namespace quil::testing {
namespace {

class TControlsTestForm : public TQuilForm {
 public:
  explicit TControlsTestForm(TQuilApplication& app) : TQuilForm(app, "TControlsTestForm") {
    auto& pages = Add<TPageControl>("PgcMain");
    auto& tabAlgemeen = Add<TTabSheet>("TabAlgemeen", &pages);
    auto& tabVerborgen = Add<TTabSheet>("TabVerborgen", &pages);
    tabVerborgen.TabVisible = false;
    Add<TTabSheet>("TabLessen", &pages);
    auto& panel = Add<TPanel>("PnlPeriode", &tabAlgemeen);
    Add<TDateEdit>("EdtVan", &panel).OnChange = [this] { ++changes; };
    Add<TTimeEdit>("EdtUur", &panel);
    auto& soort = Add<TComboBox>("CmbSoort", &panel);
    soort.Items = {"Schooljaar", "Trimester"};
    auto& vrij = Add<TComboBox>("CmbVrij", &panel);
    vrij.Items = {"a"};
    vrij.Style = TComboBoxStyle::csDropDown;
    auto& dagen = Add<TCheckListBox>("ClbDagen", &panel);
    dagen.SetItems({"ma", "di", "wo"});
    Add<TRadioGroup>("RgpKeuze", &panel).Items = {"Alle", "Open"};
    Add<TCheckBox>("ChkAlle", &panel);
    auto& grid = Add<TStringGrid>("GrdTotalen", &tabAlgemeen);
    grid.SetSize(3, 2);
    Add<TPlanner>("PlnKalender", &tabAlgemeen);
  }
  int changes = 0;
};

TEST_F(SessionTest, ControlValuesRoundTripOrAreRefusedWithAMessage) {
  TControlsTestForm form(app);
  struct Case {
    const char* control;
    const char* typed;
    TEventResult result;
    const char* shown;  //!< ValueText afterwards, or the message
  };
  const Case cases[] = {
      {"EdtVan", "01/09/2025", TEventResult::Done, "01/09/2025"},
      {"EdtVan", "31/02/2025", TEventResult::ClientError, "'31/02/2025' is geen geldige datum"},
      {"EdtVan", "", TEventResult::Done, ""},
      {"EdtUur", "18:30", TEventResult::Done, "18:30"},
      {"EdtUur", "25:00", TEventResult::ClientError, "'25:00' is geen geldig tijdstip"},
      {"CmbSoort", "Trimester", TEventResult::Done, "Trimester"},
      {"CmbSoort", "Maand", TEventResult::ClientError, "'Maand' komt niet voor in de lijst"},
      {"CmbVrij", "eigen tekst", TEventResult::Done, "eigen tekst"},
      {"ClbDagen", "2,0", TEventResult::Done, "0,2"},
      {"ClbDagen", "3", TEventResult::ClientError, "Keuze 3 bestaat niet"},
      {"RgpKeuze", "1", TEventResult::Done, "1"},
      {"ChkAlle", "1", TEventResult::Done, "1"},
      {"GrdTotalen", "2,1", TEventResult::Done, "2,1"},
      {"GrdTotalen", "3,0", TEventResult::ClientError, "Cel 3,0 bestaat niet"},
      {"PgcMain", "1", TEventResult::ClientError, "Tabblad 1 bestaat niet"},
      {"PgcMain", "2", TEventResult::Done, "2"},
      {"PlnKalender", "03/09/2025", TEventResult::Done, "03/09/2025"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.control) + " <- " + c.typed);
    dialogs.Clear();
    EXPECT_EQ(app.SetValue(form, c.control, c.typed), c.result);
    if (c.result == TEventResult::Done) {
      EXPECT_EQ(form.ControlByName(c.control).ValueText(), c.shown);
    } else {
      EXPECT_EQ(dialogs.Transcript(), std::string("error: ") + c.shown + "\n");
    }
  }
  EXPECT_EQ(form.changes, 2) << "OnChange runs for real changes only";
}

TEST_F(SessionTest, ControlsOutOfReachRefuseTheUser) {
  TControlsTestForm form(app);
  form.ControlByName("PnlPeriode").Enabled = false;
  EXPECT_EQ(app.SetValue(form, "EdtVan", "01/09/2025"), TEventResult::Refused);
  EXPECT_EQ(app.Click(form, "ChkAlle"), TEventResult::Refused);
  form.ControlByName("PnlPeriode").Enabled = true;
  form.ControlByName<TTabSheet>("TabAlgemeen").TabVisible = false;
  EXPECT_EQ(app.Click(form, "ChkAlle"), TEventResult::Refused);
  form.ControlByName<TTabSheet>("TabAlgemeen").TabVisible = true;
  EXPECT_EQ(app.Click(form, "chkalle"), TEventResult::Done) << "names match without case";
  EXPECT_TRUE(form.ControlByName<TCheckBox>("ChkAlle").Checked());
}

TEST_F(SessionTest, TheControlTreeCanBeWalkedFromTheForm) {
  TControlsTestForm form(app);
  std::string tree;
  std::function<void(const TControl&, int)> walk = [&](const TControl& c, int depth) {
    tree += std::string(2 * depth, ' ') + c.ClassName() + " " + c.Name() + "\n";
    for (const TControl* child : c.Children()) walk(*child, depth + 1);
  };
  for (const TControl* top : form.TopLevelControls()) walk(*top, 0);
  EXPECT_EQ(tree,
            "TPageControl PgcMain\n"
            "  TTabSheet TabAlgemeen\n"
            "    TPanel PnlPeriode\n"
            "      TDateEdit EdtVan\n"
            "      TTimeEdit EdtUur\n"
            "      TComboBox CmbSoort\n"
            "      TComboBox CmbVrij\n"
            "      TCheckListBox ClbDagen\n"
            "      TRadioGroup RgpKeuze\n"
            "      TCheckBox ChkAlle\n"
            "    TStringGrid GrdTotalen\n"
            "    TPlanner PlnKalender\n"
            "  TTabSheet TabVerborgen\n"
            "  TTabSheet TabLessen\n");
}

TEST_F(SessionTest, LookupsAcceptOnlyKeysOfTheirList) {
  TModulesTestForm form(app);
  form.CDSModules.Open();
  auto& lookup = form.Add<TSearchControl>("SrcModule");
  lookup.ListSource = &form.DSModules;
  lookup.KeyField = "VOM_ID";
  lookup.ListFields = "VOM_CODE;VOM_OMSCHRIJVING";
  lookup.SearchFormat =
      "(VOM_CODE LIKE '%%%s%%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%%%s%%'))";
  EXPECT_EQ(app.SetValue(form, "SrcModule", "2"), TEventResult::Done);
  EXPECT_EQ(lookup.DisplayText(), "NED - Nederlands");
  EXPECT_EQ(app.SetValue(form, "SrcModule", "9"), TEventResult::ClientError);
  EXPECT_EQ(lookup.ValueText(), "2");
  lookup.Search("engel");
  EXPECT_EQ(form.CDSModules.RecordCount(), 1);
  lookup.Search("");
  EXPECT_EQ(form.CDSModules.RecordCount(), 3);

  // A lookup editor shows the same joined fields for the key its field holds (here a module's
  // institution read as a module id: the list and the record are the same dataset).
  auto& editor = form.Add<TDBLookupCombo>("LcbModule");
  editor.DataSource = &form.DSModules;
  editor.DataField = "VOM_IS_FK";
  editor.ListSource = &form.DSModules;
  editor.KeyField = "VOM_ID";
  editor.ListField = "VOM_CODE;VOM_OMSCHRIJVING";
  ASSERT_TRUE(form.CDSModules.LocateID(3, ""));
  EXPECT_EQ(editor.DisplayText(), "NED - Nederlands");
}

// Every value control: what the screen's code sets runs no handler, what the user sets does (once
// per real change).
TEST_F(SessionTest, HandlersRunForTheUsersEditsOnly) {
  TQuilForm form(app, "TValuesForm");
  std::map<std::string, int> runs;
  auto counted = [&runs](const std::string& name) { return [&runs, name] { ++runs[name]; }; };
  auto& edit = form.Add<TEdit>("EdtNaam");
  edit.OnChange = counted("EdtNaam");
  auto& date = form.Add<TDateEdit>("DEVan");
  date.OnChange = counted("DEVan");
  auto& time = form.Add<TTimeEdit>("TEVanUur");
  time.OnChange = counted("TEVanUur");
  auto& box = form.Add<TCheckBox>("CBAlle");
  box.OnClick = counted("CBAlle");
  auto& radio = form.Add<TRadioGroup>("RGKeuze");
  radio.Items = {"Alle", "Open"};
  radio.OnClick = counted("RGKeuze");
  auto& combo = form.Add<TComboBox>("CBSoort");
  combo.Items = {"Schooljaar", "Trimester"};
  combo.OnChange = counted("CBSoort");
  auto& list = form.Add<TCheckListBox>("CLBDagen");
  list.SetItems({"ma", "di"});
  list.OnClickCheck = counted("CLBDagen");
  auto& pages = form.Add<TPageControl>("PCMain");
  form.Add<TTabSheet>("TSEen", &pages);
  form.Add<TTabSheet>("TSTwee", &pages);
  pages.OnChange = counted("PCMain");
  pages.OnChanging = counted("PCMain.changing");

  struct Case {
    const char* control;
    std::function<void()> code;  //!< the screen sets a value
    const char* typed;           //!< then the user sets another
  };
  const Case cases[] = {
      {"EdtNaam", [&] { edit.SetText("code"); }, "getypt"},
      {"DEVan", [&] { date.SetDate(EncodeDate(2026, 1, 5)); }, "06/01/2026"},
      {"TEVanUur", [&] { time.SetTime(EncodeTime(18, 0)); }, "19:00"},
      {"CBAlle", [&] { box.SetChecked(true); }, "0"},
      {"RGKeuze", [&] { radio.SetItemIndex(0); }, "1"},
      {"CBSoort", [&] { combo.SetItemIndex(0); }, "Trimester"},
      {"CLBDagen", [&] { list.SetChecked(0, true); }, "1"},
      {"PCMain", [&] { pages.SetActivePageIndex(1); }, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    ASSERT_EQ(app.Run(c.code), TEventResult::Done);
    EXPECT_EQ(runs[c.control], 0) << "a value set by code";
    ASSERT_EQ(app.SetValue(form, c.control, c.typed), TEventResult::Done) << dialogs.Transcript();
    EXPECT_EQ(form.ControlByName(c.control).ValueText(), c.typed);
    const int expected = std::string(c.control) == "CLBDagen" ? 2 : 1;  // ma off, di on
    EXPECT_EQ(runs[c.control], expected);
    ASSERT_EQ(app.SetValue(form, c.control, c.typed), TEventResult::Done);
    EXPECT_EQ(runs[c.control], expected) << "the same value again changes nothing";
  }
  EXPECT_EQ(runs["PCMain.changing"], 1);

  // A click ticks and unticks; a check list item the user ticks on its own.
  ASSERT_EQ(app.Click(form, "CBAlle"), TEventResult::Done);
  EXPECT_EQ(runs["CBAlle"], 2);
  ASSERT_EQ(app.Run([&] { list.ClickCheck(0, true); }), TEventResult::Done);
  EXPECT_EQ(runs["CLBDagen"], 3);
}

// A list narrowed since a value was stored: the value still shows and can be kept; another key
// must be one the list offers now. Modules 1 and 2 belong to institution 1, module 3 to 2.
class LookupChoiceTest : public SessionTest {
 protected:
  void SetUp() override {
    form.CDSModules.Open();
    all.SetProvName("DSPModules");
    all.Open();
    narrowed.SetProvName("DSPModules");
    narrowed.Open();
    narrowed.MaybeApplyFilter("VOM_IS_FK = 1");
    // The record's "module" is its VOM_IS_FK read as a module id.
    editor.DataSource = &form.DSModules;
    editor.DataField = "VOM_IS_FK";
    editor.ListSource = &dsNarrowed;
    editor.KeyField = "VOM_ID";
    editor.ListField = "VOM_CODE;VOM_OMSCHRIJVING";
    combo.ListSource = &dsNarrowed;
    combo.KeyField = "VOM_ID";
    combo.ListFields = "VOM_CODE";
  }

  TModulesTestForm form{app};
  TQuilClientDataSet all{&dm, "CDSAlle"};
  TQuilClientDataSet narrowed{&dm, "CDSKeuze"};
  TDataSource dsAll{&all};
  TDataSource dsNarrowed{&narrowed};
  TDBLookupCombo& editor = form.Add<TDBLookupCombo>("LCModule");
  TLookupCombo& combo = form.Add<TLookupCombo>("LCKeuze");
};

TEST_F(LookupChoiceTest, AStoredKeyTheFilterHidesShowsAndIsKept) {
  ASSERT_TRUE(form.CDSModules.LocateID(3, ""));
  ASSERT_EQ(app.Run([&] { form.CDSModules.Edit(); }), TEventResult::Done);
  ASSERT_EQ(app.Run([&] { form.CDSModules.FieldByName("VOM_IS_FK").SetAsInteger(3); }),
            TEventResult::Done);
  narrowed.MaybeApplyFilter("VOM_IS_FK = 1");  // module 3 is not offered
  EXPECT_EQ(narrowed.RecordCount(), 2);
  EXPECT_EQ(editor.DisplayText(), "ENG - Engels");
  EXPECT_EQ(app.SetValue(form, "LCModule", "3"), TEventResult::Done) << dialogs.Transcript();
  EXPECT_EQ(app.DataSetCommand(form, "DSModules", TDataSetCommand::Post), TEventResult::Done)
      << dialogs.Transcript();
  EXPECT_EQ(form.CDSModules.FieldByName("VOM_IS_FK").AsInteger(), 3);

  // Another key the list does not offer is refused; one it offers is taken.
  ASSERT_TRUE(form.CDSModules.LocateID(1, ""));
  EXPECT_EQ(app.SetValue(form, "LCModule", "3"), TEventResult::ClientError);
  EXPECT_EQ(dialogs.Transcript(), "error: '3' komt niet voor in de lijst\n");
  EXPECT_EQ(app.SetValue(form, "LCModule", "2"), TEventResult::Done);
  EXPECT_EQ(editor.DisplayText(), "NED - Nederlands");

  // The same for a lookup that is no editor.
  combo.SetKeyValue(Variant(3));
  EXPECT_EQ(combo.DisplayText(), "ENG");
  EXPECT_EQ(app.SetValue(form, "LCKeuze", "3"), TEventResult::Done);
  EXPECT_EQ(app.SetValue(form, "LCKeuze", "1"), TEventResult::Done);
  EXPECT_EQ(app.SetValue(form, "LCKeuze", "3"), TEventResult::ClientError);
  EXPECT_EQ(combo.ValueText(), "1");
}

// A choice the server narrows holds no trace of the stored key: the full list resolves it.
TEST_F(LookupChoiceTest, AKeyOutsideAServerNarrowedChoiceResolvesInTheFullList) {
  TQuilClientDataSet detail{&dm, "CDSDetail"};
  detail.SetProvName("DSPModules");
  detail.GetParams().Add("VOM_IS_FK", FieldType::Integer).SetAsInteger(1);
  detail.Open();
  TDataSource dsDetail{&detail};
  ASSERT_EQ(detail.RecordCount(), 2);
  editor.ListSource = &dsDetail;
  ASSERT_TRUE(form.CDSModules.LocateID(3, ""));
  ASSERT_EQ(app.Run([&] {
    form.CDSModules.Edit();
    form.CDSModules.FieldByName("VOM_IS_FK").SetAsInteger(3);
  }),
            TEventResult::Done);
  EXPECT_EQ(editor.DisplayText(), "");
  editor.ResolveSource = &dsAll;
  EXPECT_EQ(editor.DisplayText(), "ENG - Engels");
  // A key only the choice holds (picked, not stored yet) still shows.
  EXPECT_EQ(app.SetValue(form, "LCModule", "2"), TEventResult::Done);
  all.Close();
  EXPECT_EQ(editor.DisplayText(), "NED - Nederlands");
}

TEST_F(SessionTest, ACheckBoxBoundToAnActionIsItsToggle) {
  TModulesTestForm form(app);
  auto& box = form.Add<TCheckBox>("ChkFilter");
  int runs = 0;
  TAction& toggle = form.AddAction("AFilter", "Filter", {});
  toggle.OnExecute = [&] {
    toggle.Checked = !toggle.Checked;
    ++runs;
  };
  toggle.OnUpdate = [&] { toggle.Enabled = form.guardedAllowed; };
  box.Action = &toggle;
  form.guardedAllowed = true;
  EXPECT_EQ(app.SetValue(form, "ChkFilter", "1"), TEventResult::Done);
  EXPECT_TRUE(toggle.Checked);
  EXPECT_EQ(app.SetValue(form, "ChkFilter", "1"), TEventResult::Done);
  EXPECT_EQ(runs, 1) << "already on: the action does not run again";
  // The screen switches the toggle off itself; the box shows it once the actions are updated.
  toggle.Checked = false;
  form.UpdateActions();
  EXPECT_EQ(box.ValueText(), "0");
  form.guardedAllowed = false;
  form.UpdateActions();
  EXPECT_EQ(app.SetValue(form, "ChkFilter", "1"), TEventResult::Refused);
  EXPECT_EQ(runs, 1);
}

TEST_F(SessionTest, AGridOfSeveralPickedRowsKeepsThemInTheOrderPickedUntilTheListChanges) {
  TModulesTestForm form(app);
  form.CDSModules.Open();
  auto& grid = form.Add<TDBGrid>("GridModules");
  grid.DataSource = &form.DSModules;
  grid.MultiSelect = true;
  EXPECT_EQ(grid.SelectedRecNos(), std::vector<int>{1}) << "the current record when none picked";
  EXPECT_EQ(app.SetValue(form, "GridModules", "3;1;3"), TEventResult::Done);
  EXPECT_EQ(grid.SelectedRecNos(), (std::vector<int>{3, 1}));
  EXPECT_EQ(form.CDSModules.RecNo(), 1) << "the last one picked is the current record";
  EXPECT_EQ(app.SetValue(form, "GridModules", "2;4"), TEventResult::ClientError);
  EXPECT_EQ(grid.SelectedRecNos(), (std::vector<int>{3, 1})) << "a refused pick changes nothing";
  form.CDSModules.MaybeApplyFilter("VOM_CODE <> 'ENG'");
  EXPECT_EQ(grid.SelectedRecNos(), std::vector<int>{form.CDSModules.RecNo()});
  grid.MultiSelect = false;
  EXPECT_EQ(app.SetValue(form, "GridModules", "1;2"), TEventResult::ClientError)
      << "one row at a time in a grid without multi-select";
}

}  // namespace
}  // namespace quil::testing
