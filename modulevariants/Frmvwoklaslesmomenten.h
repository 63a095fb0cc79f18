// TVWOKlasLesmomentenForm: the lesson moments (VWOLES) of a class, across all its organised module
// variants.
//
// A detail screen of the class list (form link "Lessen"), built on the lesson list it shares with
// the lessons of one module variant (TVWOLessenBaseForm). What differs: the user chooses a new
// lesson's module variant among the class's ("&Ing. mod. var") and cannot change it once the
// lesson is stored; the checks read the dates of the lesson's own module variant from a local
// copy of the class's module variant list (so looking one up never moves the list the card and
// the dialogs show); a cancelled module variant only keeps its later lessons from being changed;
// the set-lessons dialog gets every module variant of the lessons, once, in the order the lessons
// show them; the calendar dialog offers the module variant; job 368 runs once per lesson; the
// month view's editor offers the module variants; the status line names the class.
#pragma once

#include <string>
#include <vector>

#include "modulevariants/VWOLessenBase.h"

namespace kavel {

class TVWOKlasLesmomentenForm : public TVWOLessenBaseForm {
 public:
  explicit TVWOKlasLesmomentenForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSKlasLesMomenten;  //!< the lesson list (CDSLessen)
  quil::TDataSource& DSKlasLesmomenten;          //!< its data source (DSLessen)
  quil::TQuilClientDataSet& CDSSelectIngModuleVar;
  quil::TQuilClientDataSet& CDSCopyIngModuleVar;
  quil::TDataSource& DSSelectIngModuleVar;
  quil::TDBLookupCombo& LCIngModuleVar;
  quil::TAction& ACheckLestijden;   //!< ACheckLesTijden
  quil::TAction& AAddFromKalendar;  //!< AAddFromKalender

  //! Set by the first opening of a list while the month view is shown.
  bool KalenderLatch() const { return kalenderLatch_; }

  void QuilDBFormCreate() override;

 protected:
  TModuleVariantDates ModuleVariantOf(int id) const override;
  void SetModuleVariantMaster(quil::TDataSource* master) override;
  void BeforeOpenLessons() override;
  void CalcLessonFields() override;
  std::vector<std::string> SetLessenModuleVariants() override;
  void PrepareKalender(TVWOLesmomentUitKalenderForm& dialog) override;
  int NewMomentModuleVariant() override;
  void PrepareLesMomentEditor() override;
  void ABerekenAfstandsLesmomentenExecute() override;

 private:
  //! Positions the copy on module variant `id`; false when the class has none such.
  bool LocateCopy(int id) const;
  //! "VOM_CODE VOM_OMSCHRIJVING (IMV_VAN - IMV_TOT)" of module variant `id`, "" when unknown.
  std::string MomentOmschrijving(int id) const;
  void ListOpened();
  void ModuleVariantValidate(quil::TField& field);

  quil::TField* klasCode_ = nullptr;
  quil::TField* klasOmschrijving_ = nullptr;
  bool kalenderLatch_ = false;
};

namespace Frmvwoklaslesmomenten {

void Initialization();

}  // namespace Frmvwoklaslesmomenten

}  // namespace kavel
