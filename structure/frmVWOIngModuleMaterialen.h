// TVWOIngModuleMaterialenForm: the materials a pupil needs for one organised module variant.
// On one side the institution's materials, on the other the module variant's material lines
// (detail lines of record type "M", TVWOIngModuleVariantDetailForm) with their quantity and
// flags. Adding a material makes a line with its description, its price as cost price and the
// material itself (TRecSelectionManager); a line whose cost price is cleared is stored with 0.
//
// The materials come from the master data source that has IS_ID. The payment group stays in
// the record but is not shown.
//
// The screen owns its datasets, controls and selection manager; it lives on the session's UI
// thread.
#pragma once

#include "host/data/CachedClientDataSet.h"
#include "host/domain/RecSelectionManager.h"
#include "structure/VWOIngModuleVariantDetailForm.h"

namespace kavel {

class TVWOIngModuleMaterialenForm : public TVWOIngModuleVariantDetailForm {
 public:
  explicit TVWOIngModuleMaterialenForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSSelectMateriaal;
  quil::TQuilParamClientDataset& CDSMateriaalGroep;
  quil::TDataSource& DSSelectMateriaal;
  quil::TDataSource& DSMateriaalGroep;

  quil::TSelectionPanel& PnlSelectie;
  quil::TPanel& PnlBeschikbaar;
  quil::TDBGrid& GridMaterialen;
  quil::TButton& BtnAdd;
  quil::TButton& BtnDelete;
  quil::TPanel& PnlBenodigd;
  quil::TDBGrid& GridDetails;
  quil::TPanel& PnlKaart;
  quil::TDBEdit& EdtAantal;
  quil::TDBEdit& EdtKostprijs;
  quil::TDBCheckBox& CBAankoopVerplicht;
  quil::TDBCheckBox& CBNietAutomatisch;
  quil::TDBLookupCombo& LCMateriaalGroep;

  quil::TAction& AAdd;
  quil::TAction& ADelete;

  quil::TRecSelectionManager& Selection() { return selection_; }

  void QuilDBFormCreate() override;
  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormGetPrintParams(const std::string& reportFile, quil::TPrintParams& params) override;

 private:
  void AAddExecute();
  void AAddUpdate();
  void ADeleteExecute();
  void ADeleteUpdate();
  void CDSDetailsBeforePost();

  quil::TRecSelectionManager selection_;
};

namespace frmVWOIngModuleMaterialen {
void Initialization();
}

}  // namespace kavel
