#include "modulevariants/Frmvwoklaslesmomenten.h"

#include <algorithm>

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"
#include "host/data/Guards.h"
#include "host/forms/AdminPrefs.h"
#include "planning/dlgVWOLesmomentKalender.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kClassName = "TVWOKlasLesmomentenForm";

constexpr TVWOLessenNames kNames{.className = kClassName,
                                 .lessons = "CDSKlasLesMomenten",
                                 .lessonsProvider = "DSPVWOKlasLessen",
                                 .lessonsSource = "DSKlasLesmomenten",
                                 .lesTijdenProvider = "DSPVWOGetGeplandeKlasLesTijden",
                                 .param = "VWK_ID",
                                 .checkAction = "ACheckLestijden",
                                 .checkCaption = "Lestijden nagaan",
                                 .kalenderAction = "AAddFromKalendar",
                                 .kalenderCaption = "Toevoegen via &kalender",
                                 .list = VWOLesList::Klas};

int IdOrMinus1(const TField& field) {
  return field.IsNull() ? -1 : field.AsInteger();
}

std::string Text(const TField& field) {
  return field.IsNull() ? std::string() : field.DisplayText();
}

}  // namespace

TVWOKlasLesmomentenForm::TVWOKlasLesmomentenForm(TQuilApplication& app)
    : TVWOLessenBaseForm(app, kNames),
      CDSKlasLesMomenten(CDSLessen),
      DSKlasLesmomenten(DSLessen),
      CDSSelectIngModuleVar(AddDataSet("CDSSelectIngModuleVar", "DSPSelectVWOIngModuleVarPerKlas")),
      CDSCopyIngModuleVar(AddDataSet("CDSCopyIngModuleVar")),
      DSSelectIngModuleVar(AddDataSource("DSSelectIngModuleVar", &CDSSelectIngModuleVar)),
      LCIngModuleVar(Add<TDBLookupCombo>("LCIngModuleVar", &TSFiche)),
      ACheckLestijden(ACheckLesTijden),
      AAddFromKalendar(AAddFromKalender) {
  CDSLessen.StatusFields = "VWL_KLAS";
  DeclareFields(CDSLessen,
                {DataField("VWL_INGMODULEVARIANT_FK", "Ingerichte modulevariant"),
                 CalculatedField("VWL_INGModuleVar", "Modulevariant", FieldType::String, 250),
                 CalculatedField("VWL_AFGELASTOP", "Afgelast op", FieldType::Date),
                 CalculatedField("VWL_LOKAAL", "Lokaal", FieldType::String, 120),
                 CalculatedField("VWL_KLAS", "Klas", FieldType::String, 120)});
  CDSLessen.FieldByName("VWL_INGMODULEVARIANT_FK").OnValidate = [this](TField& field) {
    ModuleVariantValidate(field);
  };
  CDSLessen.FieldByName("VWL_INGMODULEVARIANT_FK").OnChange = [this](TField&) { DatumChange(); };
  CDSLessen.AfterOpen = [this](TQuilClientDataSet&) { ListOpened(); };
  GridLessen.Columns.insert(GridLessen.Columns.begin() + 2, {"VWL_INGModuleVar", "", 25});
  GridLessen.Columns.push_back({"VWL_LOKAAL", "", 20});

  // The class's module variants, and the copy the look-ups use.
  CDSSelectIngModuleVar.ReadOnly = true;
  CDSSelectIngModuleVar.IDField = "IMV_ID";
  CDSSelectIngModuleVar.GetParams().Add("VWK_ID", FieldType::Integer);
  DeclareFields(CDSSelectIngModuleVar,
                {CalculatedField("Omschrijving", "Omschrijving", FieldType::String, 250)});
  CDSSelectIngModuleVar.OnCalcFields = [](TQuilClientDataSet& list) {
    list.FieldByName("Omschrijving")
        .SetAsString(list.FieldByName("VOM_CODE").AsString() + " " +
                     list.FieldByName("VOM_OMSCHRIJVING").AsString());
  };
  CDSSelectIngModuleVar.AfterOpen = [this](TQuilClientDataSet&) { ListOpened(); };

  BindField(LCIngModuleVar, DSLessen, "VWL_INGMODULEVARIANT_FK");
  LCIngModuleVar.Caption = "&Ing. mod. var";
  OfferList(LCIngModuleVar, DSSelectIngModuleVar, "IMV_ID",
            "VOM_CODE;VOM_OMSCHRIJVING;IMV_LESVAN;IMV_LESTOT");

  LesMomenten().OnModuleVariantOmschrijving = [this](int id) { return MomentOmschrijving(id); };
}

