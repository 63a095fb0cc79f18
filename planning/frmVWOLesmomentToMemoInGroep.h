// TVWOLesmomentenToMemoInGroepForm: the lesson moments of many classes into their class memos.
//
// The user chooses an institution, loads the classes of its school that run in the working
// year ("O&phalen"), ticks classes and converts ("Aanma&ken"): job 328 runs once per ticked class
// (job id -1) while a progress bar advances, and the screen reports how many classes it
// converted. "&Leegmaken" forgets the institution and the classes. The choice of classes is the
// one the class job screens share (TKlasSelectie).
#pragma once

#include "host/forms/KlasSelectie.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOLesmomentenToMemoInGroepForm : public quil::TQuilDBForm {
 public:
  explicit TVWOLesmomentenToMemoInGroepForm(quil::TQuilApplication& app);

  quil::TPanel& PnlSelectie;
  quil::TPanel& PnlKlassen;
  quil::TKlasSelectie Selectie;
  quil::TAction& APrepare;
  quil::TAction& AExecute;
  quil::TAction& AClear;

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;

 private:
  void PrepareExecute();
  void ExecuteExecute();
};

namespace frmVWOLesmomentToMemoInGroep {
void Initialization();
}

}  // namespace kavel
