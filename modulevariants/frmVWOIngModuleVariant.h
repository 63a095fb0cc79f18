// TVWOIngModuleVariantForm: the organised module variants of one class.
//
// A detail screen of the class screen (form link "Modulevarianten", the class list as master):
// which module variant of the programme is taught in the class, over which period, on which
// lesson days, by which teacher at which lesson place, with its financing and Davinci data. A new
// record starts from the class (the first one) or from the class's last organised module variant;
// the checks before a post guard the periods, the Davinci start date and a cancellation date,
// which asks what it will do and has the server (job 364) act on the pupils; the class is then
// marked in the class screen's change log, not stored, so the class screen saves it.
//
// The actions work on the current module variant: lessons from a recipe, the server jobs of its
// lessons (316, 352, 325, 368), copying its teacher to its lessons, the Doc 3B page, the Davinci
// calls, the consultation call and the cancellation dialog (dlgVWOAnnuleerIMV).
//
// The screen owns its datasets, controls and dialogs; it lives on the session's UI thread.
#pragma once

#include <string>

#include "host/data/AppServer.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

//! The lesson days text of an IMV_LESDAGEN bit set: "Ma VM,Ma NM,Wo AV", weekday by weekday.
std::string LesdagenTekst(int64_t lesdagen);

//! The course number of an organised module variant: its id as ten upper-case hex digits.
std::string Cursusnummer(int64_t imvId);

class TVWOIngModuleVariantForm : public quil::TQuilDBForm {
 public:
  explicit TVWOIngModuleVariantForm(quil::TQuilApplication& app);

  // --- datasets -----------------------------------------------------------------------------
  quil::TQuilClientDataSet& CDSVWOIngModuleVarianten;
  quil::TQuilClientDataSet& CDSSelectBevoegdeModuleVar;
  quil::TQuilClientDataSet& CDSVWOLastIMV;
  quil::TQuilClientDataSet& CDSLesgever;
  quil::TQuilClientDataSet& CDSSelectLesplaats;
  quil::TQuilClientDataSet& CDSSelectLokaal;
  quil::TQuilClientDataSet& CDSKH_FINANCIERINGSBRON_FKP;
  quil::TQuilClientDataSet& CDSVerificatieStatus;
  quil::TQuilClientDataSet& CDS_IMV_VRIJPARAM1_FKP;
  quil::TQuilClientDataSet& CDS_IMV_VRIJPARAM2_FKP;
  quil::TQuilClientDataSet& CDS_IMV_VRIJPARAM3_FKP;
  quil::TQuilClientDataSet& CDS_IMV_VRIJPARAM4_FKP;
  quil::TQuilClientDataSet& CDSSelectVestiging;
  quil::TQuilClientDataSet& CDSGetlesTijden;
  quil::TQuilClientDataSet& CDSDoc3B;
  quil::TQuilClientDataSet& CDSIngVak;
  quil::TQuilClientDataSet& CDS_OmschrLabel;
  quil::TQuilClientDataSet& CDSZidezuzoCP;
  quil::TQuilClientDataSet& CDSDiscPersoneelFK;
  quil::TQuilClientDataSet& CDSWebserviceCall;
  quil::TQuilClientDataSet& CDSLessen;

  quil::TDataSource& DSVWOIngModuleVarianten;
  quil::TDataSource& DSSelectBevoegdeModuleVar;
  quil::TDataSource& DSLesgever;
  quil::TDataSource& DSSelectLesplaats;
  quil::TDataSource& DSSelectLokaal;
  quil::TDataSource& DSFinancieringsbron;
  quil::TDataSource& DSVerificatieStatus;
  quil::TDataSource& DSVrijParam1;
  quil::TDataSource& DSVrijParam2;
  quil::TDataSource& DSVrijParam3;
  quil::TDataSource& DSVrijParam4;
  quil::TDataSource& DSDoc3B;
  quil::TDataSource& DSIngVak;

