// TVWOVerwerkLesmomentenForm: values derived from the lesson moments, recomputed per class.
//
// Running sends job 316 once per ticked class with the values ticked: the lesson times counted
// (optionally only from the lessons up to a date), the registration moment, the distance lesson
// times (not offered) and the lesson days. The run needs at least one of them, and a date when
// "Lesmomenten tot volgende datum gebruiken" is ticked; that box is offered only while the lesson
// times are counted.
#pragma once

#include "host/forms/VWOKlasJobExecutorForm.h"

namespace kavel {

class TVWOVerwerkLesmomentenForm : public quil::TVWOKlasJobExecutorForm {
 public:
  explicit TVWOVerwerkLesmomentenForm(quil::TQuilApplication& app);

  quil::TCheckBox& CBTotDatum;
  quil::TDateEdit& EdtTotDatum;
  quil::TCheckBox& CBAantalLestijden;
  quil::TCheckBox& CBRegistratiemoment;
  quil::TCheckBox& CBAfstandsonderwijs;
  quil::TCheckBox& CBLesdagen;

  //! The options of job 316 (docs/jobs.md) as ticked.
  int Opties() const;

 protected:
  int GetJobtype() override;
  quil::JobData MakeJobData() override;
  bool AllowExecute() override;

 private:
  //! Keeps the date box and the date field in step with what they depend on.
  void UpdateTotDatum();
};

namespace frmVWOVerwerkLesmomenten {
void Initialization();
}

}  // namespace kavel
