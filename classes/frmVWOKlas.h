// TVWOKlasForm: the classes of one institution. A class is a group of adult students taught at
// one location over a period; its lessons are organised module variants and lesson moments, and
// it is linked to the organised programme variants its students follow.
//
// The grid lists the classes of a period the user picks from the period menu (the school year,
// a semester of it, the working date, a chosen period, the next or the previous school year),
// narrowed to one location and to the cancelled or the not cancelled classes. Below it, five
// pages: the class itself ("&Fiche"), its programme variants ("Opleidingen"), the memo printed on
// the enrolment certificate, and the free fields and free parameters whose captions the
// institution chooses. The actions work on the current class: lessons from a recipe, the lesson
// time check, the server jobs on its lessons and module variants, and its Davinci calls. A class
// can be searched by its Davinci course number, the id of one of its organised module variants
// in hexadecimal.
//
// Rules kept here: a class ending before it starts is refused; "Klas nooit melden" is asked once
// and cannot be cleared after it was stored; enrolment is allowed only when every linked
// programme variant is ready for Davinci; a class with linked programme variants moves only
// within its Davinci location; a class with a Davinci call cannot be deleted. A new class's
// maximum number of students follows the seats of its default room.
//
// The screen owns its datasets and controls and lives on the session's UI thread. The single
// class screen (TVWOFicheKlasForm) derives from it.
#pragma once

#include <memory>
#include <string>

#include "host/base/DateTime.h"
#include "host/data/CachedClientDataSet.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"

namespace kavel {

class TVWOLesUitReceptDialoog;
class TVWOSelectIngopleidingForm;

//! The period the class list shows; a value of 7 or more leaves the dates as they are.
enum TKlasPeriode : int {
  kpSchooljaar = 0,
  kpSemester1 = 1,
  kpSemester2 = 2,
  kpHuidig = 3,
  kpPeriode = 4,
  kpVolgendSchooljaar = 5,
  kpVorigSchooljaar = 6,
};

//! The cancelled filter of the class list.
enum TAfgelastFilter : int { afNietAfgelast = 0, afAfgelast = 1 };

class TVWOKlasForm : public quil::TQuilDBForm {
 public:
  explicit TVWOKlasForm(quil::TQuilApplication& app);

  // --- datasets -------------------------------------------------------------------------------
  quil::TQuilClientDataSet& CDSVWOKlas;
  quil::TQuilClientDataSet& CDSSelectVestiging;
  quil::TQuilClientDataSet& CDSFilterVestiging;
  quil::TQuilClientDataSet& CDSSelectLokaal;
  quil::TQuilClientDataSet& CDSSelectLesplaats;
  quil::TQuilClientDataSet& CDSLesgevers;
  quil::TQuilClientDataSet& CDSSelectOpenKlas;
  quil::TInstellingParamClientDataset& CDS_OmschrLabel;
  quil::TInstellingParamClientDataset* CDSVrijParam[5];
  quil::TQuilClientDataSet& CDSGetlesTijden;
  quil::TQuilClientDataSet& CDSDaVinciCommunicatie;
  quil::TQuilClientDataSet& CDSKlasIngModuleVar;
  quil::TQuilClientDataSet& CDSKlasOpleidingen;
  quil::TQuilCachedClientDataSet& CDSINGVWOOpleidingen;
  quil::TVWOParamsClientDataset& CDSVWOTrajectType;
  quil::TQuilClientDataSet& CDSSearchCursusNr;

  quil::TDataSource& DSVWOKlas;
  quil::TDataSource& DSSelectVestiging;
  quil::TDataSource& DSFilterVestiging;
  quil::TDataSource& DSSelectLokaal;
  quil::TDataSource& DSSelectLesplaats;
  quil::TDataSource& DSLesgevers;
  quil::TDataSource& DSSelectOpenKlas;
  quil::TDataSource* DSVrijParam[5];
  quil::TDataSource& DSKlasOpleidingen;
  quil::TDataSource& DSINGVWOOpleidingen;

  // --- controls -------------------------------------------------------------------------------
  quil::TPanel& PnlTop;
  quil::TLabel& LTitel;
  quil::TLookupCombo& LCFilterVestiging;
  quil::TButton& sbSearch;
  quil::TButton& BtnCopyKlas;
  quil::TDBGrid& GridKlassen;
  quil::TPageControl& PCKlas;
  quil::TTabSheet& TSFiche;
  quil::TTabSheet& TSOpleidingen;
  quil::TTabSheet& TSMemo;
  quil::TTabSheet& TSVrijeVelden;
  quil::TTabSheet& TSVrijeParameters;
  quil::TDBEdit& EdtCode;
  quil::TDBEdit& EdtOmschrijving;
  quil::TDBLookupCombo& LCVestiging;
  quil::TDBLookupCombo& LCLokaal;
  quil::TDBEdit& EdtVan;
  quil::TDBEdit& EdtTot;
  quil::TDBEdit& EdtMaxLeerlingen;
  quil::TDBLookupCombo& LCOpenKlas;
  quil::TDBCheckBox& CBInschrijvenMag;
  quil::TDBCheckBox& CBNooitMelden;
  quil::TDBCheckBox& CBStages;
  quil::TDBCheckBox& CBTramvo;
  quil::TDBCheckBox& CBAfgelast;
  quil::TDBCheckBox& CBHeeftAfgelasteIMV;
  quil::TDBGrid& GridOpleidingen;
  quil::TButton& SBNew;
  quil::TButton& SBDelete;
  quil::TDBEdit& EdtKalenderOmschrijving;

