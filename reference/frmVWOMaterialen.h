// TVWOMaterialenForm: the lesson materials of one institution, with their price, whether they
// are charged once per enrolment, whether they are active, and the general ledger account they
// are booked on.
//
// The materials are a detail of the institution browser's current record (parameter IS_ID). The
// account list opens before them. Whether the site books materials on accounts is the database
// parameter "ALGEMENEREKENINGEN", read once when the data module is initialised: without it the
// account editor and column are hidden and no account is demanded.
//
// The screen owns its datasets and controls; it lives on the session's UI thread.
#pragma once

#include "host/data/CachedClientDataSet.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOMaterialenForm : public quil::TQuilDBForm {
 public:
  explicit TVWOMaterialenForm(quil::TQuilApplication& app);

  //! The site books materials on general ledger accounts.
  bool AlgemeneRekeningen() const { return algemeneRekeningen_; }

  quil::TQuilParamClientDataset& CDSAlgemeneRekeningen;
  quil::TQuilClientDataSet& CDSVWOMaterialen;
  quil::TDataSource& DSAlgemeneRekeningen;
  quil::TDataSource& DSVWOMaterialen;

  quil::TDBGrid& GridMaterialen;
  quil::TPanel& PnlDetail;
  quil::TDBEdit& EdtCode;
  quil::TDBEdit& EdtOmschrijving;
  quil::TDBEdit& EdtPrijs;
  quil::TDBCheckBox& CBEenmaalAanrekenen;
  quil::TDBCheckBox& CBActief;
  quil::TDBLookupCombo& LCAlgemeneRekening;
  quil::TDBEdit& EdtWebtekst;

  void QuilDBFormInitDataModule() override;
  void QuilDBFormCreate() override;
  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;

 private:
  void CDSVWOMaterialenNewRecord();
  void CDSVWOMaterialenBeforePost();
  quil::TColumn& RekeningColumn();

  bool algemeneRekeningen_ = false;
};

namespace frmVWOMaterialen {
void Initialization();
}

}  // namespace kavel
