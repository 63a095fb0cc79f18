// TVWOLesplaatsenForm: the places where an institution teaches (VWOLESPLAATS), each tied to an
// official lesson place of the government taxonomy.
//
// The institution comes from the master (IS_ID). Three lists work together: the lesson places
// (CDSVWOLesplaats), the institution's locations (CDSSelectVestiging), which is the list of the
// location editor, and the official lesson places of one Davinci location
// (CDSSelectVWOOffLesplaats), a detail of the location list. The location list is kept on the
// location of the current place, after every scroll and whenever the user picks another one, so
// the official places offered are always those of that location's Davinci location. What a stored
// official place means is read from a fourth list, every official place of the institution
// (CDSVWOOffLesplaatsPerIS, cancelled ones included): a place whose official place was cancelled
// since, or belongs to another Davinci location, still shows it and can be stored again.
//
// A place can only be stored with an official place whose number equals its own; the take-over
// action copies the official address into the place (without posting it). Post code, municipality
// and location name are joined in by the provider; the screen keeps them in step with the keys the
// user picks, so the list shows what was chosen before it is stored.
#pragma once

#include <string>

#include "host/forms/DBControls.h"
#include "host/forms/QuilForm.h"
#include "host/forms/SelectGemeenteFrame.h"

namespace kavel {

class TVWOLesplaatsenForm : public quil::TQuilDBForm {
 public:
  explicit TVWOLesplaatsenForm(quil::TQuilApplication& app);

  void QuilDBFormSetMasterBrowser(quil::TDataSource* master) override;

  quil::TQuilClientDataSet& CDSVWOLesplaats;
  quil::TDataSource& DSVWOLesplaats;
  quil::TQuilClientDataSet& CDSSelectVestiging;
  quil::TDataSource& DSSelectVestiging;
  quil::TQuilClientDataSet& CDSSelectVWOOffLesplaats;
  quil::TDataSource& DSSelectVWOOffLesplaats;
  quil::TQuilClientDataSet& CDSVWOOffLesplaatsPerIS;
  quil::TDataSource& DSVWOOffLesplaatsPerIS;

  quil::TPanel& PnlLijst;
  quil::TDBGrid& GridLesplaatsen;
  quil::TPanel& PnlLesplaats;
  quil::TDBEdit& EdtNummer;
  quil::TDBEdit& EdtCRABCode;
  quil::TDBEdit& EdtOmschrijving;
  quil::TDBEdit& EdtStraat;
  quil::TDBEdit& EdtStraatNr;
  quil::TDBEdit& EdtStraatBus;
  quil::TSelectGemeenteFrame& FrameGemeente;
  quil::TDBLookupCombo& LCVestigingsplaats;
  quil::TDBLookupCombo& LCOffLesplaats;
  quil::TAction& AOvername;
  quil::TButton& BtnOvername;

 private:
  quil::TDBEdit& AddFieldEdit(std::string name, std::string fieldName);

  void CDSVWOLesplaatsAfterOpen();
  void CDSVWOLesplaatsNewRecord();
  void CDSVWOLesplaatsBeforePost();
  void VLP_GEMEENTE_FKChange();
  void VLP_VESTIGINGSPLAATS_FKChange();
  //! Puts the location list on the location of the current place (when it has one).
  void VolgVestiging();
  void AOvernameExecute();
  void AOvernameUpdate();
};

namespace frmVWOLesplaatsen {
void Initialization();
}

}  // namespace kavel
