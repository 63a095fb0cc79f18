#include "classes/dlgVWOSelecteerINGOpleiding.h"

#include <set>

#include "host/data/FieldDeclarations.h"
#include "host/data/Guards.h"

namespace kavel {

using namespace quil;

TVWOSelectIngopleidingForm::TVWOSelectIngopleidingForm(TQuilApplication& app)
    : TQuilForm(app, "TVWOSelectIngopleidingForm"),
      CDSVWOIngOpleidingen(nullptr, "CDSVWOIngOpleidingen"),
      CDSVWOTrajectType(nullptr, "CDSVWOTrajectType", "VWTT"),
      DSVWOIngOpleidingen(&CDSVWOIngOpleidingen, "DSVWOIngOpleidingen"),
      SCOpleiding(Add<TSearchControl>("SCOpleiding")),
      GridOpleidingen(Add<TDBGrid>("GridOpleidingen")),
      BOK(Add<TButton>("BOK")),
      BCancel(Add<TButton>("BCancel")) {
  Caption = "Selecteer de ingerichte opleiding";
  DeclareFields(
      CDSVWOIngOpleidingen,
      {DataField("CIO_ID", "ID").Hidden(), DataField("VOO_CODE", "Code"),
       DataField("VOO_OMSCHRIJVING", "Opleiding"), DataField("CIO_VAN", "Van"),
       DataField("CIO_TOT", "Tot"),
       LookupField("VOO_TRAJECT", "Traject", "VOO_TRAJECT_FK", CDSVWOTrajectType, "P_ID", "P_CODE"),
       BitField("duaal", "Duaal", "CIO_FLAGS", 0),
       DataField("CIO_DAVINCIKLAAR", "Klaar voor Davinci")});
  SCOpleiding.Caption = "Selecteer de ingerichte opleiding";
  SCOpleiding.ListSource = &DSVWOIngOpleidingen;
  SCOpleiding.KeyField = "CIO_ID";
  SCOpleiding.ListFields = "VOO_CODE;VOO_OMSCHRIJVING";
  SCOpleiding.SearchFormat =
      "(VOO_CODE LIKE '%%%s%%') OR (UPPER(VOO_OMSCHRIJVING) LIKE UPPER('%%%s%%'))";
  GridOpleidingen.DataSource = &DSVWOIngOpleidingen;
  GridOpleidingen.Columns = {{"VOO_CODE", "", 8},     {"VOO_OMSCHRIJVING", "", 40},
                             {"VOO_TRAJECT", "", 10}, {"duaal", "", 4},
                             {"CIO_VAN", "", 10},     {"CIO_TOT", "", 10}};
  GridOpleidingen.OnDblClick = [this] {
    if (!CDSVWOIngOpleidingen.Active() || CDSVWOIngOpleidingen.IsEmpty()) return;
    SCOpleiding.SetKeyValue(CDSVWOIngOpleidingen.FieldByName("CIO_ID").Value());
    BOK.Click();
  };
  BOK.Caption = "&OK";
  BOK.Default = true;
  BOK.ModalResult = mrOk;
  BOK.OnClick = [this] { OKClick(); };
  BCancel.Caption = "&Cancel";
  BCancel.Cancel = true;
  BCancel.ModalResult = mrCancel;
}

void TVWOSelectIngopleidingForm::Init(TDMQuil& dataModule, TQuilClientDataSet& source) {
  CDSVWOIngOpleidingen.SetConnection(&dataModule);
  CDSVWOTrajectType.SetConnection(&dataModule);
  CDSVWOTrajectType.Open();
  // Only what the source shows is offered: the records it filters out are left out of the copy,
  // so that a search in the dialog never widens the choice.
  std::set<int64_t> shown;
  if (source.Active()) {
    BookmarkGuard stay(source);
    for (source.First(); !source.Eof(); source.Next()) {
      shown.insert(source.FieldByName("CIO_ID").AsLargeInt());
    }
  }
  CopyDataToDataset(source, CDSVWOIngOpleidingen);
  for (CDSVWOIngOpleidingen.First(); !CDSVWOIngOpleidingen.Eof();) {
    if (shown.count(CDSVWOIngOpleidingen.FieldByName("CIO_ID").AsLargeInt()) == 0) {
      CDSVWOIngOpleidingen.Delete();
    } else {
      CDSVWOIngOpleidingen.Next();
    }
  }
  CDSVWOIngOpleidingen.SetFilter(source.Filter());
  CDSVWOIngOpleidingen.SetFiltered(!source.Filter().empty());
  CDSVWOIngOpleidingen.First();
  cioId_ = -1;
}

void TVWOSelectIngopleidingForm::OKClick() {
  const Variant key = SCOpleiding.KeyValue();
  cioId_ = key.IsNull() ? -1 : key.AsInteger();
}

}  // namespace kavel
