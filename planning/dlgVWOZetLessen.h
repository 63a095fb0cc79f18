// TVWOZetLessenForm: changes or removes, in one operation, the existing lessons of one or more
// organised module variants that fall in a period, optionally only on chosen weekdays and only
// every other week.
//
// The lesson lists of a module variant and of a class open it modally over their own lesson
// dataset; the dialog works on that dataset in memory (SetLessen) and the caller posts, applies
// and, when the times-changed flag is set, has the lesson days recomputed. Created per use and
// freed by its caller.
#pragma once

#include <string>
#include <vector>

#include "host/base/DateTime.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOZetLessenForm : public quil::TQuilForm {
 public:
  explicit TVWOZetLessenForm(quil::TQuilApplication& app);

  //! The module variants: lines "IMV_ID=text shown in the check list". Set before SetDS(2, ...).
  void SetIMVIDS(const std::vector<std::string>& lines);
  const std::vector<std::string>& GetIMVIDS() const { return imvIds_; }
  //! 0 = staff list (teacher search), 1 = room list, 2 = the lessons, 3 = lesson place list.
  void SetDS(int kind, quil::TDataSource* source);
  quil::TDataSource* GetDS(int kind) const;
  //! 0 = teacher, 1 = room, 2 = lesson place; -1 = none chosen.
  void SetID(int kind, int id);
  //! The chosen id of the kind (-1 when none); `otherwise` for an unknown kind.
  int GetID(int kind, int otherwise = -1) const;
  //! 0 = start time, 1 = end time, as "hh:nn".
  void SetUur(int kind, const std::string& time);
  std::string GetUur(int kind) const;
  void SetPeriode(quil::TDateTime van, quil::TDateTime tot);
  quil::TDateTime Van() const { return DEVan.Date(); }
  quil::TDateTime Tot() const { return DETot.Date(); }

  //! Removes or changes the selected lessons of `lessons` between van and tot (inclusive).
  void SetLessen(quil::TQuilClientDataSet& lessons, quil::TDateTime van, quil::TDateTime tot);
  //! Set by SetLessen when it changed the times of lessons.
  bool TimesChanged() const { return timesChanged_; }

  // Controls, in the order the dialog shows them; value controls carry their label as Caption.
  quil::TGroupBox& GBPeriode;
  quil::TGroupBox& GBDagen;
  quil::TGroupBox& GBModulevarianten;
  quil::TGroupBox& GBWijzigen;
  quil::TPanel& PKnoppen;
  quil::TDateEdit& DEVan;
  quil::TDateEdit& DETot;
  quil::TCheckBox& CBEnkelLessenOp;
  std::vector<quil::TCheckBox*> CBDagen;  //!< "Maandag" .. "Zondag"
  quil::TCheckBox& CBTweewekelijks;
  quil::TCheckListBox& CLBModulevarianten;
  quil::TCheckBox& CBLesgeverWijzigen;
  quil::TSearchControl& SCLesgever;
  quil::TCheckBox& CBLesplaatsWijzigen;
  quil::TLookupCombo& LCLesplaats;
  quil::TCheckBox& CBLokaalWijzigen;
  quil::TLookupCombo& LCLokaal;
  quil::TCheckBox& CBUrenWijzigen;
  quil::TTimeEdit& TEVanUur;
  quil::TTimeEdit& TETotUur;
  quil::TEdit& EPauze;
  quil::TEdit& ELestijden;
  quil::TCheckBox& CBAfstandsWijzigen;
  quil::TCheckBox& CBAfstandsLesmoment;
  quil::TCheckBox& CBGeenStandaardWijzigen;
  quil::TCheckBox& CBGeenStandaardLes;
  quil::TCheckBox& CBVervaltWijzigen;
  quil::TCheckBox& CBVervalt;
  quil::TCheckBox& CBBuitenschoolsWijzigen;
  quil::TCheckBox& CBBuitenschools;
  quil::TCheckBox& CBEnkelLestijden;
  quil::TEdit& EEnkelLestijden;
  quil::TCheckBox& CBVerwijderen;
  quil::TButton& BOK;
  quil::TButton& BCancel;

 private:
  void EnkelLessenOpClick();
  void DagClick();
  void UpdateEnabling();
  void VanUurChange();
  void RecomputeLestijden();
  void OKClick();
  void ValidateOK();
  bool AnyWijzigen() const;
  bool BuitenschoolsGezet() const;
  std::vector<int> TickedModuleVariants() const;
  bool Selected(quil::TDateTime datum, quil::TDateTime van, quil::TDateTime tot) const;
  void ChangeLesson(quil::TQuilClientDataSet& lessons);

  std::vector<std::string> imvIds_;
  quil::TDataSource* sources_[4] = {nullptr, nullptr, nullptr, nullptr};
  bool timesChanged_ = false;
};

namespace dlgVWOZetLessen {

//! Declares the dialog to the module, as the lesson lists of a module variant and of a class
//! open it.
void Initialization();

}  // namespace dlgVWOZetLessen

}  // namespace kavel
