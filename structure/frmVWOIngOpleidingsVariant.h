// TVWOIngOpleidingsVariantForm: the programme variants an institution organises in one of its
// Davinci geographies. After choosing the geography, the official variants the school is
// authorised to organise there are on the left (those already organised there in grey), the
// organised variants of the geography on the right with their period, their Davinci-ready mark
// and whether they are organised as a dual programme. Adding an official variant organises it
// for the period of its authorisation (TRecSelectionManager); removing takes an organised variant
// away, as long as it is not ready for Davinci.
//
// One variant is organised once in a geography at a time, unless as a dual programme: before an
// organised variant is stored, the others of the same official variant in the geography are
// compared with it; for one that overlaps and is organised the same way (dual or not) the user is
// asked whether to make this one dual, which is remembered for the ones compared after it.
//
// Records come and go only through the actions: the host's own insert and delete are refused.
// The screen owns its datasets, controls and selection manager; it lives on the session's UI
// thread.
#pragma once

#include "host/domain/RecSelectionManager.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOIngOpleidingsVariantForm : public quil::TQuilDBForm {
 public:
  explicit TVWOIngOpleidingsVariantForm(quil::TQuilApplication& app);

  quil::TQuilClientDataSet& CDSGeografie;
  quil::TQuilClientDataSet& CDSOffOpleidingsVarianten;
  quil::TQuilClientDataSet& CDSIngOpleidingsVarianten;
  //! What was organised in the geography when the organised list last opened (grey marking).
  quil::TQuilClientDataSet& CDSIngOplVarKopie;
  //! Every organised variant of the geography, for the overlap check.
  quil::TQuilClientDataSet& CDSVergelijk;
  quil::TDataSource& DSGeografie;
  quil::TDataSource& DSOffOpleidingsVarianten;
  quil::TDataSource& DSIngOpleidingsVarianten;

  quil::TSearchControl& SCGeografie;
  quil::TSelectionPanel& PnlSelectie;
  quil::TPanel& PnlOfficieel;
  quil::TCheckBox& ChkInrichtbaar;
  quil::TDBGrid& GridOfficieel;
  quil::TButton& BtnAdd;
  quil::TButton& BtnDelete;
  quil::TPanel& PnlIngericht;
  quil::TCheckBox& ChkActief;
  quil::TDBGrid& GridIngericht;
  quil::TPanel& PnlKaart;
  quil::TDBEdit& EdtVan;
  quil::TDBEdit& EdtTot;
  quil::TDBCheckBox& CBKlaar;
  quil::TDBCheckBox& CBDuaal;

  quil::TAction& AAdd;
  quil::TAction& ADelete;
  quil::TAction& ACommDavinci;

  quil::TRecSelectionManager& Selection() { return selection_; }

  void QuilDBFormCreate() override;
  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormCanInsert(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormCanDelete(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormGetPrintParams(const std::string& reportFile, quil::TPrintParams& params) override;

 private:
  void ACommDavinciExecute();
  void ACommDavinciUpdate();
  void SCGeografieChange();
  void CDSGeografieAfterClose();
  void CDSOffOpleidingsVariantenAfterOpen();
  void CDSOffOpleidingsVariantenCalcFields();
  void CDSIngOpleidingsVariantenAfterOpen();
  void CDSIngOpleidingsVariantenNewRecord();
  void CDSIngOpleidingsVariantenBeforePost();
  void AAddExecute();
  void AAddUpdate();
  void ADeleteExecute();
  void ADeleteUpdate();
  void GridIngerichtDblClick();
  void ApplyActiveFilter();
  void ApplyInrichtbaarFilter();
  void RefreshCopy();
  void UpdateKlaar();
  void ReloadOfficieel();
  bool Klaar() const;
  //! Refuses (or, with the user's yes, makes dual) an organised variant being inserted or edited
  //! that overlaps another of the same official variant in the geography.
  void OverlapCheck();

  quil::TRecSelectionManager selection_;
};

namespace frmVWOIngOpleidingsVariant {
void Initialization();
}

}  // namespace kavel
