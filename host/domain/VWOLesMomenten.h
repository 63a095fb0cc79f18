// The lesson moments of a lesson list as a collection the month view works on, and the editor
// that shows and edits one moment.
//
// TVWOLEsMomenten reads every record of a lesson dataset (table VWOLES) into moments
// (LoadFromDataSet); the month view changes, adds and deletes moments, and SaveToDataSet writes
// the new, changed and deleted ones back as records of that dataset (appended, edited by VWL_ID,
// deleted), posting each record, so the dataset's own checks run for every one. Moments are held
// by pointer: a reference to a moment stays valid while moments are added.
//
// TVWOLesMomentEditor gives a month-view item the look and text of its moment and edits a moment
// in a modal dialog (TVWOLesMomentDialog, caption "Lesmoment") over the screen's lists of
// teachers, rooms and lesson places; a screen whose lessons belong to several module variants
// also gives it their list, and the dialog then offers the module variant. The collection, the
// editor and the dialog belong to one screen of one session; they are used on its UI thread only.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "host/base/Currency.h"
#include "host/base/DateTime.h"
#include "host/forms/Controls.h"
#include "host/forms/QuilForm.h"

namespace quil {

//! The values of one lesson moment; ids are -1 when empty.
struct TVWOLesMomentWaarden {
  int ModuleVariant = -1;  //!< VWL_INGMODULEVARIANT_FK
  TDateTime Datum;         //!< VWL_DATUM
  TDateTime VanUur;        //!< VWL_VANUUR, time of day
  TDateTime TotUur;        //!< VWL_TOTUUR, time of day
  Currency Lesuren;        //!< VWL_LESUREN, lesson times of 50 minutes
  int Lokaal = -1;         //!< VWL_LOKAAL_FK
  int Lesplaats = -1;      //!< VWL_LESPLAATS_FK
  int Lesgever = -1;       //!< VWL_LESGEVER_FK
  int Flags = 0;           //!< VWL_FLAGS
  std::string LesgeverCode, LesgeverNaam, LesgeverVoornaam;  //!< PS_CODE, PS_NAAM, PS_VOORNAAM

  bool operator==(const TVWOLesMomentWaarden&) const = default;
};

class TVWOLesMoment {
 public:
  enum class TState { Unchanged, New, Changed, Deleted };

  //! VWL_ID of a stored moment; -1 for a new one.
  int ID() const { return id_; }
  TState State() const { return state_; }
  bool IsDeleted() const { return state_ == TState::Deleted; }
  bool IsNew() const { return isNew_; }
  const TVWOLesMomentWaarden& Waarden() const { return waarden_; }
  //! Takes the values; a stored moment whose values differ is marked changed.
  void SetWaarden(const TVWOLesMomentWaarden& waarden);
  //! Marks the moment deleted: a new one is then not written at all.
  void Delete();
  //! The module variant's description, from the collection's callback.
  std::string ModuleVariantOmschrijving;

 private:
  friend class TVWOLEsMomenten;
  int id_ = -1;
  bool isNew_ = false;
  TState state_ = TState::Unchanged;
  TVWOLesMomentWaarden waarden_;
};

class TVWOLEsMomenten {
 public:
  //! The description of a module variant by its id ("" when unknown).
  std::function<std::string(int moduleVariant)> OnModuleVariantOmschrijving;

  //! Reads every record of the dataset (all of them, whatever the filter) into moments; the
  //! former moments go.
  void LoadFromDataSet(TQuilClientDataSet& lessons);
  //! Writes the new, changed and deleted moments into the dataset, then holds them as unchanged
  //! (new ones with their dataset's id). A failure leaves the moments as they were.
  void SaveToDataSet(TQuilClientDataSet& lessons);
  //! A new moment, marked new, on no day yet.
  TVWOLesMoment& Add();
  TVWOLesMoment& GetLesMoment(int index) { return *moments_.at(static_cast<size_t>(index)); }
  int Count() const { return static_cast<int>(moments_.size()); }
  void Clear() { moments_.clear(); }
  //! Moments to write: new, changed or deleted.
  int PendingCount() const;

 private:
  std::vector<std::unique_ptr<TVWOLesMoment>> moments_;
};

//! Makes `search` the teacher choice of a lesson: a staff member (PS_ID) searched on code, surname
//! and first name, shown with `listFields` (";"-separated).
void SetTeacherSearch(TSearchControl& search, std::string listFields);

//! The modal dialog in which the editor edits one moment: every value is offered by a control.
//! OK refuses an end before the start and lesson times that are no amount.
class TVWOLesMomentDialog : public TQuilForm {
 public:
  explicit TVWOLesMomentDialog(TQuilApplication& app);

  //! 0 = teachers (PS_ID, PS_CODE, PS_NAAM, PS_VOORNAAM), 1 = rooms (LK_ID, LK_CODE,
  //! LK_OMSCHRIJVING), 2 = lesson places (VLP_ID, VLP_NUMMER, VLP_OMSCHRIJVING).
  void SetDS(int kind, TDataSource* source);
  //! The module variants offered, lines "IMV_ID=description"; none hides the choice. Set before
  //! SetWaarden.
  void SetModuleVarianten(const std::vector<std::string>& lines);
  void SetWaarden(const TVWOLesMomentWaarden& waarden);
  //! The values as the controls show them, on the values given (ids and names the dialog does
  //! not show stay).
  TVWOLesMomentWaarden Waarden() const;

  TDateEdit& DEDatum;
  TTimeEdit& TEVanUur;
  TTimeEdit& TETotUur;
  TEdit& ELestijden;
  TSearchControl& SCLesgever;
  TLookupCombo& LCLokaal;
  TLookupCombo& LCLesplaats;
  TComboBox& CBModuleVariant;
  std::vector<TCheckBox*> CBFlags;  //!< bits 0..4 of VWL_FLAGS
  TButton& BOK;
  TButton& BCancel;

 private:
  void UurChange();
  void OKClick();

  TDataSource* sources_[3] = {nullptr, nullptr, nullptr};
  std::vector<int> moduleVarianten_;  //!< the ids of CBModuleVariant's items
  TVWOLesMomentWaarden given_;
};

//! Makes the dialog; a screen that declares the dialog to its host creates it the same way.
using TVWOLesMomentDialogFactory = std::function<std::unique_ptr<TVWOLesMomentDialog>()>;

class TVWOLesMomentEditor {
 public:
  std::string Caption = "Lesmoment";
  //! The lists the dialog offers (TVWOLesMomentDialog::SetDS).
  TDataSource* Lesgevers = nullptr;
  TDataSource* Lokalen = nullptr;
  TDataSource* Lesplaatsen = nullptr;
  //! The module variants the dialog offers, lines "IMV_ID=description"; empty: not offered.
  std::vector<std::string> ModuleVarianten;
  TVWOLesMomentDialogFactory CreateDialog;

  //! Gives the item the day, caption ("18:30 - 21:30"), lines (lesson times, teacher, room,
  //! place) and colour of the moment: grey for a lesson that lapses, light blue for a distance
  //! moment, green for an out-of-school activity.
  void SetPlannerItemProps(TPlanner::Item& item, const TVWOLesMoment& moment) const;
  //! Edits the moment of the planner's item in the dialog; OK takes the values into the moment
  //! and the item. Returns whether the dialog was closed with OK.
  bool Edit(TPlanner& planner, int itemIndex, TVWOLesMoment& moment);

 private:
  std::string LookupText(TDataSource* source, const char* key, int id,
                         std::initializer_list<const char*> fields) const;
};

}  // namespace quil
