#include "structure/frmVWOSchoolModuleGroepDetails.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kModuleFilter =
    "(VOM_CODE LIKE '%%%s%%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%%%s%%'))";
constexpr const char* kAlleModules = "DSPSelectVWOModule";
constexpr const char* kIngerichteModules = "DSPSelectVWOIngerichteModules";

}  // namespace

TVWOSchoolModulegroepDetailsForm::TVWOSchoolModulegroepDetailsForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOSchoolModulegroepDetailsForm"),
      CDSModules(AddDataSet("CDSModules", kAlleModules)),
      CDSModuleGroepDetails(AddDataSet("CDSModuleGroepDetails", "DSPVWOModuleGroepenDetails")),
      DSModules(AddDataSource("DSModules", &CDSModules)),
      DSModuleGroepDetails(AddDataSource("DSModuleGroepDetails", &CDSModuleGroepDetails)),
      PnlSelectie(Add<TSelectionPanel>("PnlSelectie")),
      PnlBeschikbaar(Add<TPanel>("PnlBeschikbaar", &PnlSelectie)),
      EdtFilter(Add<TEdit>("EdtFilter", &PnlBeschikbaar)),
      ChkFilter(Add<TCheckBox>("ChkFilter", &PnlBeschikbaar)),
      ChkIngericht(Add<TCheckBox>("ChkIngericht", &PnlBeschikbaar)),
      GridModules(Add<TDBGrid>("GridModules", &PnlBeschikbaar)),
      BtnAdd(Add<TButton>("BtnAdd", &PnlSelectie)),
      BtnRemove(Add<TButton>("BtnRemove", &PnlSelectie)),
      PnlGroep(Add<TPanel>("PnlGroep", &PnlSelectie)),
      GridLeden(Add<TDBGrid>("GridLeden", &PnlGroep)),
      AAdd(AddAction(
          "AAdd", "Toevoegen", [this] { selection_.SelectCurrent(); },
          [this] { AAdd.Enabled = selection_.GetAllowSelectCurrent(); })),
      Aremove(AddAction(
          "Aremove", "Verwijderen", [this] { selection_.UnSelectCurrent(); },
          [this] { Aremove.Enabled = selection_.GetAllowUnSelectCurrent(); })),
      AFilter(AddAction("AFilter", "Filter", {})),
      selection_(CDSModules, CDSModuleGroepDetails, this),
      filter_(CDSModules, EdtFilter, AFilter, kModuleFilter) {
  CDSModules.ReadOnly = true;
  // The code matches as typed; the description is compared in upper case by the filter itself.
  CDSModules.FilterOptions.caseInsensitive = false;
  DeclareFields(CDSModules,
                {DataField("VOM_CODE", "Code"), DataField("VOM_OMSCHRIJVING", "Omschrijving")});
  TQuilClientDataSet& leden = CDSModuleGroepDetails;
  leden.IDField = "VMD_ID";
  leden.ParamToFields = "VMG_ID=VMD_VWOMODULEGROEP_FK";
  leden.ChangedByField = "VMD_VERANDERDDOOR";
  leden.ChangedOnField = "VMD_VERANDERDOP";
  leden.SetSortFields("VOM_CODE");
  DeclareFields(leden,
                {DataField("VOM_CODE", "Code"), DataField("VOM_OMSCHRIJVING", "Omschrijving")});
  leden.AfterOpen = [this](TQuilClientDataSet&) { UpdateTitle(); };
  selection_.SetFieldMap("VOM_ID=VMD_VWOMODULE_FK;VOM_CODE;VOM_OMSCHRIJVING");
  selection_.SetUniqueField("VOM_ID");

  PnlSelectie.Available = &PnlBeschikbaar;
  PnlSelectie.Chosen = &PnlGroep;
  PnlBeschikbaar.Caption = "Be&schikbare modules";
  EdtFilter.Caption = "&Filter";
  ChkFilter.Action = &AFilter;
  ChkFilter.Caption = "Filter";
  ChkIngericht.Caption = "Alleen &ingerichte";
  ChkIngericht.OnClick = [this] { ReopenModules(); };
  GridModules.DataSource = &DSModules;
  GridModules.Columns = {{"VOM_CODE", "", 10}, {"VOM_OMSCHRIJVING", "", 40}};
  GridModules.OnDblClick = [this] { AAdd.Execute(); };
  AAdd.Hint = "Voeg toe aan de groep";
  Aremove.Hint = "Verwijder uit de groep";
  BtnAdd.Action = &AAdd;
  BtnRemove.Action = &Aremove;
  GridLeden.DataSource = &DSModuleGroepDetails;
  GridLeden.Columns = {{"VOM_CODE", "", 10}, {"VOM_OMSCHRIJVING", "", 40}};
  GridLeden.OnDblClick = [this] { Aremove.Execute(); };
  UpdateTitle();
}

void TVWOSchoolModulegroepDetailsForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  institution_ = FindDataSourceWithField(master, "IS_ID");
  if (institution_ == nullptr) RaiseClientError("Kon de huidige school niet bepalen !");
  group_ = FindDataSourceWithField(master, "VMG_ID");
  LinkToMaster(CDSModuleGroepDetails);
  ReopenModules();
  CDSModuleGroepDetails.Open();
}

void TVWOSchoolModulegroepDetailsForm::ReopenModules() {
  const bool ingericht = ChkIngericht.Checked();
  filter_.Reopen(ingericht ? kIngerichteModules : kAlleModules, ingericht ? institution_ : nullptr);
}

void TVWOSchoolModulegroepDetailsForm::UpdateTitle() {
  TQuilClientDataSet* group = group_ != nullptr ? group_->DataSet() : nullptr;
  std::string text;
  if (group != nullptr && group->Active()) {
    if (TField* code = group->FindField("VMG_CODE")) text = code->AsString();
    if (TField* description = group->FindField("VMG_OMSCHRIJVING")) {
      if (!text.empty()) text += " - ";
      text += description->AsString();
    }
  }
  PnlGroep.Caption = Format("Modules in de groep %s", text);
}

void TVWOSchoolModulegroepDetailsForm::QuilDBFormCanInsert(TQuilClientDataSet& dataset,
                                                           bool& allow) {
  if (&dataset == &CDSModuleGroepDetails) allow = false;
}

void TVWOSchoolModulegroepDetailsForm::QuilDBFormCanDelete(TQuilClientDataSet& dataset,
                                                           bool& allow) {
  if (&dataset == &CDSModuleGroepDetails) allow = false;
}

namespace frmVWOSchoolModuleGroepDetails {

void Initialization() {
  RegisterScreenClass("TVWOSchoolModulegroepDetailsForm",
                      FactoryOf<TVWOSchoolModulegroepDetailsForm>());
}

}  // namespace frmVWOSchoolModuleGroepDetails

}  // namespace kavel
