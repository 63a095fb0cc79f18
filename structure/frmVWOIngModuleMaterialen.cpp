#include "structure/frmVWOIngModuleMaterialen.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

namespace {

// Bits of IMD_FLAGS.
constexpr int kBitAankoopVerplicht = 0;
constexpr int kBitNietAutomatisch = 1;

}  // namespace

TVWOIngModuleMaterialenForm::TVWOIngModuleMaterialenForm(TQuilApplication& app)
    : TVWOIngModuleVariantDetailForm(app, "TVWOIngModuleMaterialenForm", "IngModuleVariantDetails",
                                     "DSPIngModuleVariantDetails", "M"),
      CDSSelectMateriaal(AddDataSet("CDSSelectMateriaal", "DSPSelectVWOMateriaal")),
      CDSMateriaalGroep(AddDataSet<TQuilParamClientDataset>("CDSMateriaalGroep")),
      DSSelectMateriaal(AddDataSource("DSSelectMateriaal", &CDSSelectMateriaal)),
      DSMateriaalGroep(AddDataSource("DSMateriaalGroep", &CDSMateriaalGroep)),
      PnlSelectie(Add<TSelectionPanel>("PnlSelectie")),
      PnlBeschikbaar(Add<TPanel>("PnlBeschikbaar", &PnlSelectie)),
      GridMaterialen(Add<TDBGrid>("GridMaterialen", &PnlBeschikbaar)),
      BtnAdd(Add<TButton>("BtnAdd", &PnlSelectie)),
      BtnDelete(Add<TButton>("BtnDelete", &PnlSelectie)),
      PnlBenodigd(Add<TPanel>("PnlBenodigd", &PnlSelectie)),
      GridDetails(Add<TDBGrid>("GridDetails", &PnlBenodigd)),
      PnlKaart(Add<TPanel>("PnlKaart", &PnlBenodigd)),
      EdtAantal(Add<TDBEdit>("EdtAantal", &PnlKaart)),
      EdtKostprijs(Add<TDBEdit>("EdtKostprijs", &PnlKaart)),
      CBAankoopVerplicht(Add<TDBCheckBox>("CBAankoopVerplicht", &PnlKaart)),
      CBNietAutomatisch(Add<TDBCheckBox>("CBNietAutomatisch", &PnlKaart)),
      LCMateriaalGroep(Add<TDBLookupCombo>("LCMateriaalGroep", &PnlKaart)),
      AAdd(AddAction(
          "AAdd", "Toevoegen", [this] { AAddExecute(); }, [this] { AAddUpdate(); })),
      ADelete(AddAction(
          "ADelete", "Verwijderen", [this] { ADeleteExecute(); }, [this] { ADeleteUpdate(); })),
      selection_(CDSSelectMateriaal, CDSDetails, this) {
  CDSMateriaalGroep.SetParamType("OEMG");
  CDSSelectMateriaal.ReadOnly = true;
  CDSSelectMateriaal.SetSortFields("VWM_CODE");
  DeclareFields(CDSSelectMateriaal,
                {DataField("VWM_CODE", "Code"), DataField("VWM_PRIJS", "Prijs").Format("0.00"),
                 DataField("VWM_OMSCHRIJVING", "Omschrijving")});
  DeclareFields(
      CDSDetails,
      {DataField("IMD_KOSTPRIJS", "Kostprijs").Format("0.00"),
       DataField("IMD_OMSCHRIJVING", "Omschrijving"), DataField("IMD_AANTAL", "Aantal"),
       DataField("IMD_MATERIAALGROEP_FKP", "Betaling - groep"),
       BitField("AankoopVerplicht", "Aankoop verplicht", "IMD_FLAGS", kBitAankoopVerplicht),
       BitField("NietAutomatisch", "Niet automatisch toekennen", "IMD_FLAGS",
                kBitNietAutomatisch)});
  CDSDetails.BeforePost = [this](TQuilClientDataSet&) { CDSDetailsBeforePost(); };
  selection_.SetFieldMap(
      "VWM_PRIJS=IMD_KOSTPRIJS;VWM_OMSCHRIJVING=IMD_OMSCHRIJVING;VWM_ID=IMD_MATERIAAL_FK");

  PnlSelectie.Available = &PnlBeschikbaar;
  PnlSelectie.Chosen = &PnlBenodigd;
  PnlBeschikbaar.Caption = "Beschikbare materialen";
  GridMaterialen.DataSource = &DSSelectMateriaal;
  GridMaterialen.Columns = {
      {"VWM_CODE", "", 10}, {"VWM_PRIJS", "", 10}, {"VWM_OMSCHRIJVING", "", 40}};
  GridMaterialen.OnDblClick = [this] { AAdd.Execute(); };
  AAdd.Hint = "Voeg toe aan lijst benodigde materialen";
  ADelete.Hint = "Verwijder uit lijst benodigde materialen";
  BtnAdd.Action = &AAdd;
  BtnDelete.Action = &ADelete;
  PnlBenodigd.Caption = "Materialen benodigd voor ingerichte module";
  GridDetails.DataSource = &DSDetails;
  GridDetails.Columns = {{"IMD_KOSTPRIJS", "", 10}, {"IMD_OMSCHRIJVING", "", 40}};
  GridDetails.OnDblClick = [this] { ADelete.Execute(); };
  BindField(EdtAantal, DSDetails, "IMD_AANTAL", "&Aantal");
  BindField(EdtKostprijs, DSDetails, "IMD_KOSTPRIJS");
  BindField(CBAankoopVerplicht, DSDetails, "AankoopVerplicht", "Aankoop verp&licht");
  BindField(CBNietAutomatisch, DSDetails, "NietAutomatisch", "&Niet automatisch toekennen");
  BindField(LCMateriaalGroep, DSDetails, "IMD_MATERIAALGROEP_FKP", "Betaling - g&roep");
  OfferList(LCMateriaalGroep, DSMateriaalGroep, "P_ID", "P_OMSCHRIJVING");
}

