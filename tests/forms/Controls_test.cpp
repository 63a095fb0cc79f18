// Controls as the user reaches them through the event boundary: values typed and picked, what is
// refused, and what the control shows afterwards.
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

}  // namespace
}  // namespace quil::testing
