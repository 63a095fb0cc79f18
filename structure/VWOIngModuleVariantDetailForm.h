// TVWOIngModuleVariantDetailForm: what the three detail screens of an organised module variant
// share. Their lines are one record type ("M" materials, "E" attainment targets, "C"
// competences) of the module variant's detail lines, a detail of the module variant list's
// current record (parameter IMV_ID); the record type is the provider's fixed second parameter.
//
// A new line takes its module variant and its record type from the parameters, quantity 1 and no
// flags, also on the screens that show neither. Without a module variant from the master the
// list stays empty and nothing can be added to it.
//
// The screen owns its datasets and controls; it lives on the session's UI thread.
#pragma once

#include <string>

#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOIngModuleVariantDetailForm : public quil::TQuilDBForm {
 public:
  //! `name` names the dataset (CDS...) and its data source (DS...).
  TVWOIngModuleVariantDetailForm(quil::TQuilApplication& app, std::string className,
                                 const std::string& name, const std::string& provider,
                                 const char* recordType);

  quil::TQuilClientDataSet& CDSDetails;
  quil::TDataSource& DSDetails;

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormCanInsert(quil::TQuilClientDataSet& dataset, bool& allow) override;

 private:
  void CDSDetailsNewRecord();
};

}  // namespace kavel
