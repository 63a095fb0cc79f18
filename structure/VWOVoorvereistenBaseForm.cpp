#include "structure/VWOVoorvereistenBaseForm.h"

#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kModuleFilter =
    "(VOM_CODE LIKE '%%%s%%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%%%s%%'))";
constexpr const char* kAlleModules = "DSPSelectVWOModule";
constexpr const char* kIngerichteModules = "DSPSelectVWOIngerichteModules";
constexpr int kModulesPage = 0;

}  // namespace

TVWOVoorvereistenBaseForm::TVWOVoorvereistenBaseForm(TQuilApplication& app, std::string className,
                                                     const TVoorvereistenSoort& soort)
    : TQuilDBForm(app, std::move(className)),
      CDSModules(AddDataSet("CDSModules", kAlleModules)),
      CDSModulesLookup(AddDataSet("CDSModulesLookup")),
      CDSGroepen(AddDataSet("CDSGroepen", "DSPSelectVWOModuleGroep")),
      CDSGroepenLookup(AddDataSet("CDSGroepenLookup")),
      CDSVoorvereisten(AddDataSet("CDSModuleVoorvereisten", soort.provider)),
      DSModules(AddDataSource("DSModules", &CDSModules)),
      DSGroepen(AddDataSource("DSGroepen", &CDSGroepen)),
      DSModuleVoorvereisten(AddDataSource("DSModuleVoorvereisten", &CDSVoorvereisten)),
      PnlSelectie(Add<TSelectionPanel>("PnlSelectie")),
      PgcBeschikbaar(Add<TPageControl>("PgcBeschikbaar", &PnlSelectie)),
      TabModules(Add<TTabSheet>("TabModules", &PgcBeschikbaar)),
      EdtModuleFilter(Add<TEdit>("EdtModuleFilter", &TabModules)),
      ChkModuleFilter(Add<TCheckBox>("ChkModuleFilter", &TabModules)),
      ChkIngericht(Add<TCheckBox>("ChkIngericht", &TabModules)),
      GridModules(Add<TDBGrid>("GridModules", &TabModules)),
      TabGroepen(Add<TTabSheet>("TabGroepen", &PgcBeschikbaar)),
      EdtGroepFilter(Add<TEdit>("EdtGroepFilter", &TabGroepen)),
      ChkGroepFilter(Add<TCheckBox>("ChkGroepFilter", &TabGroepen)),
      GridGroepen(Add<TDBGrid>("GridGroepen", &TabGroepen)),
      BtnAdd(Add<TButton>("BtnAdd", &PnlSelectie)),
      BtnDelete(Add<TButton>("BtnDelete", &PnlSelectie)),
      PnlVoorvereisten(Add<TPanel>("PnlVoorvereisten", &PnlSelectie)),
      ChkSchoolEigen(Add<TCheckBox>("ChkSchoolEigen", &PnlVoorvereisten)),
      GridVoorvereisten(Add<TDBGrid>("GridVoorvereisten", &PnlVoorvereisten)),
      AAdd(AddAction(
          "AAdd", "Toevoegen", [this] { Selection().SelectCurrent(); },
          [this] { AAdd.Enabled = Selection().GetAllowSelectCurrent(); })),
      ADelete(AddAction(
          "ADelete", "Verwijderen", [this] { Selection().UnSelectCurrent(); },
          [this] { ADelete.Enabled = Selection().GetAllowUnSelectCurrent(); })),
      AFilter(AddAction("AFilter", "Filter", {})),
      AFilterGroepen(AddAction("AFilterGroepen", "Filter", {})),
      soort_(soort),
      moduleSelection_(CDSModules, CDSVoorvereisten, this),
      groupSelection_(CDSGroepen, CDSVoorvereisten, this),
      moduleFilter_(CDSModules, EdtModuleFilter, AFilter, kModuleFilter),
      groupFilter_(CDSGroepen, EdtGroepFilter, AFilterGroepen, soort.groupFilterFormat) {
  // Codes match as typed; descriptions are compared in upper case by the filters themselves.
  CDSModules.ReadOnly = true;
  CDSModules.FilterOptions.caseInsensitive = false;
  DeclareFields(CDSModules,
                {DataField("VOM_CODE", "Code"), DataField("VOM_OMSCHRIJVING", "Omschrijving")});
  CDSModules.AfterOpen = [this](TQuilClientDataSet&) { ModulesAfterOpen(); };
  CDSGroepen.ReadOnly = true;
  CDSGroepen.FilterOptions.caseInsensitive = false;
  CDSGroepen.SetSortFields("P_CODE;VMG_CODE");
  DeclareFields(CDSGroepen, {DataField("P_CODE", "Type"), DataField("VMG_CODE", "Code"),
                             DataField("VMG_OMSCHRIJVING", "Omschrijving")});
  CDSGroepen.AfterOpen = [this](TQuilClientDataSet&) { GroepenAfterOpen(); };

  CDSVoorvereisten.IDField = "VWV_ID";
  CDSVoorvereisten.ParamToFields = std::string(soort.idParam) + "=VWV_VOOR_FK;SC_ID=VWV_SCHOOL_FK";
  CDSVoorvereisten.ChangedByField = "VWV_VERANDERDDOOR";
  CDSVoorvereisten.ChangedOnField = "VWV_VERANDERDOP";
  CDSVoorvereisten.SetSortFields("VWV_RECORDTYPE;VWV_CODE");
  DeclareFields(CDSVoorvereisten,
                {DataField("VWV_RECORDTYPE", "Soort"),
                 CalculatedField("VWV_CODE", "Code", FieldType::String, 10),
                 CalculatedField("VWV_OMSCHRIJVING", "Omschrijving", FieldType::String, 80),
                 CalculatedField("VWV_TYPE", "Type", FieldType::String, 10)});
  CDSVoorvereisten.OnCalcFields = [this](TQuilClientDataSet&) { VoorvereistenCalcFields(); };
  CDSVoorvereisten.OnNewRecord = [this](TQuilClientDataSet&) { VoorvereistenNewRecord(); };
  CDSVoorvereisten.AfterOpen = [this](TQuilClientDataSet&) { VoorvereistenAfterOpen(); };

  moduleSelection_.SetFieldMap("VOM_ID=VWV_VEREIST_FK");
  groupSelection_.SetFieldMap("VMG_ID=VWV_VEREIST_FK");
  if (soort.onlyOwnRemovable) {
    moduleSelection_.OnAllowUnSelect = groupSelection_.OnAllowUnSelect = [this] {
      return CDSVoorvereisten.FieldByName("VWV_SCHOOL_FK").AsInteger() != 0;
    };
  }

  PnlSelectie.Available = &PgcBeschikbaar;
  PnlSelectie.Chosen = &PnlVoorvereisten;
  TabModules.Caption = "Beschikbare m&odules";
  EdtModuleFilter.Caption = "O&mschrijving";
  ChkModuleFilter.Action = &AFilter;
  ChkModuleFilter.Caption = "Filter";
  ChkIngericht.Caption = "Alleen &ingerichte";
  ChkIngericht.OnClick = [this] { ChkIngerichtClick(); };
  GridModules.DataSource = &DSModules;
  GridModules.Columns = {{"VOM_CODE", "", 10}, {"VOM_OMSCHRIJVING", "", 40}};
  GridModules.OnDblClick = [this] { AAdd.Execute(); };
  TabGroepen.Caption = "Beschikbare &groepen";
  EdtGroepFilter.Caption = soort.groupFilterCaption;
  ChkGroepFilter.Action = &AFilterGroepen;
  ChkGroepFilter.Caption = "Filter";
  GridGroepen.DataSource = &DSGroepen;
  GridGroepen.Columns = {{"P_CODE", "", 10}, {"VMG_CODE", "", 10}, {"VMG_OMSCHRIJVING", "", 40}};
  GridGroepen.OnDblClick = [this] { AAdd.Execute(); };
  AAdd.Hint = "Voeg toe aan lijst voorvereisten";
  ADelete.Hint = "Verwijder uit lijst voorvereisten";
  BtnAdd.Action = &AAdd;
  BtnDelete.Action = &ADelete;
  PnlVoorvereisten.Caption = soort.title;
  ChkSchoolEigen.Caption = "Alleen school-eigen voorvereisten";
  ChkSchoolEigen.OnClick = [this] { ApplySchoolFilter(); };
  GridVoorvereisten.DataSource = &DSModuleVoorvereisten;
  GridVoorvereisten.Columns = {{"VWV_RECORDTYPE", "", 5},
                               {"VWV_CODE", "", 10},
                               {"VWV_OMSCHRIJVING", "", 40},
                               {"VWV_TYPE", "", 10}};
}

