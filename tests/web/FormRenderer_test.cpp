// What the renderer sends for the kinds of values and controls a screen has: grid cells as the
// editors show them, colour cells in the host's colours, the colour button, the municipality
// chooser, an edit with allowed characters, a memo editor and control colours. Runs on an
// in-memory server; the browser's side of these controls is in HostControls_test.cpp.
#include <gtest/gtest.h>

#include "host/data/DMQuil.h"
#include "host/data/Field.h"
#include "host/data/MemoryAppServer.h"
#include "host/domain/TextChecks.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"
#include "host/forms/SelectGemeenteFrame.h"
#include "web/FormRenderer.h"

namespace quil::web::testing {
namespace {

using nlohmann::json;

const auto kYellow = static_cast<TColor>(0x0000FFFF);  // stored blue-green-red
const auto kOrange = static_cast<TColor>(0x004080FF);
const auto kUnknownSystemColour = static_cast<TColor>(0xFF0000FEu);

std::vector<FieldDef> KindFields() {
  return {{"ID", FieldType::Integer, 0, 0, true},
          {"DATUM", FieldType::Date},
          {"UUR", FieldType::Time},
          {"MOMENT", FieldType::DateTime},
          {"BEDRAG", FieldType::Currency, 18, 2},
          {"GETAL", FieldType::Float},
          {"ACTIEF", FieldType::Boolean},
          {"TEKST", FieldType::Memo},
          {"KLEUR", FieldType::Integer},
          {"GEMEENTE_FK", FieldType::Integer},
          {"CODE", FieldType::String, 12}};
}

Row KindRow(int id, Variant date, Variant time, Variant moment, Variant amount, Variant number,
            Variant active, Variant text, Variant colour, Variant municipality, Variant code) {
  return {Variant(id), date, time,   moment,       amount, number,
          active,      text, colour, municipality, code};
}

class TKindsForm : public TQuilDBForm {
 public:
  explicit TKindsForm(TQuilApplication& app)
      : TQuilDBForm(app, "TKindsForm"),
        CDSSoorten(AddDataSet("CDSSoorten", "DSPSoorten")),
        DSSoorten(AddDataSource("DSSoorten", &CDSSoorten)),
        GridSoorten(Add<TDBGrid>("GridSoorten")),
        FrameGemeente(TSelectGemeenteFrame::Create(*this, "FrameGemeente", nullptr, DSSoorten,
                                                   "GEMEENTE_FK")),
        EdtCode(Add<TDBEdit>("EdtCode")),
        EdtTekst(Add<TDBEdit>("EdtTekst")),
        EdtBedrag(Add<TDBEdit>("EdtBedrag")),
        BtnKleur(Add<TColorButton>("BtnKleur")) {
    MainDataSource = "DSSoorten";
    CDSSoorten.IDField = "ID";
    CDSSoorten.AfterOpen = [](TQuilClientDataSet& cds) {
      cds.FieldByName("GETAL").DisplayFormat = "0.00";
    };
    GridSoorten.DataSource = &DSSoorten;
    for (const char* field :
         {"DATUM", "UUR", "MOMENT", "BEDRAG", "GETAL", "ACTIEF", "TEKST", "KLEUR"}) {
      GridSoorten.Columns.push_back({field, ""});
    }
    EdtCode.DataSource = &DSSoorten;
    EdtCode.DataField = "CODE";
    EdtCode.AllowedChars = NumericChars;
    EdtCode.Color = 0xFFFFC0;
    EdtTekst.DataSource = &DSSoorten;
    EdtTekst.DataField = "TEKST";
    EdtTekst.Color = clBtnFace;
    EdtBedrag.DataSource = &DSSoorten;
    EdtBedrag.DataField = "BEDRAG";
    BtnKleur.SetSelectedColor(kOrange);
  }

  TQuilClientDataSet& CDSSoorten;
  TDataSource& DSSoorten;
  TDBGrid& GridSoorten;
  TSelectGemeenteFrame& FrameGemeente;
  TDBEdit& EdtCode;
  TDBEdit& EdtTekst;
  TDBEdit& EdtBedrag;
  TColorButton& BtnKleur;
};

class FormRendererTest : public ::testing::Test {
 protected:
  FormRendererTest() {
    server_.AddProvider(
        "DSPSoorten", KindFields(), "ID",
        {KindRow(1, EncodeDate(2025, 9, 1), EncodeTime(18, 30),
                 EncodeDate(2025, 9, 1) + EncodeTime(10, 15).value, Currency::FromDouble(2.5),
                 3.14159, true, "regel 1\r\nregel 2", static_cast<int>(clWindow), 3, "4711"),
         KindRow(2, nullptr, nullptr, nullptr, nullptr, nullptr, false, nullptr,
                 static_cast<int>(clBtnFace), nullptr, nullptr),
         KindRow(3, EncodeDate(2026, 2, 28), EncodeTime(8, 5), EncodeDate(2026, 2, 28),
                 Currency(-12), 1234.5, nullptr, "", static_cast<int>(kYellow), 1, ""),
         KindRow(4, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                 static_cast<int>(kOrange), nullptr, nullptr),
         KindRow(5, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                 static_cast<int>(kUnknownSystemColour), nullptr, nullptr),
         KindRow(6, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                 nullptr)});
    server_.AddProvider(
        "DSPSelectGemeente",
        {{"GM_ID", FieldType::Integer, 0, 0, true},
         {"GM_POSTNUMMER", FieldType::String, 10},
         {"GM_DEELGEMEENTE", FieldType::String, 50},
         {"GM_HOOFDGEMEENTE", FieldType::String, 50}},
        "GM_ID",
        {{Variant(1), Variant("2910"), Variant("Heidebroek"), Variant("Heidebroek")},
         {Variant(2), Variant("2911"), Variant("Ganzeveld"), Variant("Heidebroek")},
         {Variant(3), Variant("3590"), Variant("Beekdonk"), Variant("Beekdonk")}});
    for (const auto& dataset : form_.DataSets()) dataset->Open();
  }

