// TVWOLessenBaseForm: what the two lesson lists share, the lessons of one organised module
// variant (TVWOIngModuleVarLessenForm) and all lessons of a class (TVWOKlasLesmomentenForm).
//
// A lesson list shows its lessons (VWOLES) in a grid with their card ("Fiche"), the free fields
// ("Vrije velden") and a month view over the working year's school year ("Kalender"). The card
// checks a lesson before it is stored: out-of-school activities have no room or place, ordinary
// lessons need both, the lesson times must fit between the hours, and a date outside the periods
// of the class and of the lesson's module variant asks whether the server must widen them (job
// 436). The actions change or remove lessons in bulk (the set-lessons dialog, then job 352 when
// hours changed), add lessons picked on a calendar, check the planned lesson times, count the
// distance lesson times (job 368) and show the Davinci calls of a lesson. A lesson of a module
// variant cancelled on a date cannot be changed after that date.
//
// A derived screen says where a lesson's module variant comes from (ModuleVariantOf: the master,
// or the class's list of module variants), what it takes from its master, and what it presets.
// The screen keeps references to the fields of its master chain and reads them when it uses them.
// It owns its datasets, controls, lesson moment collection and editor; it lives on the session's
// UI thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/data/CachedClientDataSet.h"
#include "host/domain/VWOLesMomenten.h"
#include "host/forms/DBControls.h"
#include "host/forms/FormManager.h"
#include "host/forms/QuilForm.h"
#include "planning/VWOLes.h"

namespace kavel {

class TVWOLesmomentUitKalenderForm;

//! The names and texts by which the two lesson lists differ.
struct TVWOLessenNames {
  const char* className;
  const char* lessons;  //!< the lesson dataset
  const char* lessonsProvider;
  const char* lessonsSource;      //!< its data source
  const char* lesTijdenProvider;  //!< planned and required lesson times
  const char* param;              //!< the lessons' parameter: the key of the master
  const char* checkAction;
  const char* checkCaption;
  const char* kalenderAction;
  const char* kalenderCaption;
  VWOLesList list;
};

class TVWOLessenBaseForm : public quil::TQuilDBForm {
 public:
  TVWOLessenBaseForm(quil::TQuilApplication& app, const TVWOLessenNames& names);
  ~TVWOLessenBaseForm() override;

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
  quil::TAction& ASetLessen;
  quil::TAction& ACommDavinci;
  quil::TAction& ABerekenAfstandsLesmomenten;

  //! The month view's moments (for tests and the benchmark).
  quil::TVWOLEsMomenten& LesMomenten() { return lesMomenten_; }
  quil::TVWOLesMomentEditor& LesMomentEditor() { return editor_; }
  bool SettingLessons() const { return settingLessons_; }

  void QuilDBFormCreate() override;
  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;
  void QuilDBFormShow() override;
  void QuilDBFormCloseQuery(bool& canClose) override;
  void QuilDBFormCanEdit(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormCanInsert(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormCanDelete(quil::TQuilClientDataSet& dataset, bool& allow) override;
  void QuilDBFormGetPrintParams(const std::string& reportFile, quil::TPrintParams& params) override;

 protected:
  //! The dates of one organised module variant that the checks of a lesson use.
  struct TModuleVariantDates {
    bool found = false;
    quil::TDateTime van, tot, lesVan, lesTot;  //!< day 0 when empty
    bool afgelast = false;
    quil::TDateTime afgelastOp;
  };

  //! The organised module variant `id` (a lesson's VWL_INGMODULEVARIANT_FK).
  virtual TModuleVariantDates ModuleVariantOf(int id) const = 0;
  //! Takes what the screen needs from its master beyond the class (after the class).
  virtual void SetModuleVariantMaster(quil::TDataSource* master) = 0;
  //! Opens what the lesson list needs besides the rooms and the staff, before it opens.
  virtual void BeforeOpenLessons() {}
  //! The computed fields beyond the weekday.
  virtual void CalcLessonFields() = 0;
  //! Whether the calendar, the set-lessons dialog and new month-view items are offered.
  virtual bool MayAddLessons() const { return true; }
  //! The set-lessons dialog's module variants: lines "IMV_ID=description".
  virtual std::vector<std::string> SetLessenModuleVariants() = 0;
  //! The calendar dialog's reference date, its module variant list and its presets.
  virtual void PrepareKalender(TVWOLesmomentUitKalenderForm& dialog) = 0;
  //! The module variant of a lesson created in the month view (-1: chosen in the editor).
  virtual int NewMomentModuleVariant() = 0;
  //! Refills what the month view's editor offers, before the view is prepared and before a new
  //! item is edited.
  virtual void PrepareLesMomentEditor() {}
  virtual void ABerekenAfstandsLesmomentenExecute() = 0;

  //! A field of the master chain, read when used; null when the chain has none.
  quil::TField* MasterField(quil::TDataSource* source, const char* name) const;
  quil::TDateTime MasterDate(quil::TField* field) const;
  //! The field `name` of the first data source up the lesson list's master chain (0 when empty).
  int MasterInt(const char* name) const;
  bool HasMasterField(const char* name) const;
  bool Browsing() const;
  //! The current lesson's module variant, -1 when empty.
  int LessonModuleVariant() const;
  //! Presets the calendar dialog's teacher, room, lesson place and hours from the current lesson.
  void PresetFromLesson(TVWOLesmomentUitKalenderForm& dialog);
  //! VWL_TRIMESTER from the date and the lesson's module variant.
  void DatumChange();
  void ShowKalender();

  const TVWOLessenNames names_;
  quil::TField* vestigingsplaats_ = nullptr;  // VWK_VESTIGINGSPLAATS_FK
  quil::TField* vwoVestigingsplaats_ = nullptr;
  quil::TField* klasVan_ = nullptr;
  quil::TField* klasTot_ = nullptr;

 private:
  //! Whether a lesson dated `datum` of module variant `id` lies after its cancellation.
  bool NaAfgelasting(int id, quil::TDateTime datum) const;

  void CDSLessenBeforeOpen();
  void CDSLesgeverBeforeOpen();
  void CDSLessenCalcFields();
  void CDSLessenNewRecord();
  void CDSLessenBeforePost();
  void CDSVrijeVeldenAfterOpen();
  void UurChange();
  void BuitenschoolsChange();
  void LesgeverChange();
  void CopyLesgever(int lesgever);
  void ApplyLokaalFilters();

  void PCLessenChanging();
  void PCLessenChange();
  void WriteBackKalender();
  void KalenderItemCreate(quil::TDateTime day);
  void KalenderItemDelete(int index);
  void KalenderItemEdit(int index);

  void ACheckLesTijdenExecute();
  void AAddFromKalenderExecute();
  void ASetLessenExecute();
  void ACommDavinciExecute();

  quil::TVWOLEsMomenten lesMomenten_;
  quil::TVWOLesMomentEditor editor_;
  bool settingLessons_ = false;
  bool kalenderControlsDisabled_ = false;
};

//! Registers a lesson list screen with the factory of its class, and the lesson dialog it shows.
void RegisterLessenScreen(std::string_view className, quil::TFormFactory factory);

}  // namespace kavel