TRecSelectionManager& TVWOVoorvereistenBaseForm::Selection() {
  return PgcBeschikbaar.ActivePageIndex() == kModulesPage ? moduleSelection_ : groupSelection_;
}

void TVWOVoorvereistenBaseForm::OpenLists(TDataSource& school, TDataSource& institution,
                                          TDataSource& owner) {
  institution_ = &institution;
  owner_ = &owner;
  const Variant scId = school.DataSet()->FieldByName("SC_ID").Value();
  CDSVoorvereisten.FetchParams();
  CDSVoorvereisten.ParamByName("SC_ID").value = scId;
  ReopenModules();
  CDSGroepen.FetchParams();
  CDSGroepen.ParamByName("SC_ID").value = scId;
  CDSGroepen.Open();
  // The module or group follows its list; the school stays the one found now.
  CDSVoorvereisten.SetMasterdataSource(&owner);
  CDSVoorvereisten.Open();
}

void TVWOVoorvereistenBaseForm::ChkIngerichtClick() {
  ReopenModules();
}

void TVWOVoorvereistenBaseForm::ReopenModules() {
  const bool ingericht = ChkIngericht.Checked();
  moduleFilter_.Reopen(ingericht ? kIngerichteModules : kAlleModules,
                       ingericht ? institution_ : nullptr);
}

