#include "structure/frmVWOIngmodules.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kModuleFilter =
    "(VOM_CODE LIKE '%%%s%%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%%%s%%'))";
constexpr const char* kAlleModules = "DSPSelectVWOMOduleVarInOPlVar";
constexpr const char* kBevoegdeModules = "DSPSelectVWOBevoegdeModulesVarInOplVar";

}  // namespace

TVWOIngmodulesForm::TVWOIngmodulesForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOIngmodulesForm"),
      CDSModules(AddDataSet("CDSModules", kAlleModules)),
      CDSIngerichteModules(AddDataSet("CDSIngerichteModules", "DSPVWOIngerichteModules")),
      DSModules(AddDataSource("DSModules", &CDSModules)),
      DSIngerichteModules(AddDataSource("DSIngerichteModules", &CDSIngerichteModules)),
      PnlSelectie(Add<TSelectionPanel>("PnlSelectie")),
      PnlBeschikbaar(Add<TPanel>("PnlBeschikbaar", &PnlSelectie)),
      EdtFilter(Add<TEdit>("EdtFilter", &PnlBeschikbaar)),
      ChkFilter(Add<TCheckBox>("ChkFilter", &PnlBeschikbaar)),
      ChkBevoegd(Add<TCheckBox>("ChkBevoegd", &PnlBeschikbaar)),
      GridModules(Add<TDBGrid>("GridModules", &PnlBeschikbaar)),
      BtnAdd(Add<TButton>("BtnAdd", &PnlSelectie)),
      BtnDelete(Add<TButton>("BtnDelete", &PnlSelectie)),
      PnlIngericht(Add<TPanel>("PnlIngericht", &PnlSelectie)),
      GridIngerichteModules(Add<TDBGrid>("GridIngerichteModules", &PnlIngericht)),
      EdtEdenred(Add<TDBEdit>("EdtEdenred", &PnlIngericht)),
      AAdd(AddAction(
          "AAdd", "Toevoegen", [this] { selection_.SelectCurrent(); },
          [this] { AAdd.Enabled = selection_.GetAllowSelectCurrent(); })),
      ADelete(AddAction(
          "ADelete", "Verwijderen", [this] { selection_.UnSelectCurrent(); },
          [this] { ADelete.Enabled = selection_.GetAllowUnSelectCurrent(); })),
      AFilterModules(AddAction("AFilterModules", "Filter", {})),
      selection_(CDSModules, CDSIngerichteModules, this),
      filter_(CDSModules, EdtFilter, AFilterModules, kModuleFilter) {
  CDSModules.ReadOnly = true;
  // The code matches as typed; the description is compared in upper case by the filter itself.
  CDSModules.FilterOptions.caseInsensitive = false;
  DeclareFields(CDSModules,
                {DataField("VOM_CODE", "Code"), DataField("VOM_OMSCHRIJVING", "Omschrijving"),
                 DataField("VMV_CODE", "Variant"), DataField("VOO_OMSCHRIJVING", "Opleiding")});
  CDSIngerichteModules.IDField = "VIM_ID";
  CDSIngerichteModules.ParamToFields = "IS_ID=VIM_INSTELLING_FK";
  CDSIngerichteModules.ChangedByField = "VIM_VERANDERDDOOR";
  CDSIngerichteModules.ChangedOnField = "VIM_VERANDERDOP";
  CDSIngerichteModules.SetSortFields("VOM_CODE");
  DeclareFields(CDSIngerichteModules,
                {DataField("VOM_CODE", "Code"), DataField("VOM_OMSCHRIJVING", "Omschrijving"),
                 DataField("VIM_EDENRED", "Code EDENRED")});
  selection_.SetFieldMap("VOM_ID=VIM_VWOMODULE_FK;VOM_CODE;VOM_OMSCHRIJVING");
  selection_.SetUniqueField("VOM_ID");

  PnlSelectie.Available = &PnlBeschikbaar;
  PnlSelectie.Chosen = &PnlIngericht;
  PnlBeschikbaar.Caption = "Beschikbare VWO modules";
  EdtFilter.Caption = "&Filter";
  ChkFilter.Action = &AFilterModules;
  ChkFilter.Caption = "Filter";
  ChkBevoegd.Caption = "Alleen modules waarvoor bevoegdheid is";
  ChkBevoegd.OnClick = [this] { ChkBevoegdClick(); };
  GridModules.DataSource = &DSModules;
  GridModules.Columns = {{"VOM_CODE", "", 10},
                         {"VOM_OMSCHRIJVING", "", 40},
                         {"VMV_CODE", "", 8},
                         {"VOO_OMSCHRIJVING", "", 40}};
  GridModules.OnDblClick = [this] { AAdd.Execute(); };
  AAdd.Hint = "Voeg toe aan lijst ingerichte modules";
  ADelete.Hint = "Verwijder uit lijst ingerichte modules";
  AFilterModules.Hint = "Filter aan of uit";
  BtnAdd.Action = &AAdd;
  BtnDelete.Action = &ADelete;
  PnlIngericht.Caption = "Ingerichte VWO modules";
  GridIngerichteModules.DataSource = &DSIngerichteModules;
  GridIngerichteModules.Columns = {
      {"VOM_CODE", "", 10}, {"VOM_OMSCHRIJVING", "", 40}, {"VIM_EDENRED", "", 20}};
  GridIngerichteModules.OnDblClick = [this] { ADelete.Execute(); };
  BindField(EdtEdenred, DSIngerichteModules, "VIM_EDENRED", "Code &EDENRED");
}

void TVWOIngmodulesForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  institution_ = FindDataSourceWithField(master, "IS_ID");
  if (institution_ == nullptr) RaiseClientError("Kan de instelling niet vinden");
  CDSIngerichteModules.SetMasterdataSource(institution_);
  CDSIngerichteModules.Open();
  ReopenModules();
}

void TVWOIngmodulesForm::ChkBevoegdClick() {
  ReopenModules();
}

void TVWOIngmodulesForm::ReopenModules() {
  const bool bevoegd = ChkBevoegd.Checked();
  filter_.Reopen(bevoegd ? kBevoegdeModules : kAlleModules, bevoegd ? institution_ : nullptr);
}

void TVWOIngmodulesForm::QuilDBFormCanInsert(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSIngerichteModules) allow = false;
}

void TVWOIngmodulesForm::QuilDBFormCanDelete(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSIngerichteModules) allow = false;
}

namespace frmVWOIngmodules {

void Initialization() {
  RegisterScreenClass("TVWOIngmodulesForm", FactoryOf<TVWOIngmodulesForm>());
}

}  // namespace frmVWOIngmodules

}  // namespace kavel
