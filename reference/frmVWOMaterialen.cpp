#include "reference/frmVWOMaterialen.h"

#include <stdexcept>

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kKiesRekening = "Gelieve een 'Algemene Rekening' te selecteren a.u.b..";

//! The database parameter that says the site books materials on general ledger accounts.
constexpr const char* kAlgemeneRekeningenParam = "ALGEMENEREKENINGEN";

// Bits of VWM_FLAGS.
constexpr int kBitEenmaalAanrekenen = 0;
constexpr int kBitActief = 3;
//! A new material is active and charged on every enrolment.
constexpr int kFlagsNieuw = 1 << kBitActief;

}  // namespace

TVWOMaterialenForm::TVWOMaterialenForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOMaterialenForm"),
      CDSAlgemeneRekeningen(AddDataSet<TQuilParamClientDataset>("CDSAlgemeneRekeningen")),
      CDSVWOMaterialen(AddDataSet("CDSVWOMaterialen", "DSPVWOMaterialen")),
      DSAlgemeneRekeningen(AddDataSource("DSAlgemeneRekeningen", &CDSAlgemeneRekeningen)),
      DSVWOMaterialen(AddDataSource("DSVWOMaterialen", &CDSVWOMaterialen)),
      GridMaterialen(Add<TDBGrid>("GridMaterialen")),
      PnlDetail(Add<TPanel>("PnlDetail")),
      EdtCode(Add<TDBEdit>("EdtCode", &PnlDetail)),
      EdtOmschrijving(Add<TDBEdit>("EdtOmschrijving", &PnlDetail)),
      EdtPrijs(Add<TDBEdit>("EdtPrijs", &PnlDetail)),
      CBEenmaalAanrekenen(Add<TDBCheckBox>("CBEenmaalAanrekenen", &PnlDetail)),
      CBActief(Add<TDBCheckBox>("CBActief", &PnlDetail)),
      LCAlgemeneRekening(Add<TDBLookupCombo>("LCAlgemeneRekening", &PnlDetail)),
      EdtWebtekst(Add<TDBEdit>("EdtWebtekst", &PnlDetail)) {
  CDSAlgemeneRekeningen.SetParamType("ALREK");

  TQuilClientDataSet& materialen = CDSVWOMaterialen;
  materialen.IDField = "VWM_ID";
  materialen.ParamToFields = "IS_ID=VWM_INSTELLING_FK";
  materialen.ChangedByField = "VWM_VERANDERDDOOR";
  materialen.ChangedOnField = "VWM_VERANDERDOP";
  materialen.OrderField = "VWM_CODE";
  materialen.SetSortFields("VWM_CODE");
  DeclareFields(
      materialen,
      {DataField("VWM_CODE", "Code"), DataField("VWM_OMSCHRIJVING", "Omschrijving"),
       DataField("VWM_PRIJS", "Prijs").Format("0.00"), DataField("VWM_WEBTEKST", "Webtekst"),
       DataField("VWM_ZEVENREKENING_FK", "Algemene rekening"),
       DataField("VWM_ALGREK", "Algemene rekening"),
       BitField("EenmaalAanrekenen", "Eenmaal aanrekenen", "VWM_FLAGS", kBitEenmaalAanrekenen),
       BitField("Actief", "Actief", "VWM_FLAGS", kBitActief),
       // The server's account text is only fresh after a fetch; the list follows the editor.
       LookupField("ALGEMENEREKENING", "Algemene rekening", "VWM_ZEVENREKENING_FK",
                   CDSAlgemeneRekeningen, "P_ID", "P_OMSCHRIJVING")});
  materialen.OnNewRecord = [this](TQuilClientDataSet&) { CDSVWOMaterialenNewRecord(); };
  materialen.BeforePost = [this](TQuilClientDataSet&) { CDSVWOMaterialenBeforePost(); };

  GridMaterialen.DataSource = &DSVWOMaterialen;
  GridMaterialen.Columns = {{"VWM_CODE", "", 10},  {"VWM_OMSCHRIJVING", "", 40},
                            {"VWM_PRIJS", "", 10}, {"EenmaalAanrekenen", "", 8},
                            {"Actief", "", 6},     {"ALGEMENEREKENING", "", 30}};

  BindField(EdtCode, DSVWOMaterialen, "VWM_CODE", "&Code");
  BindField(EdtOmschrijving, DSVWOMaterialen, "VWM_OMSCHRIJVING", "&Omschrijving");
  BindField(EdtPrijs, DSVWOMaterialen, "VWM_PRIJS", "&Prijs");
  BindField(CBEenmaalAanrekenen, DSVWOMaterialen, "EenmaalAanrekenen",
            "Slechts 1 maal aanrekenen bij inschrijving");
  BindField(CBActief, DSVWOMaterialen, "Actief");
  BindField(LCAlgemeneRekening, DSVWOMaterialen, "VWM_ZEVENREKENING_FK");
  OfferList(LCAlgemeneRekening, DSAlgemeneRekeningen, "P_ID", "P_OMSCHRIJVING");
  BindField(EdtWebtekst, DSVWOMaterialen, "VWM_WEBTEKST", "&Webtekst");
}

void TVWOMaterialenForm::QuilDBFormInitDataModule() {
  algemeneRekeningen_ = GetConnection().GetQuilDBParams().Get(kAlgemeneRekeningenParam).AsBoolean();
}

void TVWOMaterialenForm::QuilDBFormCreate() {
  LCAlgemeneRekening.Visible = algemeneRekeningen_;
  RekeningColumn().Visible = algemeneRekeningen_;
  for (const char* name : {"VWM_ZEVENREKENING_FK", "VWM_ALGREK", "ALGEMENEREKENING"}) {
    CDSVWOMaterialen.FieldByName(name).Visible = algemeneRekeningen_;
  }
}

void TVWOMaterialenForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  (void)master;
  RequireMasterField("IS_ID");
  LinkToMaster(CDSVWOMaterialen);
  // New materials take the list's default account, so the list opens first.
  CDSAlgemeneRekeningen.Open();
  CDSVWOMaterialen.Open();
}

void TVWOMaterialenForm::CDSVWOMaterialenNewRecord() {
  CDSVWOMaterialen.FieldByName("VWM_FLAGS").SetAsInteger(kFlagsNieuw);
  const int rekening = CDSAlgemeneRekeningen.GetDefaultID();
  if (rekening >= 0) CDSVWOMaterialen.FieldByName("VWM_ZEVENREKENING_FK").SetAsInteger(rekening);
}

void TVWOMaterialenForm::CDSVWOMaterialenBeforePost() {
  if (!algemeneRekeningen_ || !LCAlgemeneRekening.DisplayText().empty()) return;
  SetFocus(LCAlgemeneRekening);
  RaiseClientError(kKiesRekening);
}

TColumn& TVWOMaterialenForm::RekeningColumn() {
  for (TColumn& column : GridMaterialen.Columns) {
    if (column.FieldName == "ALGEMENEREKENING") return column;
  }
  throw std::logic_error("the materials grid has no account column");
}

namespace frmVWOMaterialen {

void Initialization() {
  RegisterScreenClass("TVWOMaterialenForm", FactoryOf<TVWOMaterialenForm>());
}

}  // namespace frmVWOMaterialen

}  // namespace kavel
