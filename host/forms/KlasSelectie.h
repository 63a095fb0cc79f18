// TKlasSelectie: the choice of classes that the screens working on many classes at once share.
//
// The user chooses an institution ("Instelling", from the institution list the screen is opened
// from, or the screen's own list when it has no such master), loads the classes of the
// institution's school that run in a period, ticks the classes to work on ("Selecteer &alles",
// "Selecteer &niets" tick or untick all of them) and starts the work, which runs once per ticked
// class in the list's order while a progress bar advances.
//
// The screen owns one, built in its constructor; it creates its controls, datasets and actions
// on the screen under the names below, so every screen of the kind reads the same. The screen
// keeps its own actions (load, run, clear) and says with UpdateMainButton which of load and run
// the main button offers: run once the loaded list has classes, else load. The ticks live in the
// check list, one item per class in the list's order; they are never stored. Belongs to its
// screen; UI thread only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/base/DateTime.h"
#include "host/forms/QuilForm.h"

namespace quil {

class TKlasSelectie {
 public:
  //! Creates the controls on `form`: the institution field under `selection`, the class list,
  //! its buttons and the progress bar under `list` (nullptr: the form itself).
  TKlasSelectie(TQuilDBForm& form, TControl* selection, TControl* list);

  //! The institutions: the screen's own list (provider "DSPBrowseOSPInstellingen"), opened only
  //! when the master offers none.
  TQuilClientDataSet& CDSBrowseVWOinstelling;
  TDataSource& DSBrowseVWOinstelling;
  //! The classes (provider "DSPBrowseVWOKlas": SC_ID, BeginDatum, EindDatum); closed until loaded.
  TQuilClientDataSet& CDSSelectKlassen;
  TDataSource& DSSelectKlassen;
  TLookupCombo& LCInstelling;
  //! The buttons above the class list: the main button, the screen's own, select all/nothing.
  TPanel& PnlKnoppen;
  TButton& BMain;
  TCheckListBox& CLBKlassen;
  //! Shown only while the work runs.
  TProgressBar& PBVoortgang;
  TAction& ASelectAll;
  TAction& ASelectNothing;

  //! Runs after the user chose another institution (the ids are set already).
  std::function<void()> OnInstellingChange;

  //! The institution list of the master when it has one (IS_ID and SC_ID); else the own list is
  //! opened. Called from the screen's QuilDBFormSetMasterBrowser.
  void SetMaster(TDataSource* master);

  //! -1 until an institution is chosen.
  int InstellingID() const { return instellingId_; }
  int SchoolID() const { return schoolId_; }

  //! Loads the classes of the chosen institution's school that run in the period (any overlap),
  //! none ticked.
  void Load(TDateTime begin, TDateTime end);
  //! Closes the class list; its items go.
  void CloseList();
  //! The class list is open.
  bool ListOpen() const;
  //! The class list is open and has classes.
  bool HasClasses() const;
  //! The ids of the ticked classes, in the list's order.
  std::vector<int> TickedIDs() const;
  int TickedCount() const;

  //! Runs `job` for each id in order with the progress bar shown (maximum: the number of ids);
  //! the bar is hidden again on every path. A failure for one class stops the run with the
  //! class's code, what went wrong and how many classes were done before it.
  void RunPerClass(const std::vector<int>& ids, const std::function<void(int id)>& job);

  //! No institution, an empty institution field, the class list closed.
  void Reset();
  //! The main button offers `execute` while the list has classes, else `prepare`.
  void UpdateMainButton(TAction& prepare, TAction& execute);

 private:
  void InstellingChange();
  void TickAll(bool ticked);
  std::string KlasCode(int id);

  TQuilDBForm& form_;
  int instellingId_ = -1;
  int schoolId_ = -1;
  //! VWK_ID of each item of the check list, in its order.
  std::vector<int> ids_;
};

}  // namespace quil
