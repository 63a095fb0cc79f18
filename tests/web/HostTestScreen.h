// Screens for the web host's tests, registered once with the form manager:
// - "Test|Web|Proefscherm": the materials of institution 1 in a grid with a field editor, and
//   actions that ask, show a modal dialog, work long with a progress bar, fail, show the working
//   year, or are never enabled;
// - "Test|Web|Bedieningen": the lesson places of institution 1 with the municipality chooser and
//   a CRAB code of digits only in the Davinci colour, the materials' web text (a memo), a colour
//   button and the absence codes with their colour column.
#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "host/base/SysUtils.h"
#include "host/domain/TextChecks.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/DBControls.h"
#include "host/forms/FormManager.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/QuilForm.h"
#include "host/forms/SelectGemeenteFrame.h"

namespace quil::web::testing {

class TWebTestDialog : public TQuilForm {
 public:
  explicit TWebTestDialog(TQuilApplication& app)
      : TQuilForm(app, "TWebTestDialog"),
        EdtNaam(Add<TEdit>("EdtNaam")),
        BtnOK(Add<TButton>("BtnOK")),
        BtnAnnuleren(Add<TButton>("BtnAnnuleren")) {
    Caption = "Naam geven";
    BtnOK.Caption = "OK";
    BtnOK.ModalResult = mrOk;
    BtnOK.Default = true;
    BtnAnnuleren.Caption = "Annuleren";
    BtnAnnuleren.ModalResult = mrCancel;
    BtnAnnuleren.Cancel = true;
  }
  TEdit& EdtNaam;
  TButton& BtnOK;
  TButton& BtnAnnuleren;
};

class TWebTestForm : public TQuilDBForm {
 public:
  explicit TWebTestForm(TQuilApplication& app)
      : TQuilDBForm(app, "TWebTestForm"),
        CDSMaterialen(AddDataSet("CDSMaterialen", "DSPVWOMaterialen")),
        DSMaterialen(AddDataSource("DSMaterialen", &CDSMaterialen)),
        GridMaterialen(Add<TDBGrid>("GridMaterialen")),
        EdtOmschrijving(Add<TDBEdit>("EdtOmschrijving")),
        Voortgang(Add<TProgressBar>("Voortgang")) {
    CDSMaterialen.IDField = "VWM_ID";
    CDSMaterialen.ParamToFields = "IS_ID=VWM_INSTELLING_FK";
    CDSMaterialen.ChangedByField = "VWM_VERANDERDDOOR";
    CDSMaterialen.ChangedOnField = "VWM_VERANDERDOP";
    CDSMaterialen.GetParams().Add("IS_ID", FieldType::Integer).SetAsInteger(1);
    CDSMaterialen.AutoOpen = true;
    CDSMaterialen.AfterOpen = [](TQuilClientDataSet& cds) {
      cds.FieldByName("VWM_CODE").DisplayLabel = "Code";
      cds.FieldByName("VWM_OMSCHRIJVING").DisplayLabel = "Omschrijving";
    };
    GridMaterialen.DataSource = &DSMaterialen;
    GridMaterialen.Columns = {{"VWM_CODE", ""}, {"VWM_OMSCHRIJVING", ""}, {"VWM_PRIJS", "Prijs"}};
    EdtOmschrijving.DataSource = &DSMaterialen;
    EdtOmschrijving.DataField = "VWM_OMSCHRIJVING";
    AddAction("AVraag", "Vraag", [this] { Caption = QuilQuestion("Doorgaan?") ? "ja" : "nee"; });
    AddAction("ADialoog", "Dialoog", [this] {
      TWebTestDialog dialog(Application());
      if (dialog.ShowModal() == mrOk) Caption = dialog.EdtNaam.Text();
    });
    AddAction("ALang", "Lang", [this] {
      for (Voortgang.Position = 0; Voortgang.Position < Voortgang.Max; Voortgang.Position += 10) {
        ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
      }
      Caption = "klaar";
    });
    AddAction("AFout", "Fout", [] { RaiseClientError("Dit mag niet"); });
    // The working year as the screen sees it when the action runs.
    AddAction("AWerkjaar", "Werkjaar", [this] {
      const quil::AdminPrefs& prefs = Application().AdminPrefs();
      Caption = std::to_string(prefs.WerkJaar()) + " " + DateToStr(prefs.StartOfWerkJaar()) + "-" +
                DateToStr(prefs.EndOfWerkJaar()) + " id " + std::to_string(prefs.WerkJaarID());
    });
    TAction& never = AddAction("ANooit", "Nooit", [this] { Caption = "toch"; });
    never.OnUpdate = [&never] { never.Enabled = false; };
  }

  void QuilDBFormSaveSettings(TSettingsFile& settings) override {
    settings.WriteString("Proef", "Titel", Caption);
  }

