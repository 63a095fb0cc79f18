// TVWOKBIContactpersonenForm: the KBI contact persons of one institution, the current record of
// the institution browser.
//
// A contact person is typed in or taken from the institution's staff with the staff search
// (ASearchPS). A person taken from the staff keeps the link (KBCP_PERSONEEL_FK); name, first name
// and national number then come from the staff record and cannot be edited here, while phone and
// e-mail stay editable. Every e-mail address typed or taken over passes the host's e-mail check.
#pragma once

#include <memory>

#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"
#include "host/forms/SearchPersoneelDialog.h"

namespace kavel {

class TVWOKBIContactpersonenForm : public quil::TQuilDBForm {
 public:
  explicit TVWOKBIContactpersonenForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSKBIContactpersonen;
  quil::TDataSource& DSKBIContactpersonen;
  quil::TAction& ASearchPS;

  quil::TPanel& PLijst;
  quil::TDBGrid& GridContactpersonen;
  quil::TGroupBox& GBContactpersoon;
  quil::TDBEdit& DBENaam;
  quil::TDBEdit& DBEVoornaam;
  quil::TDBEdit& DBEINSZ;
  quil::TDBEdit& DBETelefoon;
  quil::TDBEdit& DBEEmail;
  quil::TDBCheckBox& DBCBNietMeerActief;
  quil::TButton& BSearchPS;

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  //! The staff search as ASearchPS shows it: staff in service at the institution on the work
  //! date, on the person of the current contact when there is one.
  std::unique_ptr<quil::TSearchPersoneelDialog> NewSearchPSDialog();

 private:
  void ASearchPSExecute();
  void ASearchPSUpdate();
  //! Name, first name and national number are editable only for a person without staff link.
  void ApplyEditability();
  void SetNameFieldsEditable(bool editable);
  void NewRecord();
  void CheckEmailField(quil::TField& field);
};

namespace frmVWOKBIContactpersonen {
void Initialization();
}

}  // namespace kavel
