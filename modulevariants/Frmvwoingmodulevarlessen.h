// TVWOIngModuleVarLessenForm: the lesson moments (VWOLES) of one organised module variant.
//
// A detail screen of the module variant list (form link "Lessen"), built on the lesson list that
// the class's lesson list shares (TVWOLessenBaseForm). What it adds: the module variant is its
// master's, so a new lesson takes it from the parameter IMV_ID and the checks read the master's
// dates; a cancelled module variant offers no calendar, no set-lessons dialog and no new items in
// the month view; the status line names the module variant; the room shows with its code; job 325
// writes the Doc 3B information and job 368 counts the distance lesson times of the module
// variant once.
#pragma once

#include <string>
#include <vector>

#include "modulevariants/VWOLessenBase.h"

namespace kavel {

class TVWOIngModuleVarLessenForm : public TVWOLessenBaseForm {
 public:
  explicit TVWOIngModuleVarLessenForm(quil::TQuilApplication& app);

  quil::TAction& ADoc3BInfoUitLesmomenten;

 protected:
  TModuleVariantDates ModuleVariantOf(int id) const override;
  void SetModuleVariantMaster(quil::TDataSource* master) override;
  void CalcLessonFields() override;
  bool MayAddLessons() const override;
  std::vector<std::string> SetLessenModuleVariants() override;
  void PrepareKalender(TVWOLesmomentUitKalenderForm& dialog) override;
  int NewMomentModuleVariant() override;
  void ABerekenAfstandsLesmomentenExecute() override;

 private:
  bool Afgelast() const;
  void ADoc3BInfoUitLesmomentenExecute();

  // The master module variant's fields.
  quil::TField* imvVan_ = nullptr;
  quil::TField* imvTot_ = nullptr;
  quil::TField* afgelastOp_ = nullptr;
  quil::TField* imvOmschrijving_ = nullptr;
  quil::TField* vmvCode_ = nullptr;
  quil::TField* vomOmschrijving_ = nullptr;
  quil::TField* lesVan_ = nullptr;
  quil::TField* lesTot_ = nullptr;
};

namespace Frmvwoingmodulevarlessen {

void Initialization();

}  // namespace Frmvwoingmodulevarlessen

}  // namespace kavel