void TVWOKlasLesmomentenForm::QuilDBFormCreate() {
  TVWOLessenBaseForm::QuilDBFormCreate();
  LCIngModuleVar.Color = AdminPrefs().DavinciKleur();
}

// ------------------------------------------------------------------------------ master, lists

void TVWOKlasLesmomentenForm::SetModuleVariantMaster(TDataSource* master) {
  TDataSource* klas = FindDataSourceWithField(master, "VWK_VESTIGINGSPLAATS_FK");
  CDSSelectIngModuleVar.SetMasterdataSource(FindDataSourceWithField(klas, "VWK_ID"));
  klasCode_ = MasterField(klas, "VWK_CODE");
  klasOmschrijving_ = MasterField(klas, "VWK_OMSCHRIJVING");
}

void TVWOKlasLesmomentenForm::BeforeOpenLessons() {
  CDSSelectIngModuleVar.Open();
}

void TVWOKlasLesmomentenForm::ListOpened() {
  if (CDSSelectIngModuleVar.Active()) {
    CopyDataToDataset(CDSSelectIngModuleVar, CDSCopyIngModuleVar);
  }
  if (PCLessen.ActivePage() != &TSKalender) return;
  // The module variant list opens just before the lessons: the view waits for them.
  if (!kalenderLatch_) {
    kalenderLatch_ = true;
  } else if (CDSLessen.Active()) {
    ShowKalender();
  }
}

bool TVWOKlasLesmomentenForm::LocateCopy(int id) const {
  return id != -1 && CDSCopyIngModuleVar.Active() &&
         CDSCopyIngModuleVar.Locate("IMV_ID", Variant(id));
}

TVWOLessenBaseForm::TModuleVariantDates TVWOKlasLesmomentenForm::ModuleVariantOf(int id) const {
  TModuleVariantDates imv;
  if (!LocateCopy(id)) return imv;
  imv.found = true;
  imv.van = MasterDate(&CDSCopyIngModuleVar.FieldByName("IMV_VAN"));
  imv.tot = MasterDate(&CDSCopyIngModuleVar.FieldByName("IMV_TOT"));
  imv.lesVan = MasterDate(&CDSCopyIngModuleVar.FieldByName("IMV_LESVAN"));
  imv.lesTot = MasterDate(&CDSCopyIngModuleVar.FieldByName("IMV_LESTOT"));
  TField& afgelastOp = CDSCopyIngModuleVar.FieldByName("IMV_AFGELASTOP");
  imv.afgelast = !afgelastOp.IsNull();
  imv.afgelastOp = MasterDate(&afgelastOp);
  return imv;
}

std::string TVWOKlasLesmomentenForm::MomentOmschrijving(int id) const {
  if (!LocateCopy(id)) return "";
  const TQuilClientDataSet& copy = CDSCopyIngModuleVar;
  return Format("%s %s (%s - %s)", copy.FieldByName("VOM_CODE").AsString(),
                copy.FieldByName("VOM_OMSCHRIJVING").AsString(), Text(copy.FieldByName("IMV_VAN")),
                Text(copy.FieldByName("IMV_TOT")));
}

void TVWOKlasLesmomentenForm::CalcLessonFields() {
  CDSLessen.FieldByName("VWL_KLAS")
      .SetAsString((klasCode_ == nullptr ? std::string() : klasCode_->AsString()) + " - " +
                   (klasOmschrijving_ == nullptr ? std::string() : klasOmschrijving_->AsString()));
  if (LocateCopy(LessonModuleVariant())) {
    CDSLessen.FieldByName("VWL_INGModuleVar")
        .SetAsString(CDSCopyIngModuleVar.FieldByName("VOM_CODE").AsString() + " " +
                     CDSCopyIngModuleVar.FieldByName("VOM_OMSCHRIJVING").AsString());
    CDSLessen.FieldByName("VWL_AFGELASTOP")
        .SetValue(CDSCopyIngModuleVar.FieldByName("IMV_AFGELASTOP").Value());
  }
  TField& lokaal = CDSLessen.FieldByName("VWL_LOKAAL_FK");
  // A closed room list finds nothing.
  if (!lokaal.IsNull()) {
    const Variant omschrijving = CDSLokaal.Lookup("LK_ID", lokaal.Value(), "LK_OMSCHRIJVING");
    if (!omschrijving.IsNull())
      CDSLessen.FieldByName("VWL_LOKAAL").SetAsString(omschrijving.AsString());
  }
}

void TVWOKlasLesmomentenForm::ModuleVariantValidate(TField& field) {
  // A stored lesson keeps its module variant: Davinci and the careers know it by it.
  if (CDSLessen.State() == DataSetState::Edit && !(field.Value() == field.OldValue())) {
    RaiseClientError("Wijzigen van een ingerichte modulevariant van een les is niet toegelaten");
  }
}

