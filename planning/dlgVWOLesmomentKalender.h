// TVWOLesmomentUitKalenderForm: creates lesson moments on days the user marks on a month calendar.
//
// The user sets the hours, pause, lesson times, teacher, room, lesson place, the out-of-school
// mark and (for a class) the organised module variant; each double click on a day marks it with a
// pending lesson carrying those values, a second one removes the mark. "Toevoegen" appends the
// pending lessons to the caller's lesson dataset in calendar order and posts them; the caller
// applies and refreshes. Closing with pending lessons asks whether to add them first.
//
// The lesson lists of a module variant and of a class create it per use, hand it their data
// sources, ids and hours and the reference date (which positions the calendar and starts the
// trimester count), show it modally and free it. Each pending lesson owns its TLesData.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/base/Currency.h"
#include "host/base/DateTime.h"
#include "host/forms/QuilForm.h"

namespace kavel {

//! The values a pending lesson carries; ids are -1 when none was chosen.
class TLesData {
 public:
  TLesData(int lesgever, int lokaal, int modulevariant, int lesplaats, quil::Currency lestijden,
           bool buitenschools)
      : Lesgever(lesgever),
        Lokaal(lokaal),
        Modulevariant(modulevariant),
        Lesplaats(lesplaats),
        Lestijden(lestijden),
        Buitenschools(buitenschools) {}

  const int Lesgever;
  const int Lokaal;
  const int Modulevariant;
  const int Lesplaats;
  const quil::Currency Lestijden;
  const bool Buitenschools;
};

class TVWOLesmomentUitKalenderForm : public quil::TQuilForm {
 public:
  explicit TVWOLesmomentUitKalenderForm(quil::TQuilApplication& app);

  //! 0 = teachers (PS_ID, PS_CODE, PS_VOORNAAM, PS_NAAM), 1 = rooms (LK_ID, LK_CODE,
  //! LK_OMSCHRIJVING), 2 = the lessons that receive the records, 3 = module variants (IMV_ID,
  //! VOM_CODE, VOM_OMSCHRIJVING, IMV_LESVAN, IMV_LESTOT), 4 = lesson places (VLP_ID, VLP_NUMMER,
  //! VLP_OMSCHRIJVING).
  void SetDS(int kind, quil::TDataSource* source);
  quil::TDataSource* GetDS(int kind) const;
  //! 0 = teacher, 1 = room, 2 = module variant, 3 = lesson place; -1 = none.
  void SetID(int kind, int id);
  //! The chosen id of the kind; `otherwise` for another kind.
  int GetID(int kind, int otherwise = -1) const;
  //! 0 = start, 1 = end, as "hh:nn"; recomputes the lesson times without checking the order.
  void SetUur(int kind, const std::string& time);
  std::string GetUur(int kind) const;
  //! Positions the calendar when shown and starts the trimester count.
  void SetReferentieDatum(quil::TDateTime date) { referentieDatum_ = date; }
  quil::TDateTime ReferentieDatum() const { return referentieDatum_; }

  //! The pending lessons, in the order they were marked.
  int PendingCount() const { return static_cast<int>(pending_.size()); }
  //! Writes the pending lessons as records (calendar order) and clears them.
  void Toevoegen();

  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;

  quil::TPlanner& PLKalender;
  quil::TTimeEdit& TEVanUur;
  quil::TTimeEdit& TETotUur;
  quil::TEdit& EPauze;
  quil::TEdit& ELestijden;
  quil::TSearchControl& SCLesgever;
  quil::TLookupCombo& LCLokaal;
  quil::TLookupCombo& LCLesplaats;
  quil::TLookupCombo& LCModulevariant;
  quil::TCheckBox& CBBuitenschools;
  quil::TAction& AToevoegen;
  quil::TButton& BToevoegen;
  quil::TButton& BSluiten;

 private:
  struct Pending {
    quil::TDateTime start, end;
    std::string caption;
    std::vector<std::string> lines;
    std::unique_ptr<TLesData> data;
  };

  void VanUurChange();
  void UurChange();
  void RecomputeLestijden();
  void LestijdenChange();
  void BuitenschoolsClick();
  void ModulevariantChange();
  void DayDblClick(quil::TDateTime day);
  void ItemDblClick(int index);
  void AddPending(quil::TDateTime day);
  void ShowPending();
  Pending& PendingOfItem(int index);

  quil::TDataSource* sources_[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
  quil::TDateTime referentieDatum_;
  std::vector<Pending> pending_;
};

namespace dlgVWOLesmomentKalender {

//! Declares the dialog to the host with the screens that open it.
void Initialization();

}  // namespace dlgVWOLesmomentKalender

}  // namespace kavel
