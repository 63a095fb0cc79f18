// TVWOVoorvereistenBaseForm: what the prerequisite screens of a module and of a module group
// share. On the left a page control with the modules ("Beschikbare m&odules", all of them or the
// organised ones, with a text filter) and the school's module groups ("Beschikbare &groepen",
// with a filter of their own); on the right the prerequisites of the module or group, official
// ones (no school) and the school's own, optionally only the latter. Adding from the modules page
// makes a prerequisite of the "required module" record type, from the groups page one of the
// "required group" type (TRecSelectionManager per page).
//
// The code, description and group type a prerequisite shows are looked up in copies of the two
// choice lists, taken each time a list opens: a required module the module list no longer holds
// (after "Alleen &ingerichte") shows without code and description.
//
// The screen owns its datasets, controls, filters and selection managers; it lives on the
// session's UI thread.
#pragma once

#include <string>

#include "host/domain/RecSelectionManager.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"
#include "structure/ListFilter.h"

namespace kavel {

//! How the two prerequisite screens differ.
struct TVoorvereistenSoort {
  const char* provider;
  const char* idParam;             //!< the module's or group's id parameter: VOM_ID, VMG_ID
  const char* requiredModuleType;  //!< "4" or "6"
  const char* requiredGroupType;   //!< "5" or "7"
  const char* groupFilterCaption;  //!< the caption of the group page's filter
  const char* groupFilterFormat;   //!< the group page's filter
  const char* masterCodeField;     //!< VOM_CODE, VMG_CODE
  const char* masterDescription;   //!< VOM_OMSCHRIJVING, VMG_OMSCHRIJVING
  const char* title;               //!< "V&oorvereisten voor module: "
  const char* titleWithId;         //!< "V&oorvereisten voor module met ID %d"
  bool onlyOwnRemovable;           //!< only prerequisites with a school can be removed
};

class TVWOVoorvereistenBaseForm : public quil::TQuilDBForm {
 public:
  TVWOVoorvereistenBaseForm(quil::TQuilApplication& app, std::string className,
                            const TVoorvereistenSoort& soort);

  quil::TQuilClientDataSet& CDSModules;
  quil::TQuilClientDataSet& CDSModulesLookup;
  quil::TQuilClientDataSet& CDSGroepen;
  quil::TQuilClientDataSet& CDSGroepenLookup;
  quil::TQuilClientDataSet& CDSVoorvereisten;
  quil::TDataSource& DSModules;
  quil::TDataSource& DSGroepen;
  quil::TDataSource& DSModuleVoorvereisten;

  quil::TSelectionPanel& PnlSelectie;
  quil::TPageControl& PgcBeschikbaar;
  quil::TTabSheet& TabModules;
  quil::TEdit& EdtModuleFilter;
  quil::TCheckBox& ChkModuleFilter;
  quil::TCheckBox& ChkIngericht;
  quil::TDBGrid& GridModules;
  quil::TTabSheet& TabGroepen;
  quil::TEdit& EdtGroepFilter;
  quil::TCheckBox& ChkGroepFilter;
  quil::TDBGrid& GridGroepen;
  quil::TButton& BtnAdd;
  quil::TButton& BtnDelete;
  quil::TPanel& PnlVoorvereisten;
  quil::TCheckBox& ChkSchoolEigen;
  quil::TDBGrid& GridVoorvereisten;

  quil::TAction& AAdd;
  quil::TAction& ADelete;
  quil::TAction& AFilter;
  quil::TAction& AFilterGroepen;

  //! The selection manager of the page shown.
  quil::TRecSelectionManager& Selection();

  //! Records come and go through the actions only (the selection manager's rules).
  void QuilDBFormCanInsert(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormCanDelete(quil::TQuilClientDataSet& dataset, bool& allow) override;

 protected:
  //! Opens the choice lists and the prerequisites for the school and institution found, with
  //! the prerequisites a detail of `owner` (the data source of the module or group).
  void OpenLists(quil::TDataSource& school, quil::TDataSource& institution,
                 quil::TDataSource& owner);

 private:
  void ChkIngerichtClick();
  void ReopenModules();
  void ModulesAfterOpen();
  void GroepenAfterOpen();
  void VoorvereistenCalcFields();
  void VoorvereistenNewRecord();
  void VoorvereistenAfterOpen();
  void ApplySchoolFilter();
  void UpdateTitle();

  const TVoorvereistenSoort soort_;
  quil::TRecSelectionManager moduleSelection_;
  quil::TRecSelectionManager groupSelection_;
  TListFilter moduleFilter_;
  TListFilter groupFilter_;
  quil::TDataSource* institution_ = nullptr;
  quil::TDataSource* owner_ = nullptr;
};

}  // namespace kavel
