// A screen for the web host's tests: the materials of institution 1 in a grid with a field editor,
// and actions that ask, show a modal dialog, work long with a progress bar, fail, or are never
// enabled. Registered once with the form manager as "Test|Web|Proefscherm".
#pragma once

#include <chrono>
#include <thread>

#include "host/forms/DBControls.h"
#include "host/forms/FormManager.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/QuilForm.h"

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

//! Registers the test screen once per process.
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
    return true;
  }();
  (void)registered;
}

}  // namespace quil::web::testing