  // --- actions --------------------------------------------------------------------------------
  quil::TAction& AMemoFromlesmoment;
  quil::TAction& ALesmomentRecept;
  quil::TAction& ACheckLestijden;
  quil::TAction& ALesdagen;
  quil::TAction& AKalender;
  quil::TAction& ACopyLokaal;
  quil::TAction& ACopyLokaalToAll;
  quil::TAction& ACalcIMVAantalLeerlingen;
  quil::TAction& ACommDavinci;
  quil::TAction& ACommDavinciCursist;
  quil::TAction& ACopyKlas;
  quil::TAction& ANewKlasOpleiding;
  quil::TAction& ADeleteKlasOpleiding;
  quil::TAction& AZoekCursus;
  //! The period menu (tag = period kind) and the cancelled filter (tag = filter).
  quil::TAction* APeriode[7];
  quil::TAction* AAfgelast[2];

  // --- what other screens call ----------------------------------------------------------------
  //! Sets the period kind and recomputes the period.
  void SetKlassenPeriode(int kind);
  //! Recomputes the period from the kind and reloads the lists that show it.
  virtual void SetDateParams();

  int Periode() const { return periode_; }
  quil::TDateTime BeginDatum() const { return beginDatum_; }
  quil::TDateTime EindDatum() const { return eindDatum_; }
  int AfgelastFilter() const { return afgelast_; }
  bool MagVerwijderen() const { return magVerwijderen_; }

  //! The recipe dialog for the current class, prepared as ALesmomentRecept shows it.
  std::unique_ptr<TVWOLesUitReceptDialoog> NewReceptDialog();
  //! The programme variant choice for the current class, prepared as "+" shows it.
  std::unique_ptr<TVWOSelectIngopleidingForm> NewSelectOpleidingDialog();

  // --- screen events --------------------------------------------------------------------------
  void QuilDBFormInitDataModule() override;
  void QuilDBFormCreate() override;
  void QuilDBFormShow() override;
  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormSaveSettings(quil::TSettingsFile& settings) override;
  void QuilDBFormRestoreSettings(quil::TSettingsFile& settings) override;
  void QuilDBFormGetPrintParams(const std::string& reportFile, quil::TPrintParams& params) override;
  void QuilDBFormCanEdit(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormCanInsert(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormCanDelete(quil::TQuilClientDataSet& dataset, bool& allow) override;

 protected:
  TVWOKlasForm(quil::TQuilApplication& app, std::string className);
  //! Links the lists to the institution and opens them; the class list last.
  void OpenLists();
  //! The institution's data source (IS_ID), found when the master is handed over.
  quil::TDataSource* Instelling() const { return instelling_; }
  //! One class without a period: the list is not narrowed to a location or to (not) cancelled.
  bool enkeleKlas_ = false;

 private:
  // period and filters
  void PeriodeExecute(int kind);
  void AfgelastExecute(int filter);
  void UpdateTitel();
  void ApplyListFilter();
  void ApplyLokaalFilter(int vpId);
  void ApplyLesplaatsFilter();
  // class list events
  void KlasAfterOpen();
  void KlasAfterScroll();
  void KlasNewRecord();
  void KlasAfterInsert();
  void KlasBeforeInsert();
  void KlasBeforePost();
  void KlasAfterPost();
  void KlasAfterCancel();
  void VestigingChange(quil::TField& field);
  void StandaardLokaalChange(quil::TField& field);
  void FlagsChange(quil::TField& field);
  void UpdateNooitMelden();
  void UpdateMagVerwijderen();
  void VestigingenAfterOpen();
  void OmschrLabelAfterOpen();
  // programme variants
  void PCKlasChanging();
  void PCKlasChange();
  void OpenOpleidingen();
  void CloseOpleidingen();
  void OpenIngOpleidingen();
  void CheckInschrijven();
  void CheckVestigingWijziging();
  void ANewKlasOpleidingExecute();
  void ADeleteKlasOpleidingExecute();
  // course number search
  void AZoekCursusExecute();
  // actions
  bool Browsing() const;
  bool Bruikbaar() const;
  bool DavinciRechten() const;
  int KlasID() const;
  void ALesmomentReceptExecute();
  void ACheckLestijdenExecute();
  void AMemoFromlesmomentExecute();
  void ALesdagenExecute();
  void CopyLokaal(int kind);
  void ACalcIMVAantalLeerlingenExecute();
  void ACommDavinciExecute();
  void ACommDavinciCursistExecute();

  quil::TDataSource* instelling_ = nullptr;
  quil::TField* schoolField_ = nullptr;
  int periode_ = kpSchooljaar;
  quil::TDateTime periodeVan_;  //!< the chosen period (kind 4)
  quil::TDateTime periodeTot_;
  quil::TDateTime beginDatum_;  //!< the period in force
  quil::TDateTime eindDatum_;
  int vestigingFilter_ = -1;  //!< a location id, or -1 for every location
  int afgelast_ = afNietAfgelast;
  bool magVerwijderen_ = false;
  int options_ = 0;  //!< kept in the settings as it was read
  bool classReports_ = false;
  // the location change of the class being edited
  bool vestigingGewijzigd_ = false;
  int oudeVestiging_ = 0;
  int nieuweVestiging_ = 0;
};

namespace frmVWOKlas {
void Initialization();
}

}  // namespace kavel