  // --- controls -----------------------------------------------------------------------------
  quil::TDBGrid& GridModuleVarianten;
  quil::TPageControl& PCModuleVariant;
  quil::TTabSheet& TSAlgemeen;
  quil::TDBLookupCombo& LCModuleVariant;
  quil::TDBEdit& EdtAfkorting;
  quil::TDBEdit& EdtOmschrijving;
  quil::TDBEdit& EdtCommercieleNaam;
  quil::TDBEdit& EdtVan;
  quil::TDBEdit& EdtTot;
  quil::TDBEdit& EdtLesVan;
  quil::TDBEdit& EdtLesTot;
  quil::TDBEdit& EdtRegistratiemoment;
  quil::TDBEdit& EdtAfgelastOp;
  quil::TDBCheckBox& CBDavinciKlaar;
  quil::TDBEdit& EdtLesmoment;
  quil::TDBEdit& EdtCursusnummer;
  quil::TDBLookupCombo& LCLesgever;
  quil::TDBLookupCombo& LCLesplaats;
  quil::TDBLookupCombo& LCFinancieringsbron;
  quil::TDBEdit& EdtMaxLeerlingen;
  quil::TDBEdit& EdtPlaatsenVoorDerden;
  quil::TDBEdit& EdtAantalLeerlingen;
  quil::TDBCheckBox& CBGebundeld;
  quil::TDBCheckBox& CBGeenEducatiefVerlof;
  quil::TDBCheckBox& CBToegewezen;
  quil::TDBCheckBox& CBOpleidingskompas;
  quil::TTabSheet& TSLestijden;
  quil::TTabSheet& TSExtra;
  quil::TLabel& LblVerificatieStatus;
  quil::TLabel& LblVerificatieDatum;
  quil::TTabSheet& TSVrijeVelden;
  quil::TTabSheet& TSDoc3B;
  quil::TDBGrid& GridDoc3B;
  quil::TDBLookupCombo& LCDoc3BLesgever;
  quil::TDBLookupCombo& LCDoc3BTitularis;
  quil::TDBLookupCombo& LCDoc3BVak;
  quil::TDBEdit& EdtDoc3BUren;

  // --- actions ------------------------------------------------------------------------------
  quil::TAction& ALesmomentRecept;
  quil::TAction& ACheckLesTijden;
  quil::TAction& ALesdagen;
  quil::TAction& ADoc3BFromLesmomenten;
  quil::TAction& ABerekenAfstandsLesmomenten;
  quil::TAction& ARegistratiemoment;
  quil::TAction& ACopyLesgeverAlleLessen;
  quil::TAction& ACopyLesgeverToekomstigeLessen;
  quil::TAction& ACommDavinci;
  quil::TAction& ACommDavinciCursist;
  quil::TAction& ARaadpleeg;
  quil::TAction& AAnnuleerIMV;

  // --- screen events ------------------------------------------------------------------------
  void QuilDBFormCreate() override;
  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormCanDelete(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormGetPrintParams(const std::string& reportFile, quil::TPrintParams& params) override;

  //! The private state, for the tests that follow a post through to the apply.
  bool LijstLeeg() const { return lijstLeeg_; }
  bool KlasMarkeren() const { return klasMarkeren_; }

 private:
  void DeclareModuleVariantFields();
  void DeclareListFields();
  void BuildControls();
  void BuildVrijeVelden();

  // The module variant list.
  void ModuleVariantenBeforeOpen();
  void ModuleVariantenAfterOpen();
  void ModuleVariantenAfterInsert();
  void ModuleVariantenBeforePost();
  void ModuleVariantenAfterPost();
  void ModuleVariantenAfterCancel();
  void ModuleVariantenAfterScroll();
  void ModuleVariantenCalcFields();
  void ModuleVariantenAfterApplyUpdates();
  quil::ReconcileAction ModuleVariantenReconcileError(const quil::ReconcileInfo& info);
  void LesgeverBeforeOpen();
  void NieuweEersteModuleVariant();
  void NieuweVolgendeModuleVariant();
  void ModuleVariantChange();
  void PeriodeChange();
  void DavinciKlaarValidate(quil::TField& field);
  void CheckDavinciDatum(const quil::TField& klaar) const;
  void CheckAfgelastOp();
  void MarkeerKlas();

  // The rules that follow the record.
  void UpdateRegistratiemomentReadOnly();
  void UpdateEnabling();
  void UpdateVerificatie();
  void FilterBevoegdeModuleVar(bool on);
  void FilterLesplaatsen();
  void FilterLokalen();

  // The Doc 3B page and the free-field captions.
  void PageChange();
  void Doc3BBeforeOpen();
  void Doc3BCalcFields();
  void Doc3BLesgeverChange();
  void OmschrLabelAfterOpen();

  // The actions.
  bool Browsing() const;
  bool DavinciRechten() const;
  void ReloadAtSameRecord();
  void ALesmomentReceptExecute();
  void ARegistratiemomentExecute();
  void ACopyLesgeverExecute(bool toekomstig);
  void ARaadpleegExecute();
  void AAnnuleerIMVExecute();

  //! The class list (the first master with VWK_ID) and the institution's (IS_ID).
  quil::TDataSource* klasSource_ = nullptr;
  quil::TDataSource* instellingSource_ = nullptr;
  quil::TDateTime serverDatum_;
  quil::TQuildminDBParams dbParams_;
  int32_t davinciKleur_ = 0;
  bool lijstLeeg_ = false;          //!< the class had no organised module variant
  bool afgelastGewijzigd_ = false;  //!< IMV_AFGELASTOP changed since the last post
  bool klasMarkeren_ = false;       //!< a confirmed cancellation waits for the apply
};

namespace frmVWOIngModuleVariant {

void Initialization();

}  // namespace frmVWOIngModuleVariant

}  // namespace kavel
