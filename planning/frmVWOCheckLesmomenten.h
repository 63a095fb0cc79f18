// TVWOCheckAantalLesmomentenForm: for one institution, the organised module variants of the
// classes that start in a period, with their planned and required lesson times and the
// percentage reached.
//
// The server lists the rows (job 320, the screen's own job id); the screen shows them in
// CDSResultaat ("DSPBrowseVWOCheckLestijden", parameter JOBID). A row below 92 percent is red,
// one above 100 percent orange, the bounds of the lesson-time check; the current row keeps the
// grid's highlight. Fetching again cleans the earlier rows first and reuses the id; closing the
// screen cleans them.
//
// The institution is chosen from the list of the master browser. The screen owns its datasets
// and controls; it lives on the session's UI thread.
#pragma once

#include "host/forms/DBControls.h"
#include "host/forms/JobWithRows.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOCheckAantalLesmomentenForm : public quil::TQuilDBForm {
 public:
  explicit TVWOCheckAantalLesmomentenForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSResultaat;
  quil::TDataSource& DSResultaat;

  quil::TPanel& PnlSelectie;
  quil::TLookupCombo& LCInstelling;
  quil::TDateEdit& DEBegin;
  quil::TDateEdit& DEEinde;
  quil::TButton& BtnOphalen;
  quil::TDBGrid& GridResultaat;

  quil::TAction& AFetch;

  //! The chosen institution; -1 until one is chosen.
  int InstellingID() const { return instellingId_; }
  //! The screen's job id; -1 before the first fetch.
  int JobID() const { return job_.JobID(); }

  void QuilDBFormCreate() override;
  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormGetPrintParams(const std::string& reportFile, quil::TPrintParams& params) override;

 private:
  void LCInstellingChange();
  void AFetchExecute();
  void AFetchUpdate();
  void CDSResultaatCalcFields();

  int instellingId_ = -1;
  quil::TJobWithRows job_;
};

namespace frmVWOCheckLesmomenten {
void Initialization();
}

}  // namespace kavel