  TQuilClientDataSet& CDSMaterialen;
  TDataSource& DSMaterialen;
  TDBGrid& GridMaterialen;
  TDBEdit& EdtOmschrijving;
  TProgressBar& Voortgang;
};

class TWebControlsForm : public TQuilDBForm {
 public:
  explicit TWebControlsForm(TQuilApplication& app)
      : TQuilDBForm(app, "TWebControlsForm"),
        CDSLesplaatsen(AddDataSet("CDSLesplaatsen", "DSPVWOLesplaats")),
        DSLesplaatsen(AddDataSource("DSLesplaatsen", &CDSLesplaatsen)),
        CDSMaterialen(AddDataSet("CDSMaterialen", "DSPVWOMaterialen")),
        DSMaterialen(AddDataSource("DSMaterialen", &CDSMaterialen)),
        CDSCodes(AddDataSet("CDSCodes", "DSPVWOAfwezigheidsCodes")),
        DSCodes(AddDataSource("DSCodes", &CDSCodes)),
        FrameGemeente(TSelectGemeenteFrame::Create(*this, "FrameGemeente", nullptr, DSLesplaatsen,
                                                   "VLP_GEMEENTE_FK")),
        EdtCrabcode(Add<TDBEdit>("EdtCrabcode")),
        EdtWebtekst(Add<TDBEdit>("EdtWebtekst")),
        BtnKleur(Add<TColorButton>("BtnKleur")),
        GridCodes(Add<TDBGrid>("GridCodes")) {
    Caption = "Bedieningen";
    Open(CDSLesplaatsen, "VLP");
    Open(CDSMaterialen, "VWM");
    Open(CDSCodes, "VAC");
    EdtCrabcode.DataSource = &DSLesplaatsen;
    EdtCrabcode.DataField = "VLP_CRABCODE";
    EdtCrabcode.AllowedChars = NumericChars;
    EdtCrabcode.Color = app.AdminPrefs().DavinciKleur();
    EdtWebtekst.DataSource = &DSMaterialen;
    EdtWebtekst.DataField = "VWM_WEBTEKST";
    BtnKleur.Caption = "Kleur";
    BtnKleur.OnChange = [this] { Caption = "Kleur " + BtnKleur.ValueText(); };
    GridCodes.DataSource = &DSCodes;
    GridCodes.Columns = {{"VAC_CODE", ""}, {"VAC_OMSCHRIJVING", ""}, {"VAC_KLEUR", ""}};
  }

  TQuilClientDataSet& CDSLesplaatsen;
  TDataSource& DSLesplaatsen;
  TQuilClientDataSet& CDSMaterialen;
  TDataSource& DSMaterialen;
  TQuilClientDataSet& CDSCodes;
  TDataSource& DSCodes;
  TSelectGemeenteFrame& FrameGemeente;
  TDBEdit& EdtCrabcode;
  TDBEdit& EdtWebtekst;
  TColorButton& BtnKleur;
  TDBGrid& GridCodes;

 private:
  //! The records of institution 1, with key and change stamp named after the table's prefix.
  static void Open(TQuilClientDataSet& dataset, const std::string& prefix) {
    dataset.IDField = prefix + "_ID";
    dataset.ChangedByField = prefix + "_VERANDERDDOOR";
    dataset.ChangedOnField = prefix + "_VERANDERDOP";
    dataset.GetParams().Add("IS_ID", FieldType::Integer).SetAsInteger(1);
    dataset.AutoOpen = true;
  }
};

//! Registers the test screens once per process.
inline void RegisterWebTestForm() {
  static const bool registered = [] {
    TFormClass formClass;
    formClass.ClassName = "TWebTestForm";
    formClass.Definition.ClassName = "TWebTestForm";
    formClass.Definition.Caption = "Proefscherm";
    formClass.Definition.MainDataSource = "DSMaterialen";
    formClass.Definition.ReportDefs = {{"Overzicht materialen", "VWOMaterialen.arf", true, true}};
    formClass.Factory = [](TQuilApplication& app) { return std::make_unique<TWebTestForm>(app); };
    FormManager().RegisterModuleForm(formClass, "webtest", "Test", "Web|Proefscherm");

    TFormClass controls;
    controls.ClassName = "TWebControlsForm";
    controls.Definition.ClassName = "TWebControlsForm";
    controls.Definition.Caption = "Bedieningen";
    controls.Definition.MainDataSource = "DSLesplaatsen";
    controls.Factory = [](TQuilApplication& app) {
      return std::make_unique<TWebControlsForm>(app);
    };
    FormManager().RegisterModuleForm(controls, "webtest", "Test", "Web|Bedieningen");
    return true;
  }();
  (void)registered;
}

}  // namespace quil::web::testing
