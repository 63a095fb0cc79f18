// TVWOKlasLesMomentenUitReceptForm: lesson moments for many classes from one lesson recipe.
//
// "&Recept..." asks for the recipe, its options and its period with the recipe dialog (which
// only collects them here); running sends job 313 once per ticked class with that recipe for
// every organised module variant of the class. Cancelling the dialog forgets a recipe chosen
// earlier; without a recipe the screen cannot run, and clearing the screen forgets it too.
#pragma once

#include <memory>
#include <string>

#include "host/forms/VWOKlasJobExecutorForm.h"

namespace kavel {

class TVWOLesUitReceptDialoog;

class TVWOKlasLesMomentenUitReceptForm : public quil::TVWOKlasJobExecutorForm {
 public:
  explicit TVWOKlasLesMomentenUitReceptForm(quil::TQuilApplication& app);

  quil::TLabel& LRecept;
  quil::TAction& ARecept;

  //! The recipe as job 313 reads it (LesmomentAsString); "" when none is chosen.
  const std::string& ReceptTekst() const { return receptTekst_; }
  int Opties() const { return opties_; }
  quil::TDateTime PeriodeVan() const { return periodeVan_; }
  quil::TDateTime PeriodeTot() const { return periodeTot_; }

  //! The recipe dialog as "&Recept..." shows it: no lists, no target, deferred, the period of
  //! "Van" and "Tot".
  std::unique_ptr<TVWOLesUitReceptDialoog> NewReceptDialog();

 protected:
  int GetJobtype() override;
  quil::JobData MakeJobData() override;
  bool AllowExecute() override;
  void DoClear() override;

 private:
  void AReceptExecute();
  void ShowRecept(int rows);
  //! No recipe: empty text, no options, both dates 0.
  void DoClearRecept();

  std::string receptTekst_;
  int opties_ = 0;
  quil::TDateTime periodeVan_;
  quil::TDateTime periodeTot_;
};

namespace frmVWOKlasLesmomentUitRecept {
void Initialization();
}

}  // namespace kavel