// ---------------------------------------------------------------------------------- actions

std::vector<std::string> TVWOKlasLesmomentenForm::SetLessenModuleVariants() {
  std::vector<std::string> lines;
  std::vector<std::string> ids;
  DisableControlsGuard quiet(CDSLessen);
  BookmarkGuard back(CDSLessen);
  TField& id = CDSLessen.FieldByName("VWL_INGMODULEVARIANT_FK");
  for (CDSLessen.First(); !CDSLessen.Eof(); CDSLessen.Next()) {
    const std::string name = id.AsString();
    if (std::find(ids.begin(), ids.end(), name) != ids.end()) continue;
    ids.push_back(name);
    lines.push_back(name + "=" + CDSLessen.FieldByName("VWL_INGModuleVar").AsString());
  }
  return lines;
}

void TVWOKlasLesmomentenForm::PrepareKalender(TVWOLesmomentUitKalenderForm& dialog) {
  dialog.SetDS(3, &DSSelectIngModuleVar);
  TField& lesVan = CDSSelectIngModuleVar.FieldByName("IMV_LESVAN");
  dialog.SetReferentieDatum(MasterDate(&lesVan));
  TField& imvId = CDSSelectIngModuleVar.FieldByName("IMV_ID");
  if (!CDSLessen.IsEmpty()) {
    PresetFromLesson(dialog);
    int moduleVariant = LessonModuleVariant();
    if (moduleVariant == -1 && CDSSelectIngModuleVar.RecordCount() == 1) {
      moduleVariant = IdOrMinus1(imvId);
    }
    dialog.SetID(2, moduleVariant);
    return;
  }
  dialog.SetID(0, IdOrMinus1(CDSSelectIngModuleVar.FieldByName("IMV_LESGEVER_FK")));
  dialog.SetID(3, IdOrMinus1(CDSSelectIngModuleVar.FieldByName("IMV_LESPLAATS_FK")));
  dialog.SetID(2, IdOrMinus1(imvId));
  const int lokaal =
      HasMasterField("VWK_STANDAARDLOKAAL_FK") ? MasterInt("VWK_STANDAARDLOKAAL_FK") : 0;
  dialog.SetID(1, lokaal != 0 ? lokaal : -1);
}

int TVWOKlasLesmomentenForm::NewMomentModuleVariant() {
  if (!CDSLessen.IsEmpty() && LessonModuleVariant() != -1) return LessonModuleVariant();
  if (CDSSelectIngModuleVar.Active() && CDSSelectIngModuleVar.RecordCount() == 1) {
    return IdOrMinus1(CDSSelectIngModuleVar.FieldByName("IMV_ID"));
  }
  return -1;
}

void TVWOKlasLesmomentenForm::PrepareLesMomentEditor() {
  std::vector<std::string>& lines = LesMomentEditor().ModuleVarianten;
  lines.clear();
  if (!CDSSelectIngModuleVar.Active()) return;
  DisableControlsGuard quiet(CDSSelectIngModuleVar);
  BookmarkGuard back(CDSSelectIngModuleVar);
  const TQuilClientDataSet& list = CDSSelectIngModuleVar;
  for (CDSSelectIngModuleVar.First(); !CDSSelectIngModuleVar.Eof(); CDSSelectIngModuleVar.Next()) {
    lines.push_back(Format(
        "%d=%s %s (%s - %s)", list.FieldByName("IMV_ID").AsInteger(),
        list.FieldByName("VOM_CODE").AsString(), list.FieldByName("VOM_OMSCHRIJVING").AsString(),
        Text(list.FieldByName("IMV_LESVAN")), Text(list.FieldByName("IMV_LESTOT"))));
  }
}

void TVWOKlasLesmomentenForm::ABerekenAfstandsLesmomentenExecute() {
  // Once per lesson: a module variant with several lessons is counted as often.
  DisableControlsGuard quiet(CDSLessen);
  BookmarkGuard back(CDSLessen);
  TField& id = CDSLessen.FieldByName("VWL_INGMODULEVARIANT_FK");
  for (CDSLessen.First(); !CDSLessen.Eof(); CDSLessen.Next()) {
    JobData data;
    data.values = {Variant(id.AsInteger())};
    ExecuteJob(368, -1, data);
  }
}

namespace Frmvwoklaslesmomenten {

void Initialization() {
  RegisterLessenScreen(kClassName, FactoryOf<TVWOKlasLesmomentenForm>());
}

}  // namespace Frmvwoklaslesmomenten

}  // namespace kavel
