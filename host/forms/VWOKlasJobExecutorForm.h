// TVWOKlasJobExecutorForm: the base of the screens that run one server job per class.
//
// The user chooses an institution ("Instelling") and a period ("Van", "Tot", preset to the school
// year of the working date), loads the classes of the institution's school that run in the period
// ("O&phalen"), ticks the classes and runs ("&Uitvoeren"): the job runs once per ticked class, in
// the list's order, with the screen's own job id, while a progress bar advances; then the screen
// says how many classes it ran for. "&Leegmaken" forgets the institution and the loaded classes.
// Choosing another institution or period closes a loaded list, which then has to be loaded again.
//
// A screen derives from it and supplies the job type (GetJobtype), the job data for the class
// being processed (MakeJobData, with KlasID), the condition under which the run is allowed
// besides ticked classes (AllowExecute) and what its clear does besides the base's (DoClear,
// calling the base's). Its own options go on PnlOpties, its own buttons on
// Selectie.PnlKnoppen. The choice of classes is a TKlasSelectie (KlasSelectie.h).
#pragma once

#include <string>

#include "host/data/Packet.h"
#include "host/forms/KlasSelectie.h"
#include "host/forms/QuilForm.h"

namespace quil {

class TVWOKlasJobExecutorForm : public TQuilDBForm {
 public:
  TVWOKlasJobExecutorForm(TQuilApplication& app, std::string className);

  TPanel& PnlSelectie;
  TDateEdit& EdtVan;
  TDateEdit& EdtTot;
  TPanel& PnlOpties;
  TPanel& PnlKlassen;
  TKlasSelectie Selectie;
  TAction& APrepare;
  TAction& AExecute;
  TAction& AClear;

  //! The class the run is processing; -1 outside a run.
  int KlasID() const { return klasId_; }

  void QuilDBFormSetMasterBrowser(TDataSource* master) override;

 protected:
  virtual int GetJobtype() = 0;
  //! The job data for the class KlasID().
  virtual JobData MakeJobData() = 0;
  //! The screen's own condition to run; the base also needs a ticked class.
  virtual bool AllowExecute() { return true; }
  //! Forgets the institution and the classes; a screen that overrides it calls it.
  virtual void DoClear();

 private:
  void PrepareExecute();
  void ExecuteExecute();
  void PeriodeChange();

  int klasId_ = -1;
};

}  // namespace quil