  json Render() { return RenderForm(form_); }

  static json Control(const json& form, const std::string& name) {
    for (const json& control : form["controls"]) {
      if (control["name"] == name) return control;
    }
    return nullptr;
  }

  MemoryAppServer server_;
  TDMQuil connection_{server_};
  ScriptedDialogs dialogs_;
  TQuilApplication app_{connection_, dialogs_};
  TKindsForm form_{app_};
};

TEST_F(FormRendererTest, GridCellsShowWhatTheEditorsShow) {
  const json rows = RenderRows(form_.GridSoorten, 0, 10)["rows"];
  ASSERT_EQ(rows.size(), 6u);
  std::string shown;
  std::string asEditors;
  const std::vector<TColumn> columns = form_.GridSoorten.VisibleColumns();
  for (size_t row = 0; row < rows.size(); ++row) {
    form_.CDSSoorten.SetRecNo(static_cast<int>(row) + 1);
    for (size_t col = 0; col + 1 < columns.size(); ++col) {  // the colour column has no text
      shown += rows[row]["cells"][col].get<std::string>() + "|";
      asEditors += form_.CDSSoorten.FieldByName(columns[col].FieldName).DisplayText() + "|";
    }
    shown += "\n";
    asEditors += "\n";
  }
  EXPECT_EQ(shown, asEditors);
  EXPECT_EQ(shown,
            "01/09/2025|18:30|01/09/2025 10:15:00|2,5|3,14|Ja|regel 1\r\nregel 2|\n"
            "|||||Nee||\n"
            "28/02/2026|08:05|28/02/2026|-12|1234,50|||\n"
            "|||||||\n"
            "|||||||\n"
            "|||||||\n");
}

TEST_F(FormRendererTest, ColourCellsArePaintedInTheHostsColours) {
  const json form = Render();
  const json grid = Control(form, "GridSoorten");
  const json& colourColumn = grid["columns"].back();
  EXPECT_EQ(colourColumn["field"], "KLEUR");
  EXPECT_EQ(colourColumn["colour"], true);
  EXPECT_EQ(grid["columns"][0]["colour"], false);

  const int colourIndex = static_cast<int>(grid["columns"].size()) - 1;
  std::string painted;
  for (const json& row : grid["rows"]) {
    EXPECT_EQ(row["cells"][colourIndex], "") << "a colour cell shows no number";
    const std::string key = std::to_string(colourIndex);
    painted += row.contains("colours") ? row["colours"].value(key, "?") : "-";
    painted += " ";
  }
  // window, button face, yellow, orange, an unknown system colour, no colour.
  EXPECT_EQ(painted, "#ffffff #f0f0f0 #ffff00 #ff8040 #ffffff - ");
}

TEST_F(FormRendererTest, EachNewKindOfControlCarriesWhatTheBrowserNeeds) {
  const json form = Render();

  const json button = Control(form, "BtnKleur");
  EXPECT_EQ(button["kind"], "TColorButton");
  EXPECT_EQ(button["value"], "#ff8040");

  const json frame = Control(form, "FrameGemeente");
  EXPECT_EQ(frame["kind"], "TSelectGemeenteFrame");
  EXPECT_EQ(frame["source"], "DSSoorten");
  EXPECT_EQ(frame["value"], "3");
  EXPECT_EQ(frame["display"], "3590 Beekdonk");
  EXPECT_EQ(frame["searchText"], "");
  EXPECT_EQ(frame["items"], json::parse(R"([{"key":"1","text":"2910 Heidebroek"},
                                             {"key":"2","text":"2911 Ganzeveld"},
                                             {"key":"3","text":"3590 Beekdonk"}])"));
  EXPECT_EQ(frame["readOnly"], false);

  const json code = Control(form, "EdtCode");
  EXPECT_EQ(code["allowedChars"], "0123456789");
  EXPECT_EQ(code["value"], "4711");
  EXPECT_FALSE(Control(form, "EdtBedrag").contains("allowedChars"))
      << "an edit without a restriction sends none";

  const json memo = Control(form, "EdtTekst");
  EXPECT_EQ(memo["field"]["type"], "memo");
  EXPECT_EQ(memo["value"], "regel 1\r\nregel 2");

  // Control colours: plain RGB (the Davinci colour), a system colour, none.
  EXPECT_EQ(code["color"], "#ffffc0");
  EXPECT_EQ(memo["color"], "#f0f0f0");
  EXPECT_TRUE(Control(form, "EdtBedrag")["color"].is_null());
}

TEST_F(FormRendererTest, TheMunicipalityChooserSendsTheMatchesOfItsSearchText) {
  struct Case {
    const char* search;
    std::vector<std::string> keys;
  };
  const Case cases[] = {
      {"291", {"1", "2"}},    // digits: post codes that start with them
      {"heide", {"1", "2"}},  // a name: part or main municipality, any case
      {"ganz", {"2"}},       {"9999", {}}, {"", {"1", "2", "3"}},
  };
  for (const Case& c : cases) {
    form_.FrameGemeente.Search(c.search);
    const json frame = Control(Render(), "FrameGemeente");
    std::vector<std::string> keys;
    for (const json& item : frame["items"]) keys.push_back(item["key"]);
    EXPECT_EQ(keys, c.keys) << c.search;
    EXPECT_EQ(frame["searchText"], c.search);
    EXPECT_EQ(frame["display"], "3590 Beekdonk") << "the chosen one shows whatever is searched";
  }
}

}  // namespace
}  // namespace quil::web::testing