void TVWOVoorvereistenBaseForm::ModulesAfterOpen() {
  CopyDataToDataset(CDSModules, CDSModulesLookup);
  // The prerequisites show what the new copy knows.
  if (CDSVoorvereisten.Active() && CDSVoorvereisten.ChangeCount() == 0) CDSVoorvereisten.Refresh();
}

void TVWOVoorvereistenBaseForm::GroepenAfterOpen() {
  CopyDataToDataset(CDSGroepen, CDSGroepenLookup);
  groupFilter_.Apply();
  if (CDSVoorvereisten.Active() && CDSVoorvereisten.ChangeCount() == 0) CDSVoorvereisten.Refresh();
}

void TVWOVoorvereistenBaseForm::VoorvereistenCalcFields() {
  const std::string type = CDSVoorvereisten.FieldByName("VWV_RECORDTYPE").AsString();
  const Variant vereist = CDSVoorvereisten.FieldByName("VWV_VEREIST_FK").Value();
  TField& code = CDSVoorvereisten.FieldByName("VWV_CODE");
  TField& omschrijving = CDSVoorvereisten.FieldByName("VWV_OMSCHRIJVING");
  TField& groepType = CDSVoorvereisten.FieldByName("VWV_TYPE");
  if (type == soort_.requiredModuleType && CDSModulesLookup.Active()) {
    code.SetValue(CDSModulesLookup.Lookup("VOM_ID", vereist, "VOM_CODE"));
    omschrijving.SetValue(CDSModulesLookup.Lookup("VOM_ID", vereist, "VOM_OMSCHRIJVING"));
  } else if (type == soort_.requiredGroupType && CDSGroepenLookup.Active()) {
    code.SetValue(CDSGroepenLookup.Lookup("VMG_ID", vereist, "VMG_CODE"));
    omschrijving.SetValue(CDSGroepenLookup.Lookup("VMG_ID", vereist, "VMG_OMSCHRIJVING"));
    groepType.SetValue(CDSGroepenLookup.Lookup("VMG_ID", vereist, "P_CODE"));
  }
}

void TVWOVoorvereistenBaseForm::VoorvereistenNewRecord() {
  const bool modulesPage = PgcBeschikbaar.ActivePageIndex() == kModulesPage;
  CDSVoorvereisten.FieldByName("VWV_RECORDTYPE")
      .SetAsString(modulesPage ? soort_.requiredModuleType : soort_.requiredGroupType);
}

void TVWOVoorvereistenBaseForm::VoorvereistenAfterOpen() {
  ApplySchoolFilter();
  UpdateTitle();
}

void TVWOVoorvereistenBaseForm::ApplySchoolFilter() {
  if (!CDSVoorvereisten.Active()) return;
  const int scId = CDSVoorvereisten.ParamByName("SC_ID").AsInteger();
  CDSVoorvereisten.MaybeApplyFilter(ChkSchoolEigen.Checked() ? Format("(VWV_SCHOOL_FK=%d)", scId)
                                                             : std::string());
}

void TVWOVoorvereistenBaseForm::UpdateTitle() {
  TQuilClientDataSet* master = owner_ != nullptr ? owner_->DataSet() : nullptr;
  std::string text;
  if (master != nullptr && master->Active()) {
    if (TField* code = master->FindField(soort_.masterCodeField)) text = code->AsString();
    if (TField* description = master->FindField(soort_.masterDescription)) {
      if (!text.empty()) text += " - ";
      text += description->AsString();
    }
  }
  PnlVoorvereisten.Caption =
      !text.empty()
          ? soort_.title + text
          : Format(soort_.titleWithId, CDSVoorvereisten.ParamByName(soort_.idParam).AsInteger());
}

void TVWOVoorvereistenBaseForm::QuilDBFormCanInsert(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSVoorvereisten) allow = false;
}

void TVWOVoorvereistenBaseForm::QuilDBFormCanDelete(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSVoorvereisten) allow = false;
}

}  // namespace kavel
