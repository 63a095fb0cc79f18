#include "host/forms/BrowseVWOInstellingForm.h"

namespace quil {

namespace {

constexpr const char* kSearchFormat =
    "(IS_CODE LIKE '%%%s%%') OR (UPPER(IS_NAAMGEBRUIKER) LIKE UPPER('%%%s%%')) OR "
    "(UPPER(SC_NAAM) LIKE UPPER('%%%s%%'))";

}  // namespace

TBrowseVWOInstellingForm::TBrowseVWOInstellingForm(TQuilApplication& app, std::string className)
    : TQuilDBForm(app, std::move(className)),
      CDSBrowseVWOinstelling(AddDataSet("CDSBrowseVWOinstelling", "DSPBrowseOSPInstellingen")),
      DSBrowseVWOinstelling(AddDataSource("DSBrowseVWOinstelling", &CDSBrowseVWOinstelling)),
      EdtZoeken(Add<TEdit>("EdtZoeken", &Add<TPanel>("PnlZoeken"))),
      GridInstellingen(Add<TDBGrid>("GridInstellingen")) {
  Caption = "Instellingen";
  Group = "VWO Structuur";
  MainDataSource = "DSBrowseVWOinstelling";
  CDSBrowseVWOinstelling.IDField = "IS_ID";
  CDSBrowseVWOinstelling.ReadOnly = true;
  CDSBrowseVWOinstelling.AutoOpen = true;
  ControlByName<TPanel>("PnlZoeken").Caption = "Zoeken";
  // The search is a LIKE: % and _ keep their meaning (codes and names hold neither), and the
  // hint says so.
  EdtZoeken.Hint = "Zoek op code of naam; % staat voor eender welke tekens, _ voor één teken";
  EdtZoeken.OnChange = [this] { EdtZoekenChange(); };
  GridInstellingen.DataSource = &DSBrowseVWOinstelling;
  GridInstellingen.Columns = {{"IS_CODE", "Code", 8},
                              {"IS_NAAMGEBRUIKER", "Naam", 40},
                              {"SC_INSTELLINGSNUMMER", "Instellingsnummer", 10},
                              {"SC_NAAM", "School", 40},
                              {"IS_FLAGS", "Kenmerken", 8}};
}

TColumn& TBrowseVWOInstellingForm::FlagsColumn() {
  for (TColumn& column : GridInstellingen.Columns) {
    if (column.FieldName == "IS_FLAGS") return column;
  }
  throw std::logic_error("the institution grid has no flags column");
}

void TBrowseVWOInstellingForm::EdtZoekenChange() {
  std::string text;
  for (char c : EdtZoeken.Text()) {
    text += c;
    if (c == '\'') text += '\'';
  }
  CDSBrowseVWOinstelling.MaybeApplyFilter(text.empty() ? ""
                                                       : Format(kSearchFormat, text, text, text));
}

}  // namespace quil