void TVWOIngModuleMaterialenForm::QuilDBFormCreate() {
  // The payment group stays in the record; this screen does not show it.
  LCMateriaalGroep.Visible = false;
}

void TVWOIngModuleMaterialenForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  CDSSelectMateriaal.SetMasterdataSource(FindDataSourceWithField(master, "IS_ID"));
  CDSMateriaalGroep.Open();
  CDSSelectMateriaal.Open();
  TVWOIngModuleVariantDetailForm::QuilDBFormSetMasterBrowser(master);
}

void TVWOIngModuleMaterialenForm::QuilDBFormGetPrintParams(const std::string& reportFile,
                                                           TPrintParams& params) {
  (void)reportFile;
  if (CDSDetails.Active() && !CDSDetails.IsEmpty()) {
    params.SetValue("IMV_ID", CDSDetails.FieldByName("IMD_INGMODULEVARIANT_FK").AsString());
  }
}

void TVWOIngModuleMaterialenForm::AAddExecute() {
  selection_.SelectCurrent();
}

void TVWOIngModuleMaterialenForm::AAddUpdate() {
  AAdd.Enabled = selection_.GetAllowSelectCurrent() && !IsReadOnly() &&
                 !CDSDetails.ParamByName("IMV_ID").IsNull();
}

void TVWOIngModuleMaterialenForm::ADeleteExecute() {
  selection_.UnSelectCurrent();
}

void TVWOIngModuleMaterialenForm::ADeleteUpdate() {
  ADelete.Enabled = selection_.GetAllowUnSelectCurrent() && !IsReadOnly();
}

void TVWOIngModuleMaterialenForm::CDSDetailsBeforePost() {
  TField& kostprijs = CDSDetails.FieldByName("IMD_KOSTPRIJS");
  if (kostprijs.IsNull()) kostprijs.SetAsCurrency(Currency(0));
}

namespace frmVWOIngModuleMaterialen {

void Initialization() {
  RegisterScreenClass("TVWOIngModuleMaterialenForm", FactoryOf<TVWOIngModuleMaterialenForm>());
}

}  // namespace frmVWOIngModuleMaterialen

}  // namespace kavel
