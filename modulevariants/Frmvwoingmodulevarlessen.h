// TVWOIngModuleVarLessenForm: the lesson moments (VWOLES) of one organised module variant.
//
// A detail screen of the module variant list (form link "Lessen"): the lessons in a grid with
// their card ("Fiche"), the free fields ("Vrije velden") and a month view over the working
// year's school year ("Kalender"). The card checks a lesson before it is stored: out-of-school
// activities have no room or place, ordinary lessons need both, the lesson times must fit
// between the hours, and a date outside the periods of the class and the module variant asks
// whether the server must widen them (job 436). The actions change or remove lessons in bulk
// (the set-lessons dialog, then job 352 when hours changed), add lessons picked on a calendar,
// check the planned lesson times, start the jobs 325 and 368, and show the Davinci calls of a
// lesson. A module variant cancelled on a date keeps its later lessons as they are.
//
// The screen keeps references to the fields of its master chain (class and module variant) and
// reads them when it uses them. It owns its datasets, controls, lesson moment collection and
// editor; it lives on the session's UI thread.
#pragma once

#include <string>

#include "host/data/CachedClientDataSet.h"
#include "host/domain/VWOLesMomenten.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOIngModuleVarLessenForm : public quil::TQuilDBForm {
 public:
  explicit TVWOIngModuleVarLessenForm(quil::TQuilApplication& app);
  ~TVWOIngModuleVarLessenForm() override;

  quil::TQuilClientDataSet& CDSLessen;
  quil::TQuilClientDataSet& CDSGetlesTijden;
  quil::TQuilClientDataSet& CDSLokaal;
  quil::TQuilClientDataSet& CDSLesgever;
  quil::TQuilClientDataSet& CDSSelectLesplaats;
  quil::TInstellingParamClientDataset& CDSVrijeVelden;
  quil::TDataSource& DSLessen;
  quil::TDataSource& DSGetlesTijden;
  quil::TDataSource& DSLokaal;
  quil::TDataSource& DSLesgever;
  quil::TDataSource& DSSelectLesplaats;
  quil::TDataSource& DSVrijeVelden;

  quil::TPageControl& PCLessen;
  quil::TTabSheet& TSFiche;
  quil::TTabSheet& TSVrijeVelden;
  quil::TTabSheet& TSKalender;
  quil::TDBGrid& GridLessen;
  quil::TDBEdit& EdtDatum;
  quil::TDBEdit& EdtVanUur;
  quil::TDBEdit& EdtTotUur;
  quil::TDBEdit& EdtLesuren;
  quil::TDBEdit& EdtTrimester;
  quil::TDBLookupCombo& LCLokaal;
  quil::TDBLookupCombo& LCLesplaats;
  quil::TDBLookupCombo& SCLesgever;
  quil::TDBCheckBox& CBBuitenschools;
  quil::TDBCheckBox& CBVervalt;
  quil::TDBCheckBox& CBGeenStandaardLes;
  quil::TDBCheckBox& CBAfstandsLesmoment;
  quil::TDBCheckBox& CBVervaltVoorEducVerlof;
  quil::TButton& BtnCommDavinci;
  quil::TLabel* Veld[5];
  quil::TDBEdit* EdtVrijVeld[5];
  quil::TPlanner& PLKalender;

  quil::TAction& ACheckLesTijden;
  quil::TAction& AAddFromKalender;
  quil::TAction& ADoc3BInfoUitLesmomenten;
  quil::TAction& ASetLessen;
  quil::TAction& ACommDavinci;
  quil::TAction& ABerekenAfstandsLesmomenten;

  //! The month view's moments (for tests and the benchmark).
  quil::TVWOLEsMomenten& LesMomenten() { return lesMomenten_; }
  bool SettingLessons() const { return settingLessons_; }

  void QuilDBFormCreate() override;
  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormShow() override;
  void QuilDBFormCloseQuery(bool& canClose) override;
  void QuilDBFormCanEdit(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormCanInsert(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormCanDelete(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormGetPrintParams(const std::string& reportFile, quil::TPrintParams& params) override;

 private:
  //! A field of the master chain, read when used; null when the chain has none.
  quil::TField* MasterField(quil::TDataSource* source, const char* name) const;
  quil::TDateTime MasterDate(quil::TField* field) const;
  int MasterInt(const char* name) const;
  bool Afgelast() const;
  bool Browsing() const;

  void CDSLessenBeforeOpen();
  void CDSLesgeverBeforeOpen();
  void CDSLessenCalcFields();
  void CDSLessenNewRecord();
  void CDSLessenBeforePost();
  void CDSVrijeVeldenAfterOpen();
  void DatumChange();
  void UurChange();
  void BuitenschoolsChange();
  void LesgeverChange();
  void CopyLesgever(int lesgever);
  void ApplyLokaalFilters();

  void PCLessenChanging();
  void PCLessenChange();
  void ShowKalender();
  void WriteBackKalender();
  void KalenderItemCreate(quil::TDateTime day);
  void KalenderItemDelete(int index);
  void KalenderItemEdit(int index);

  void ACheckLesTijdenExecute();
  void AAddFromKalenderExecute();
  void ADoc3BInfoUitLesmomentenExecute();
  void ASetLessenExecute();
  void ACommDavinciExecute();
  void ABerekenAfstandsLesmomentenExecute();

  // The master chain's fields (step "set master").
  quil::TField* vestigingsplaats_ = nullptr;  // VWK_VESTIGINGSPLAATS_FK
  quil::TField* vwoVestigingsplaats_ = nullptr;
  quil::TField* klasVan_ = nullptr;
  quil::TField* klasTot_ = nullptr;
  quil::TField* imvVan_ = nullptr;
  quil::TField* imvTot_ = nullptr;
  quil::TField* afgelastOp_ = nullptr;
  quil::TField* imvOmschrijving_ = nullptr;
  quil::TField* vmvCode_ = nullptr;
  quil::TField* vomOmschrijving_ = nullptr;
  quil::TField* lesVan_ = nullptr;
  quil::TField* lesTot_ = nullptr;

  quil::TVWOLEsMomenten lesMomenten_;
  quil::TVWOLesMomentEditor editor_;
  bool settingLessons_ = false;
  bool kalenderControlsDisabled_ = false;
};

namespace Frmvwoingmodulevarlessen {

void Initialization();

}  // namespace Frmvwoingmodulevarlessen

}  // namespace kavel
