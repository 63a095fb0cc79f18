#include "modulevariants/Frmvwoingmodulevarlessen.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"
#include "planning/dlgVWOLesmomentKalender.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kClassName = "TVWOIngModuleVarLessenForm";

constexpr TVWOLessenNames kNames{.className = kClassName,
                                 .lessons = "CDSLessen",
                                 .lessonsProvider = "DSPVWOIngModuleVarLessen",
                                 .lessonsSource = "DSLessen",
                                 .lesTijdenProvider = "DSPVWOGetGeplandeIngModuleVarLestijden",
                                 .param = "IMV_ID",
                                 .checkAction = "ACheckLesTijden",
                                 .checkCaption = "&Lestijden nagaan",
                                 .kalenderAction = "AAddFromKalender",
                                 .kalenderCaption = "&Toevoegen uit kalender",
                                 .list = VWOLesList::ModuleVariant};

}  // namespace

TVWOIngModuleVarLessenForm::TVWOIngModuleVarLessenForm(TQuilApplication& app)
    : TVWOLessenBaseForm(app, kNames),
      ADoc3BInfoUitLesmomenten(AddAction(
          "ADoc3BInfoUitLesmomenten", "Doc 3B info updaten",
          [this] { ADoc3BInfoUitLesmomentenExecute(); },
          [this] { ADoc3BInfoUitLesmomenten.Enabled = Browsing() && !CDSLessen.IsEmpty(); })) {
  ADoc3BInfoUitLesmomenten.Category = "Acties";
  CDSLessen.ParamToFields = "IMV_ID=VWL_INGMODULEVARIANT_FK";
  CDSLessen.StatusFields = "VWL_MODULEVARIANT";
  DeclareFields(CDSLessen, {CalculatedField("VWL_MODULEVARIANT", "Ingerichte modulevariant",
                                            FieldType::String, 250),
                            CalculatedField("KL_LOKAAL", "Lokaal", FieldType::String, 80),
                            CalculatedField("KL_LOKAALCODE", "Lokaalcode", FieldType::String, 5)});
  GridLessen.Columns.push_back({"KL_LOKAALCODE", "", 6});
  GridLessen.Columns.push_back({"KL_LOKAAL", "", 20});
  LesMomenten().OnModuleVariantOmschrijving = [](int) { return std::string(); };
}

bool TVWOIngModuleVarLessenForm::Afgelast() const {
  return afgelastOp_ != nullptr && !afgelastOp_->IsNull();
}

bool TVWOIngModuleVarLessenForm::MayAddLessons() const {
  return !Afgelast();
}

TVWOLessenBaseForm::TModuleVariantDates TVWOIngModuleVarLessenForm::ModuleVariantOf(int id) const {
  // Every lesson of the list is of the master module variant.
  (void)id;
  TModuleVariantDates imv;
  imv.found = true;
  imv.van = MasterDate(imvVan_);
  imv.tot = MasterDate(imvTot_);
  imv.lesVan = MasterDate(lesVan_);
  imv.lesTot = MasterDate(lesTot_);
  imv.afgelast = Afgelast();
  imv.afgelastOp = MasterDate(afgelastOp_);
  return imv;
}

void TVWOIngModuleVarLessenForm::SetModuleVariantMaster(TDataSource* master) {
  TDataSource* imv = FindDataSourceWithField(master, "IMV_ID");
  if (imv == nullptr) RaiseClientError("Ingerichte modulevariant niet gevonden");
  imvVan_ = MasterField(imv, "IMV_VAN");
  imvTot_ = MasterField(imv, "IMV_TOT");
  afgelastOp_ = MasterField(imv, "IMV_AFGELASTOP");
  imvOmschrijving_ = MasterField(imv, "IMV_OMSCHRIJVING");
  vmvCode_ = MasterField(imv, "VMV_CODE");
  vomOmschrijving_ = MasterField(imv, "VOM_OMSCHRIJVING");
  lesVan_ = MasterField(imv, "IMV_LESVAN");
  lesTot_ = MasterField(imv, "IMV_LESTOT");
}

void TVWOIngModuleVarLessenForm::CalcLessonFields() {
  auto text = [](TField* field) { return field == nullptr ? std::string() : field->DisplayText(); };
  CDSLessen.FieldByName("VWL_MODULEVARIANT")
      .SetAsString(text(vmvCode_) + " - " + text(vomOmschrijving_) + " - " + text(lesVan_) + " - " +
                   text(lesTot_));
  TField& lokaal = CDSLessen.FieldByName("VWL_LOKAAL_FK");
  // A closed room list finds nothing.
  if (!lokaal.IsNull()) {
    const Variant omschrijving = CDSLokaal.Lookup("LK_ID", lokaal.Value(), "LK_OMSCHRIJVING");
    const Variant code = CDSLokaal.Lookup("LK_ID", lokaal.Value(), "LK_CODE");
    if (!omschrijving.IsNull()) {
      CDSLessen.FieldByName("KL_LOKAAL").SetAsString(omschrijving.AsString());
    }
    if (!code.IsNull()) {
      CDSLessen.FieldByName("KL_LOKAALCODE").SetAsString(code.AsString().substr(0, 5));
    }
  }
}

std::vector<std::string> TVWOIngModuleVarLessenForm::SetLessenModuleVariants() {
  return {CDSLessen.FieldByName("VWL_INGMODULEVARIANT_FK").AsString() + "=" +
          (imvOmschrijving_ == nullptr ? std::string() : imvOmschrijving_->AsString())};
}

void TVWOIngModuleVarLessenForm::PrepareKalender(TVWOLesmomentUitKalenderForm& dialog) {
  dialog.SetReferentieDatum(MasterDate(imvVan_));
  dialog.SetID(2, -1);
  if (!CDSLessen.IsEmpty()) {
    PresetFromLesson(dialog);
    return;
  }
  const int lesgever = HasMasterField("IMV_LESGEVER_FK") ? MasterInt("IMV_LESGEVER_FK") : 0;
  dialog.SetID(0, lesgever != 0 ? lesgever : -1);
  dialog.SetID(3, HasMasterField("IMV_LESPLAATS_FK") ? MasterInt("IMV_LESPLAATS_FK") : -1);
  dialog.SetID(1,
               HasMasterField("VWK_STANDAARDLOKAAL_FK") ? MasterInt("VWK_STANDAARDLOKAAL_FK") : -1);
}

int TVWOIngModuleVarLessenForm::NewMomentModuleVariant() {
  return CDSLessen.ParamByName("IMV_ID").AsInteger();
}

void TVWOIngModuleVarLessenForm::ADoc3BInfoUitLesmomentenExecute() {
  JobData data;
  data.values = {Variant(CDSLessen.ParamByName("IMV_ID").AsInteger())};
  ExecuteJob(325, -1, data);
}

void TVWOIngModuleVarLessenForm::ABerekenAfstandsLesmomentenExecute() {
  JobData data;
  data.values = {Variant(CDSLessen.ParamByName("IMV_ID").AsInteger())};
  ExecuteJob(368, -1, data);
}

namespace Frmvwoingmodulevarlessen {

void Initialization() {
  RegisterLessenScreen(kClassName, FactoryOf<TVWOIngModuleVarLessenForm>());
}

}  // namespace Frmvwoingmodulevarlessen

}  // namespace kavel
